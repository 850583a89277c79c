#include "CliContext.h"

#include "app/ApplicationContext.h"
#include "definitions/Lookups.h"

#include <QDir>

#include <cstdio>

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

void CliContext::printData(const QString& text)
{
    QString data = text;
    data.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!data.endsWith(QLatin1Char('\n')))
        data += QLatin1Char('\n');
    out_ << data;
    out_.flush();
}

int CliContext::writeBinaryData(const QByteArray& bytes)
{
    if (::isatty(STDOUT_FILENO) == 1)
        return usage(QStringLiteral("the data is binary and standard output is a terminal: give -o FILE or a pipe"));
    out_.flush();
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    std::fflush(stdout);
    return written ? kExitOk : fail(QStringLiteral("vormexctl: standard output: the data could not be written"));
}

QString terminalText(const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace vormex::cli
