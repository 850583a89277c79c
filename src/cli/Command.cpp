#include "Command.h"

#include "commands/Commands.h"

#include <algorithm>

namespace vormex::cli {

QCommandLineOption valueOption(const QStringList& names, const QString& valueName, const QString& help)
{
    return QCommandLineOption(names, help, valueName);
}

QCommandLineOption valueOption(const QString& name, const QString& valueName, const QString& help)
{
    return QCommandLineOption(name, help, valueName);
}

QCommandLineOption flagOption(const QString& name, const QString& help) { return QCommandLineOption(name, help); }

QCommandLineOption deviceOption()
{
    return valueOption(QStringLiteral("device"), QStringLiteral("TEXT"),
                       QStringLiteral("the printer's device text, e.g. LAN:127.0.0.1:9100, LAN:printer-07.example:9100, COM3:9600,8,none,1, LPT1:, "
                                      "USB:/dev/usb/lp0 (default: the stored \"Device Info\")"));
}

namespace {

QString optionColumn(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString column = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        column += QLatin1Char(' ') + option.valueName();
    return column;
}

// Words of `text` in lines of at most `width` characters, every line after the first indented.
QString wrapped(const QString& text, qsizetype width, qsizetype indent)
{
    QString out;
    qsizetype lineLength = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            out += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            lineLength = 0;
        } else if (lineLength > 0) {
            out += QLatin1Char(' ');
            ++lineLength;
        }
        out += word;
        lineLength += word.size();
    }
    return out;
}

constexpr qsizetype kHelpWidth = 79;

}  // namespace

QString CommandHelp(const Command& command)
{
    const QString sentence = command.summary.left(1).toUpper() + command.summary.mid(1) + QLatin1Char('.');
    const QString usage = QStringLiteral("Usage: vormexctl [global options] %1 %2").arg(command.name, command.synopsis);
    QString text = QStringLiteral("%1\n\n%2\n").arg(wrapped(usage, kHelpWidth, 4), sentence);
    if (!command.description.isEmpty())
        text += QLatin1Char('\n') + command.description;
    QList<QCommandLineOption> options = command.options;
    options << QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("show this text"));
    qsizetype width = 0;
    for (const QCommandLineOption& option : options)
        width = std::max(width, optionColumn(option).size());
    text += QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption& option : options) {
        const QString help = wrapped(option.description(), std::max<qsizetype>(kHelpWidth - width - 4, 30), width + 4);
        text += QStringLiteral("  %1  %2\n").arg(optionColumn(option).leftJustified(width), help);
    }
    return text;
}

const QList<Command>& allCommands()
{
    static const QList<Command> commands = foundationCommands() + parameterCommands() + encodeCommands()
                                           + printerCommands() + discoveryCommands() + downloadCommands()
                                           + verifyCommands() + fleetCommands() + configCommands();
    return commands;
}

}  // namespace vormex::cli
