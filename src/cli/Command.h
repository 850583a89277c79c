#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

namespace vormex::cli {

class CliContext;

// One command of vormexctl: its name, what its help shows and the function that runs it. The
// options belong to the command and stand after its name; the global options stand before it.
struct Command {
    QString name;
    QString synopsis;     // the arguments after the name, e.g. "system|initial [--device TEXT] [-o FILE]"
    QString summary;      // one line, for the list of commands
    QString description;  // more text for "vormexctl COMMAND --help"; may be empty
    QList<QCommandLineOption> options;
    int (*run)(CliContext& context, const QCommandLineParser& arguments) = nullptr;
};

// An option that takes a value, with its help line.
QCommandLineOption valueOption(const QStringList& names, const QString& valueName, const QString& help);
QCommandLineOption valueOption(const QString& name, const QString& valueName, const QString& help);
// A switch, with its help line.
QCommandLineOption flagOption(const QString& name, const QString& help);

// The options every printer command shares.
QCommandLineOption deviceOption();

// "vormexctl COMMAND --help": the usage line, the summary and description, one line per option.
QString CommandHelp(const Command& command);

// Every command, in the order the help lists them.
const QList<Command>& allCommands();

}  // namespace vormex::cli
