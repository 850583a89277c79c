#include "CliContext.h"

#include "app/ApplicationContext.h"
#include "definitions/Lookups.h"
#include "files/UserFiles.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace vormex::cli {

CliContext::CliContext(const GlobalOptions& options, const QString& command)
    : options_(options), command_(command), store_(std::make_unique<SettingsStore>()), out_(stdout), err_(stderr)
{
    StartupOptions startup;
    startup.definitionFile = options.definitionFile;
    startup.printerName = options.printerName;
    if (!options.language.isEmpty())
        startup.language = options.language.toUpper();
    StartApplication(app_, *store_, startup);
}

int CliContext::fail(const QString& message)
{
    err_ << terminalText(message) << Qt::endl;
    return kExitFailure;
}

int CliContext::fail(const QString& context, const QString& message)
{
    if (!context.isEmpty())
        err_ << terminalText(context) << Qt::endl;
    return fail(message);
}

int CliContext::usage(const QString& message)
{
    const QString text = message.startsWith(QLatin1String("vormexctl: ")) ? message.mid(11) : message;
    err_ << "vormexctl: " << terminalText(text) << Qt::endl << "Try 'vormexctl " << command_ << " --help'." << Qt::endl;
    return kExitUsage;
}

LinkSettings CliContext::link(const QCommandLineParser& parser)
{
    const QString device = QStringLiteral("device");
    return LinkForDevice(app_, *store_, parser.isSet(device) ? std::optional(parser.value(device)) : std::nullopt);
}

QString CliContext::definitionsProblem() const
{
    QString where = QDir::toNativeSeparators(app_.definitionFilePath);
    if (!app_.definitionsLoaded) {
        if (app_.definitionError.line > 0)
            where += QStringLiteral(":%1").arg(app_.definitionError.line);
        const QString why = app_.definitionError.message.isEmpty() ? QStringLiteral("cannot be read") : app_.definitionError.message;
        return QStringLiteral("vormexctl: %1: %2").arg(where, why);
    }
    for (const PrinterDefinition& entry : app_.printerDefinitions) {
        if (IsPrinterModel(entry))
            return {};
    }
    return QStringLiteral("vormexctl: %1: holds no printer entries").arg(where);
}

QString CliContext::printerOptionProblem() const
{
    if (options_.printerName.isEmpty() || !app_.definitionsLoaded || FindPrinterModel(app_.printerDefinitions, options_.printerName))
        return {};
    return QStringLiteral("--printer: no printer named \"%1\" in %2 (see 'vormexctl printers')")
        .arg(options_.printerName, QDir::toNativeSeparators(app_.definitionFilePath));
}

const PrinterDefinition* CliContext::requireSelectedPrinter()
{
    if (const QString problem = definitionsProblem(); !problem.isEmpty()) {
        fail(problem);
        return nullptr;
    }
    const PrinterDefinition* printer = app_.selectedPrinter();
    if (!printer)
        fail(QStringLiteral("vormexctl: no printer named \"%1\" in %2").arg(app_.selectedPrinterName, app_.definitionFilePath));
    return printer;
}

int CliContext::printData(const QString& text)
{
    QString data = text;
    data.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!data.endsWith(QLatin1Char('\n')))
        data += QLatin1Char('\n');
    return writeStandardOutput(data.toUtf8());
}

int CliContext::writeBinaryData(const QByteArray& bytes)
{
    if (::isatty(STDOUT_FILENO) == 1)
        return usage(QStringLiteral("the data is binary and standard output is a terminal: give -o FILE or a pipe"));
    return writeStandardOutput(bytes);
}

int CliContext::writeFile(const QString& path, const QByteArray& bytes)
{
    if (isStandardOutput(path))
        return writeStandardOutput(bytes);
    if (const std::optional<QString> error = SaveFileAtomically(path, bytes))
        return fail(QStringLiteral("vormexctl: %1: %2").arg(path, *error));
    return kExitOk;
}

int CliContext::finish(int status)
{
    out_.flush();
    errno = 0;
    const bool lost = std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || out_.status() != QTextStream::Ok;
    if (lost && status == kExitOk) {
        const QString reason = errno != 0          ? QString::fromLocal8Bit(std::strerror(errno))
                               : out_.device() ? out_.device()->errorString()
                                               : QStringLiteral("the data could not be written");
        status = fail(QStringLiteral("vormexctl: standard output: %1").arg(reason));
    }
    err_.flush();
    return status;
}

int CliContext::writeStandardOutput(const QByteArray& bytes)
{
    out_.flush();
    if (const std::optional<QString> error = WriteStandardOutput(bytes))
        return fail(QStringLiteral("vormexctl: standard output: %1").arg(*error));
    return kExitOk;
}

QString terminalText(const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace vormex::cli
