// vormexctl: every printer and file operation of the settings tool, for scripts.
#include "CliContext.h"
#include "Command.h"

#include "app/Version.h"
#include "comm/DeviceText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextStream>

using namespace vormex;
using namespace vormex::cli;

namespace {

const QCommandLineOption kDefinitions(QStringLiteral("definitions"), QStringLiteral("read this definition file instead of the usual one"), QStringLiteral("FILE"));
const QCommandLineOption kPrinter(QStringLiteral("printer"), QStringLiteral("work with this printer entry (default: the stored one)"), QStringLiteral("NAME"));
const QCommandLineOption kLanguage(QStringLiteral("language"), QStringLiteral("language of messages for this run (default: the stored one)"), QStringLiteral("jpn|eng"));
const QCommandLineOption kHelp(QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("show this text"));
const QCommandLineOption kVersion(QStringList{QStringLiteral("version")}, QStringLiteral("show the version"));

void printHelp(QTextStream& out)
{
    out << "Usage: vormexctl [global options] COMMAND [arguments]\n\n"
           "Global options (before the command):\n";
    for (const QCommandLineOption* option : {&kDefinitions, &kPrinter, &kLanguage, &kHelp, &kVersion}) {
        const QString names = (option->names().size() > 1 ? QStringLiteral("-%1, --%2").arg(option->names()[0], option->names()[1])
                                                           : QStringLiteral("--%1").arg(option->names()[0]))
                              + (option->valueName().isEmpty() ? QString() : QLatin1Char(' ') + option->valueName());
        out << "  " << names.leftJustified(20) << " " << option->description() << "\n";
    }
    out << "\nCommands:\n";
    for (const Command& command : allCommands())
        out << "  " << command.name << " " << command.synopsis << "\n      " << command.summary << "\n";
    out << "\nRun 'vormexctl COMMAND --help' for a command's options.\n"
           "Exit status: 0 success, 1 failure, 2 usage error. Messages go to stderr.\n";
    out.flush();
}

int usageError(const QString& message, const QString& helpCommand = QStringLiteral("vormexctl --help"))
{
    QTextStream err(stderr);
    err << "vormexctl: " << message << "\nTry '" << helpCommand << "'.\n";
    return kExitUsage;
}

// No option is named by digits: "-1" after the other words ("config set wait-time -1") is a
// value, so it goes after "--", where the parser takes it as the positional word it is and the
// command's own range check judges it. An option's value ("--start-block -1") stays where it is.
QStringList negativeNumbersAsValues(const Command& command, const QStringList& arguments)
{
    static const QRegularExpression negative(QStringLiteral("^-[0-9]"));
    const auto takesValue = [&command](const QString& word) {
        for (const QCommandLineOption& option : command.options)
            for (const QString& name : option.names())
                if (!option.valueName().isEmpty() && (word == QLatin1String("--") + name || word == QLatin1String("-") + name))
                    return true;
        return false;
    };
    qsizetype first = arguments.size();  // the first negative number that is no option's value
    for (qsizetype i = 0; i < arguments.size() && first == arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            return arguments;
        if (negative.match(arguments[i]).hasMatch() && !(i > 0 && takesValue(arguments[i - 1])))
            first = i;
    }
    if (first == arguments.size())
        return arguments;
    for (qsizetype i = first; i < arguments.size(); ++i)
        if (!negative.match(arguments[i]).hasMatch() && arguments[i].startsWith(QLatin1Char('-')))
            return arguments;  // options follow: leave the words as typed
    return arguments.mid(0, first) + QStringList{QStringLiteral("--")} + arguments.mid(first);
}

// Parses the command's own options; gives an exit status when the command must not run.
std::optional<int> parseCommand(const Command& command, const QStringList& arguments, QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(command.options);
    parser.addOption(kHelp);
    const QString helpCommand = QStringLiteral("vormexctl %1 --help").arg(command.name);
    if (!parser.parse(QStringList{QStringLiteral("vormexctl ") + command.name} + negativeNumbersAsValues(command, arguments)))
        return usageError(parser.errorText(), helpCommand);
    if (parser.isSet(kHelp)) {
        QTextStream(stdout) << CommandHelp(command);
        return kExitOk;
    }
    // A device text typed on the command line is checked strictly before anything opens.
    const QString device = QStringLiteral("device");
    if (parser.optionNames().contains(device)) {
        if (const std::optional<QString> problem = CheckDeviceText(parser.value(device)))
            return usageError(QStringLiteral("--device %1: %2\n%3").arg(parser.value(device), *problem, DeviceTextGrammar()), helpCommand);
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vormexctl"));

    // Global options stand before the command; everything after the command belongs to it.
    QCommandLineParser global;
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    global.addOptions({kDefinitions, kPrinter, kLanguage, kHelp, kVersion});
    if (!global.parse(QCoreApplication::arguments()))
        return usageError(global.errorText());
    if (global.isSet(kVersion)) {
        QTextStream(stdout) << "vormexctl " << ProgramVersion() << "\n";
        return kExitOk;
    }
    GlobalOptions options;
    options.definitionFile = global.value(kDefinitions);
    options.printerName = global.value(kPrinter);
    options.language = global.value(kLanguage);
    if (global.isSet(kLanguage) && options.language.toLower() != QLatin1String("jpn")
        && options.language.toLower() != QLatin1String("eng"))
        return usageError(QStringLiteral("--language takes jpn or eng"));

    const QStringList words = global.positionalArguments();
    if (global.isSet(kHelp) || words.isEmpty()) {
        QTextStream out(global.isSet(kHelp) ? stdout : stderr);
        printHelp(out);
        return global.isSet(kHelp) ? kExitOk : kExitUsage;
    }
    for (const Command& command : allCommands()) {
        if (words.first() != command.name)
            continue;
        QCommandLineParser parser;
        if (const std::optional<int> status = parseCommand(command, words.mid(1), parser))
            return *status;
        CliContext context(options, command.name);
        if (const QString problem = context.printerOptionProblem(); !problem.isEmpty())
            return usageError(problem);
        return context.finish(command.run(context, parser));
    }
    return usageError(QStringLiteral("unknown command %1").arg(words.first()));
}
