#pragma once

#include "app/Application.h"
#include "base/SettingsStore.h"
#include "comm/LinkSettings.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <optional>

namespace vormex::cli {

// Exit statuses of vormexctl.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Options that stand before the command.
struct GlobalOptions {
    QString definitionFile;
    QString printerName;
    QString language;  // "jpn" or "eng" as given; empty when not given
};

// Everything a command needs: the settings store, the application object after start-up, and
// the two output streams (data on stdout, messages on stderr).
class CliContext {
public:
    // `command`: the command being run, named in usage messages.
    CliContext(const GlobalOptions& options, const QString& command);

    Application& app() { return app_; }
    SettingsStore& store() { return *store_; }
    const GlobalOptions& options() const { return options_; }

    QTextStream& out() { return out_; }
    QTextStream& err() { return err_; }

    // Prints a message on stderr (its CR LF line breaks as line breaks) and gives kExitFailure.
    int fail(const QString& message);
    // The same with the lines that say where the failure is (the file, the item, the device)
    // before the message, which stays the last line; an empty context adds nothing.
    int fail(const QString& context, const QString& message);
    // Prints a usage message on stderr, pointing to the command's help, and gives kExitUsage.
    int usage(const QString& message);

    // The connection of this run: the command's --device, else the stored "Device Info"; for USB
    // the text after "USB:" is the device path.
    LinkSettings link(const QCommandLineParser& parser);

    // The selected printer entry, or a message and nullptr when there is none (the definition
    // file cannot be read, holds no printer entries, or lacks the chosen one).
    const PrinterDefinition* requireSelectedPrinter();
    // Why the definition file cannot serve: it could not be read, or it holds no printer entry
    // (besides "standard"). Empty when it serves.
    QString definitionsProblem() const;
    // Why --printer names no printer model of the definition file (empty when it does, when it
    // is not given, or when the definitions cannot be read: the command says so then).
    QString printerOptionProblem() const;

    // Data for standard output ("-o -", or no -o where the data goes there by default): text
    // with LF line ends, ending with a newline, in UTF-8. Gives kExitOk, or kExitFailure with a
    // message when standard output does not take it.
    int printData(const QString& text);
    // Binary data for standard output; refused (a usage error, gives kExitUsage) when standard
    // output is a terminal.
    int writeBinaryData(const QByteArray& bytes);
    // The end of a command: what went to standard output through out() must have arrived there;
    // a success becomes a failure (with a message) when it did not. Gives the exit status.
    int finish(int status);
    // Writes `bytes` into FILE, or to standard output for "-": kExitOk, or kExitFailure with
    // the file and the system's reason; a file that was there stays as it was on failure.
    int writeFile(const QString& path, const QByteArray& bytes);

private:
    int writeStandardOutput(const QByteArray& bytes);

    GlobalOptions options_;
    QString command_;
    std::unique_ptr<SettingsStore> store_;
    Application app_;
    QTextStream out_;
    QTextStream err_;
};

// A message with CR LF line breaks as the terminal wants them.
QString terminalText(const QString& message);

// "-o -": the data goes to standard output.
inline bool isStandardOutput(const QString& path) { return path == QLatin1String("-"); }

}  // namespace vormex::cli
