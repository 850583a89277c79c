#include "CliContext.h"

#include "app/ApplicationContext.h"

#include <cstdio>

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

int CliContext::usage(const QString& message)
{
    err_ << "vormexctl: " << message << Qt::endl << "Try 'vormexctl " << command_ << " --help'." << Qt::endl;
    return kExitUsage;
}

LinkSettings CliContext::link(const QCommandLineParser& parser)
{
    const QString device = QStringLiteral("device");
    return LinkForDevice(app_, *store_, parser.isSet(device) ? std::optional(parser.value(device)) : std::nullopt);
}

const PrinterDefinition* CliContext::requireSelectedPrinter()
{
    const PrinterDefinition* printer = app_.selectedPrinter();
    if (!printer)
        fail(QStringLiteral("vormexctl: no printer named \"%1\" in %2").arg(app_.selectedPrinterName, app_.definitionFilePath));
    return printer;
}

QString terminalText(const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace vormex::cli
