// apply and backup: many printers at once, from a manifest.
#include "CliContext.h"
#include "commands/Commands.h"
#include "commands/DownloadConsole.h"
#include "commands/FleetConsole.h"

#include "files/UserFiles.h"
#include "fleet/FleetManifest.h"
#include "fleet/FleetMetrics.h"
#include "fleet/FleetOutcome.h"
#include "fleet/FleetReport.h"
#include "fleet/FleetRun.h"
#include "fleet/FleetSetup.h"
#include "pages/DownloadOptions.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>

namespace vormex::cli {
namespace {

constexpr int kMaxJobs = 64;
constexpr int kExitBySignal = 128;
constexpr int kExitDrift = 3;  // a plan: every printer was read, and one holds something else

const QCommandLineOption kJobs(QStringLiteral("jobs"), QStringLiteral("at most N printers at a time (1 to 64; default: every target, at most 64)"),
                               QStringLiteral("N"));
const QCommandLineOption kReport(QStringLiteral("report"),
                                 QStringLiteral("write the JSON report of every target into FILE (- for standard output)"),
                                 QStringLiteral("FILE"));
const QCommandLineOption kPlan(QStringLiteral("plan"),
                               QStringLiteral("send nothing: read each printer's parameter files back and show what the job would change"));
const QCommandLineOption kIfDifferent(QStringLiteral("if-different"),
                                     QStringLiteral("read each printer's parameter files first and send only those that differ; a printer that holds them all is left untouched"));
const QCommandLineOption kMetrics(QStringLiteral("metrics"),
                                  QStringLiteral("write the run's metrics into FILE in Prometheus text format, replaced atomically (for a node exporter's textfile collector)"),
                                  QStringLiteral("FILE"));
const QCommandLineOption kOutput(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                 QStringLiteral("the folder that gets one folder per target"), QStringLiteral("DIR"));

// The targets run at once: --jobs, or every target up to the limit (0 until the targets are
// known); nothing after a usage message when the value is not usable.
std::optional<int> jobsOption(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.isSet(kJobs))
        return 0;
    QString problem;
    const std::optional<int> jobs = ReadOptionNumber(parser.value(kJobs), 1, kMaxJobs, context.app().strings, problem);
    if (!jobs)
        context.usage(QStringLiteral("--jobs: %1").arg(problem));
    return jobs;
}

int jobsFor(int jobs, qsizetype targets)
{
    return jobs > 0 ? jobs : static_cast<int>(std::clamp<qsizetype>(targets, 1, kMaxJobs));
}

QStringList namesOf(const std::vector<PreparedTarget>& targets)
{
    QStringList names;
    for (const PreparedTarget& target : targets)
        names << target.target.name;
    return names;
}

// The plan's findings as data on stdout: per target and file "same", or one line per difference.
void printPlan(CliContext& context, const std::vector<TargetReport>& reports)
{
    for (const TargetReport& report : reports) {
        for (const auto& [word, status] : {std::pair{QStringLiteral("system"), report.system}, std::pair{QStringLiteral("initial"), report.initial}}) {
            if (status != QLatin1String("different"))
                context.out() << report.name << ": " << word << ": " << status << '\n';
            for (const ParameterDifference& difference : report.differences)
                if (ParameterFileWord(difference.file) == word)
                    context.out() << report.name << ": " << word << ": " << DifferenceLine(difference) << '\n';
        }
    }
    context.out().flush();
}

// The exit status of a run that no signal ended.
int exitStatusOf(RunVerdict verdict)
{
    switch (verdict) {
    case RunVerdict::Ok: return kExitOk;
    case RunVerdict::Drift: return kExitDrift;
    case RunVerdict::Failed: break;
    }
    return kExitFailure;
}

// Writes the report and the metrics that were asked for; a file that cannot be written makes a
// failure of a success or a drift (a signal's status stays).
int writeRunFiles(CliContext& context, const QCommandLineParser& parser, const QString& manifest, FleetAction action,
                  const FleetRun& run, const std::vector<TargetReport>& reports, int status)
{
    const auto write = [&](const QCommandLineOption& option, const QByteArray& bytes) {
        if (parser.isSet(option) && context.writeFile(parser.value(option), bytes) != kExitOk
            && (status == kExitOk || status == kExitDrift))
            status = kExitFailure;
    };
    write(kReport, FleetReportJson(action, reports, run.seconds()));
    if (parser.isSet(kMetrics)) {
        FleetMetricsRun metrics;
        metrics.action = action;
        metrics.manifest = QFileInfo(manifest).fileName();
        metrics.reports = reports;
        metrics.seconds = run.seconds();
        metrics.finished = QDateTime::currentDateTimeUtc();
        write(kMetrics, FleetMetricsText(metrics));
    }
    return status;
}

// Runs the fleet to its end, writes the report and the metrics, and gives the exit status.
int runFleet(CliContext& context, const QCommandLineParser& parser, FleetSetup setup, FleetRunOptions options,
             const QString& manifest)
{
    for (const QString& notice : setup.notices)
        context.err() << terminalText(notice) << Qt::endl;
    context.err().flush();
    FleetConsole console(namesOf(setup.targets), options.action);
    const FleetAction action = options.action;
    const std::unique_ptr<FleetRun> run = FleetRun::Start(std::move(setup.targets), std::move(options), console.observer());
    const int cancelSignal = console.follow(*run);
    const std::vector<TargetReport> reports = run->reports();
    if (action == FleetAction::Plan)
        printPlan(context, reports);
    // 130 after SIGINT, 143 after SIGTERM, as a shell reports a program that a signal ended.
    const int status = cancelSignal != 0 ? kExitBySignal + cancelSignal : exitStatusOf(JudgeRun(action, reports));
    return writeRunFiles(context, parser, manifest, action, *run, reports, status);
}

// A file the run writes must be possible before any printer is reached: its folder exists and
// is writable.
bool destinationUsable(CliContext& context, const QCommandLineParser& parser, const QCommandLineOption& option)
{
    const QString path = parser.value(option);
    const QString name = QStringLiteral("--") + option.names().constLast();
    if (!parser.isSet(option) || isStandardOutput(path))
        return true;
    if (path.isEmpty()) {
        context.usage(QStringLiteral("%1 needs a FILE").arg(name));
        return false;
    }
    if (const std::optional<QString> problem = CheckFileDestination(path)) {
        context.usage(QStringLiteral("%1 %2: %3").arg(name, path, *problem));
        return false;
    }
    return true;
}

bool destinationsUsable(CliContext& context, const QCommandLineParser& parser)
{
    return destinationUsable(context, parser, kReport) && destinationUsable(context, parser, kMetrics);
}

int manifestError(CliContext& context, const QString& error)
{
    context.err() << "vormexctl: " << terminalText(error) << Qt::endl;
    return kExitUsage;
}

int runApply(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return context.usage(QStringLiteral("apply takes one manifest"));
    const std::optional<int> jobs = jobsOption(context, parser);
    if (!jobs || !destinationsUsable(context, parser))
        return kExitUsage;
    FleetManifest manifest;
    QString error;
    if (!ReadFleetManifest(positional[0], JobFiles::MustExist, manifest, error))
        return manifestError(context, error);
    FleetRunOptions options;
    options.action = parser.isSet(kPlan) ? FleetAction::Plan : FleetAction::Apply;
    options.ifDifferent = parser.isSet(kIfDifferent);
    FleetSetup setup = SetUpFleet(manifest, options.action, context.app(), context.store());
    if (!setup.ok())
        return manifestError(context, setup.error);
    options.jobs = jobsFor(*jobs, manifest.targets.size());
    return runFleet(context, parser, std::move(setup), std::move(options), positional[0]);
}

int runBackup(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return context.usage(QStringLiteral("backup takes one manifest or targets CSV"));
    if (parser.value(kOutput).isEmpty())
        return context.usage(QStringLiteral("backup needs -o DIR"));
    const std::optional<int> jobs = jobsOption(context, parser);
    if (!jobs || !destinationsUsable(context, parser))
        return kExitUsage;
    FleetManifest manifest;
    QString error;
    const bool csv = positional[0].endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    if (!(csv ? ReadTargetsManifest(positional[0], manifest, error) : ReadFleetManifest(positional[0], JobFiles::Ignored, manifest, error)))
        return manifestError(context, error);
    FleetSetup setup = SetUpFleet(manifest, FleetAction::Backup, context.app(), context.store());
    if (!setup.ok())
        return manifestError(context, setup.error);
    FleetRunOptions options;
    options.action = FleetAction::Backup;
    options.jobs = jobsFor(*jobs, manifest.targets.size());
    options.backupFolder = parser.value(kOutput);
    return runFleet(context, parser, std::move(setup), std::move(options), positional[0]);
}

}  // namespace

QList<Command> fleetCommands()
{
    return {
        {QStringLiteral("apply"), QStringLiteral("MANIFEST [--jobs N] [--report FILE] [--metrics FILE] [--plan] [--if-different]"),
         QStringLiteral("set up every printer of a manifest at once"),
         QStringLiteral("MANIFEST is JSON (- reads it from standard input, its file names then from the current folder):\n"
                        "\"printer\" (the default model), \"job\" (the long options of download as keys), \"verify\", \"targets\"\n"
                        "([{\"name\", \"device\", \"printer\"}]) and \"targets-file\" (CSV: name,device[,printer]).\n"
                        "Everything is checked and every file prepared once per model before any printer is reached. The\n"
                        "targets run at once, each on its own connection; after a job the parameter files sent are read\n"
                        "back and compared (\"verify\", on by default when the job sends one). With --if-different a\n"
                        "parameter file the printer holds already is not sent, and a printer left with nothing to send is\n"
                        "\"unchanged\"; BASIC programs, firmware, the memory allocation and test files are always sent.\n"
                        "Exit status 0 when every target is ok, 1 otherwise, 2 for a usage or manifest error, 130 after\n"
                        "Ctrl-C, 143 after SIGTERM (both cancel every target and still write the report and the metrics).\n"
                        "With --plan: 0 when every printer holds what the job would send, 3 when one differs (drift), 1\n"
                        "when one could not be read.\n"),
         {kJobs, kReport, kMetrics, kPlan, kIfDifferent}, runApply},
        {QStringLiteral("backup"), QStringLiteral("MANIFEST|TARGETS.csv -o DIR [--jobs N] [--report FILE] [--metrics FILE]"),
         QStringLiteral("read every printer's parameter files back into DIR"),
         QStringLiteral("Each target's system parameters and initial values and tables are saved as DIR/NAME/QUILLPRM.TXT\n"
                        "and DIR/NAME/ZDEFAULT.TXT, text files that apply and the pages take. A printer that holds no\n"
                        "file is reported and does not stop the others. Ctrl-C (exit status 130) and SIGTERM (143) cancel\n"
                        "every target and still write the report and the metrics.\n"),
         {kOutput, kJobs, kReport, kMetrics}, runBackup},
    };
}

}  // namespace vormex::cli
