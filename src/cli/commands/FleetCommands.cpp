// apply and backup: many printers at once, from a manifest.
#include "CliContext.h"
#include "commands/Commands.h"
#include "commands/DownloadConsole.h"
#include "commands/FleetConsole.h"

#include "files/UserFiles.h"
#include "fleet/FleetManifest.h"
#include "fleet/FleetReport.h"
#include "fleet/FleetRun.h"
#include "fleet/FleetSetup.h"
#include "pages/DownloadOptions.h"

#include <algorithm>

namespace vormex::cli {
namespace {

constexpr int kMaxJobs = 64;
constexpr int kExitBySignal = 128;

const QCommandLineOption kJobs(QStringLiteral("jobs"), QStringLiteral("at most N printers at a time (1 to 64; default: every target, at most 64)"),
                               QStringLiteral("N"));
const QCommandLineOption kReport(QStringLiteral("report"),
                                 QStringLiteral("write the JSON report of every target into FILE (- for standard output)"),
                                 QStringLiteral("FILE"));
const QCommandLineOption kPlan(QStringLiteral("plan"),
                               QStringLiteral("send nothing: read each printer's parameter files back and show what the job would change"));
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

// Runs the fleet to its end, writes the report, and gives the exit status.
int runFleet(CliContext& context, const QCommandLineParser& parser, FleetSetup setup, FleetAction action, int jobs,
             const QString& backupFolder = {})
{
    for (const QString& notice : setup.notices)
        context.err() << terminalText(notice) << Qt::endl;
    context.err().flush();
    FleetConsole console(namesOf(setup.targets));
    FleetRunOptions options;
    options.action = action;
    options.jobs = jobs;
    options.backupFolder = backupFolder;
    const std::unique_ptr<FleetRun> run = FleetRun::Start(std::move(setup.targets), options, console.observer());
    const int cancelSignal = console.follow(*run);
    const bool interrupted = cancelSignal != 0;
    const std::vector<TargetReport> reports = run->reports();
    if (action == FleetAction::Plan)
        printPlan(context, reports);

    // 130 after SIGINT, 143 after SIGTERM, as a shell reports a program that a signal ended.
    int status = interrupted ? kExitBySignal + cancelSignal : kExitOk;
    if (!interrupted && std::any_of(reports.begin(), reports.end(), [](const TargetReport& r) { return r.result != TargetResult::Ok; }))
        status = kExitFailure;
    if (parser.isSet(kReport) && context.writeFile(parser.value(kReport), FleetReportJson(reports, run->seconds())) != kExitOk
        && status == kExitOk)
        status = kExitFailure;
    return status;
}

// The report must be possible before any printer is reached: its folder exists and is writable.
bool reportDestinationUsable(CliContext& context, const QCommandLineParser& parser)
{
    const QString path = parser.value(kReport);
    if (!parser.isSet(kReport) || isStandardOutput(path))
        return true;
    if (path.isEmpty()) {
        context.usage(QStringLiteral("--report needs a FILE"));
        return false;
    }
    if (const std::optional<QString> problem = CheckFileDestination(path)) {
        context.usage(QStringLiteral("--report %1: %2").arg(path, *problem));
        return false;
    }
    return true;
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
    if (!jobs || !reportDestinationUsable(context, parser))
        return kExitUsage;
    FleetManifest manifest;
    QString error;
    if (!ReadFleetManifest(positional[0], JobFiles::MustExist, manifest, error))
        return manifestError(context, error);
    const FleetAction action = parser.isSet(kPlan) ? FleetAction::Plan : FleetAction::Apply;
    FleetSetup setup = SetUpFleet(manifest, action, context.app(), context.store());
    if (!setup.ok())
        return manifestError(context, setup.error);
    return runFleet(context, parser, std::move(setup), action, jobsFor(*jobs, manifest.targets.size()));
}

int runBackup(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return context.usage(QStringLiteral("backup takes one manifest or targets CSV"));
    if (parser.value(kOutput).isEmpty())
        return context.usage(QStringLiteral("backup needs -o DIR"));
    const std::optional<int> jobs = jobsOption(context, parser);
    if (!jobs || !reportDestinationUsable(context, parser))
        return kExitUsage;
    FleetManifest manifest;
    QString error;
    const bool csv = positional[0].endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    if (!(csv ? ReadTargetsManifest(positional[0], manifest, error) : ReadFleetManifest(positional[0], JobFiles::Ignored, manifest, error)))
        return manifestError(context, error);
    FleetSetup setup = SetUpFleet(manifest, FleetAction::Backup, context.app(), context.store());
    if (!setup.ok())
        return manifestError(context, setup.error);
    return runFleet(context, parser, std::move(setup), FleetAction::Backup, jobsFor(*jobs, manifest.targets.size()),
                    parser.value(kOutput));
}

}  // namespace

QList<Command> fleetCommands()
{
    return {
        {QStringLiteral("apply"), QStringLiteral("MANIFEST [--jobs N] [--report FILE] [--plan]"),
         QStringLiteral("set up every printer of a manifest at once"),
         QStringLiteral("MANIFEST is JSON: \"printer\" (the default model), \"job\" (the long options of download as keys),\n"
                        "\"verify\", \"targets\" ([{\"name\", \"device\", \"printer\"}]) and \"targets-file\" (CSV: name,device[,printer]).\n"
                        "Everything is checked and every file prepared once per model before any printer is reached. The\n"
                        "targets run at once, each on its own connection; after a job the parameter files sent are read\n"
                        "back and compared (\"verify\", on by default when the job sends one). Exit status 0 when every\n"
                        "target is ok, 1 otherwise, 2 for a usage or manifest error, 130 after Ctrl-C, 143 after SIGTERM\n"
                        "(both cancel every target and still write the report).\n"),
         {kJobs, kReport, kPlan}, runApply},
        {QStringLiteral("backup"), QStringLiteral("MANIFEST|TARGETS.csv -o DIR [--jobs N] [--report FILE]"),
         QStringLiteral("read every printer's parameter files back into DIR"),
         QStringLiteral("Each target's system parameters and initial values and tables are saved as DIR/NAME/QUILLPRM.TXT\n"
                        "and DIR/NAME/ZDEFAULT.TXT, text files that apply and the pages take. A printer that holds no\n"
                        "file is reported and does not stop the others. Ctrl-C (exit status 130) and SIGTERM (143) cancel\n"
                        "every target and still write the report.\n"),
         {kOutput, kJobs, kReport}, runBackup},
    };
}

}  // namespace vormex::cli
