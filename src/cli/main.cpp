// vormexctl: every printer and file operation of the settings tool, for scripts.
#include "CliContext.h"
#include "commands/Commands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace vormex::cli;

namespace {

void printHelp(QTextStream& out)
{
    out << "Usage: vormexctl [global options] COMMAND [arguments]\n\n"
           "Global options (before the command):\n"
           "  --definitions FILE   read this definition file instead of the usual one\n"
           "  --printer NAME       work with this printer entry (default: the stored one)\n"
           "  --language jpn|eng   language of messages for this run (default: the stored one)\n"
           "  --help               show this text\n\n"
           "Commands:\n";
    for (const CommandInfo& command : allCommands()) {
        const QString head = QStringLiteral("  %1 %2").arg(QString::fromLatin1(command.name), QString::fromLatin1(command.synopsis));
        out << head << "\n      " << command.summary << "\n";
    }
    out << "\nExit status: 0 success, 1 failure, 2 usage error. Messages go to stderr.\n";
    out.flush();
}

struct ParsedCommandLine {
    GlobalOptions options;
    QString command;
    QStringList arguments;
    bool help = false;
};

// Global options stand before the command; everything after the command belongs to it.
std::optional<ParsedCommandLine> parseCommandLine(const QStringList& words, QString* error)
{
    ParsedCommandLine parsed;
    qsizetype i = 1;
    for (; i < words.size(); ++i) {
        const QString& word = words[i];
        auto takeValue = [&](QString& into) {
            if (i + 1 >= words.size()) {
                *error = QStringLiteral("option %1 needs a value").arg(word);
                return false;
            }
            into = words[++i];
            return true;
        };
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            parsed.help = true;
        } else if (word == QLatin1String("--definitions")) {
            if (!takeValue(parsed.options.definitionFile))
                return std::nullopt;
        } else if (word == QLatin1String("--printer")) {
            if (!takeValue(parsed.options.printerName))
                return std::nullopt;
        } else if (word == QLatin1String("--language")) {
            if (!takeValue(parsed.options.language))
                return std::nullopt;
            const QString lang = parsed.options.language.toLower();
            if (lang != QLatin1String("jpn") && lang != QLatin1String("eng")) {
                *error = QStringLiteral("--language takes jpn or eng");
                return std::nullopt;
            }
        } else if (word.startsWith(QLatin1Char('-'))) {
            *error = QStringLiteral("unknown global option %1").arg(word);
            return std::nullopt;
        } else {
            break;
        }
    }
    if (i < words.size()) {
        parsed.command = words[i];
        parsed.arguments = words.mid(i + 1);
    }
    return parsed;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vormexctl"));
    QTextStream err(stderr);
    QTextStream out(stdout);

    QString error;
    const auto parsed = parseCommandLine(QCoreApplication::arguments(), &error);
    if (!parsed) {
        err << "vormexctl: " << error << "\nTry 'vormexctl --help'.\n";
        return kExitUsage;
    }
    if (parsed->help || parsed->command.isEmpty()) {
        printHelp(parsed->help ? out : err);
        return parsed->help ? kExitOk : kExitUsage;
    }
    for (const CommandInfo& command : allCommands()) {
        if (parsed->command == QLatin1String(command.name)) {
            CliContext context(parsed->options);
            const int status = command.run(context, parsed->arguments);
            context.out().flush();
            context.err().flush();
            return status;
        }
    }
    err << "vormexctl: unknown command " << parsed->command << "\nTry 'vormexctl --help'.\n";
    return kExitUsage;
}
