#include "fleet/FleetSetup.h"

#include "app/Application.h"
#include "app/ApplicationContext.h"
#include "definitions/Lookups.h"
#include "download/ParameterVerify.h"
#include "pages/DownloadEnabling.h"
#include "pages/DownloadOptions.h"

#include <QMap>

namespace vormex {
namespace {

constexpr int kFirmwareNotice = 8046;

QString noSuchPrinter(const Application& app, const QString& name)
{
    return QStringLiteral("no printer named \"%1\" in %2 (see 'vormexctl printers')").arg(name, app.definitionFilePath);
}

QString jobProblemText(const FleetManifest& manifest, const DownloadOptionProblem& problem, const PrinterDefinition& printer)
{
    const QString where = problem.option.isEmpty() ? QStringLiteral("job") : QStringLiteral("job.") + problem.option;
    // A check's message does not name the file: the file, and where in it the check failed, go before it.
    QString message = problem.message;
    if (problem.kind == DownloadOptionProblem::File && !problem.path.isEmpty() && !message.startsWith(problem.path + QLatin1Char(':'))) {
        const QString place = problem.detail.startsWith(problem.path) ? problem.detail
                              : problem.detail.isEmpty()             ? problem.path
                                                                     : problem.path + QStringLiteral(": ") + problem.detail;
        message = place + QStringLiteral(": ") + message;
    }
    return QStringLiteral("%1: %2: %3 (printer \"%4\")").arg(manifest.path, where, message, printer.name);
}

bool sendsParameterFile(const DownloadJob& job)
{
    return SentParameterText(job, ParameterFileKind::SystemParameters) || SentParameterText(job, ParameterFileKind::InitialTable);
}

}  // namespace

FleetSetup SetUpFleet(const FleetManifest& manifest, FleetAction action, Application& app, const SettingsStore& store)
{
    FleetSetup setup;
    if (!app.definitionsLoaded) {
        setup.error = QStringLiteral("%1: %2").arg(app.definitionFilePath, app.definitionError.message);
        return setup;
    }
    const PrinterDefinition* fallback = app.selectedPrinter();
    if (!manifest.printer.isEmpty()) {
        fallback = FindPrinterModel(app.printerDefinitions, manifest.printer);
        if (!fallback) {
            setup.error = QStringLiteral("%1: printer: %2").arg(manifest.path, noSuchPrinter(app, manifest.printer));
            return setup;
        }
    }
    QMap<QString, std::shared_ptr<const DownloadJob>> jobs;  // by model
    for (const FleetTarget& target : manifest.targets) {
        const PrinterDefinition* printer = target.printer.isEmpty() ? fallback : FindPrinterModel(app.printerDefinitions, target.printer);
        if (!printer) {
            setup.error = target.printer.isEmpty()
                              ? QStringLiteral("%1: no printer model: give \"printer\" in the manifest or the target").arg(target.origin)
                              : QStringLiteral("%1: %2").arg(target.keyPath(QStringLiteral("printer")), noSuchPrinter(app, target.printer));
            return setup;
        }
        PreparedTarget prepared;
        prepared.target = target;
        prepared.target.printer = printer->name;
        prepared.printer = printer;
        prepared.link = LinkForPrinter(app, store, *printer, target.device);
        if (action != FleetAction::Backup) {
            if (!jobs.contains(printer->name)) {
                auto job = std::make_shared<DownloadJob>();
                job->controlCodes = app.controlCodes;
                PrepareContext context = PrepareContextFor(app, &store);
                context.printer = printer;
                if (const auto problem = FillDownloadJob(manifest.job, *printer, context, *job)) {
                    setup.error = jobProblemText(manifest, *problem, *printer);
                    return setup;
                }
                if (job->mode == DownloadJob::FirmwareMode && NeedsFirmwareNotice(printer->name))
                    setup.notices << app.strings.text(kFirmwareNotice);
                jobs.insert(printer->name, std::move(job));
            }
            prepared.job = jobs.value(printer->name);
            prepared.verify = manifest.verify.value_or(sendsParameterFile(*prepared.job));
        }
        setup.targets.push_back(std::move(prepared));
    }
    setup.notices.removeDuplicates();
    return setup;
}

}  // namespace vormex
