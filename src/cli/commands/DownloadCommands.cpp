// download and send-file: a download job or one parameter file, followed on the terminal.
#include "CliContext.h"
#include "commands/Commands.h"
#include "commands/DownloadConsole.h"

#include "app/ApplicationContext.h"
#include "base/Numbers.h"
#include "download/DownloadRunner.h"
#include "download/PrepareItem.h"
#include "pages/DownloadEnabling.h"
#include "pages/StorageAllocation.h"

#include <optional>

namespace vormex::cli {
namespace {

constexpr int kEnterInteger = 61712;
constexpr int kEnterIntegerInRange = 61714;  // "%1" to "%2"
constexpr int kFirmwareNotice = 8046;

// Reads the numbers of one option as a user types them and checks each against its range.
class NumberReader {
public:
    explicit NumberReader(const StringTable& strings) : strings_(strings) {}

    std::optional<int> number(const QString& option, const QString& what, const QString& text, int min, int max)
    {
        const std::optional<int> value = ParseWholeNumber(text);
        if (!value)
            problem_ = QStringLiteral("vormexctl: --%1 %2: %3").arg(option, what, strings_.text(kEnterInteger));
        else if (*value < min || *value > max)
            problem_ = outOfRange(option, what, min, max);
        else
            return value;
        return std::nullopt;
    }
    QString outOfRange(const QString& option, const QString& what, int min, int max) const
    {
        return QStringLiteral("vormexctl: --%1 %2: %3").arg(option, what, strings_.text(kEnterIntegerInRange).arg(min).arg(max));
    }
    const QString& problem() const { return problem_; }

private:
    const StringTable& strings_;
    QString problem_;
};

const char* const kStartBlockNames[] = {"BASIC main", "BASIC system", "system parameters", "initial table"};

// The job's allocation values and start blocks: the printer's defaults, then the options, checked
// against the printer's limits as the download page checks them. Gives an error message, empty
// when everything is in range; `optionProblem` tells an option's fault (a usage error) from the
// printer's.
QString fillAllocation(CliContext& context, const QCommandLineParser& parser, const PrinterDefinition& printer, DownloadJob& job,
                       bool& optionProblem)
{
    optionProblem = true;
    NumberReader reader(context.app().strings);
    LoadAllocation(printer, job);
    const std::optional<AllocationDefinition>& allocation = printer.allocation;

    if (parser.isSet(QStringLiteral("kanji"))) {
        const int variants = allocation ? KanjiVariantCount(*allocation) : 0;
        const auto variant = reader.number(QStringLiteral("kanji"), QStringLiteral("variant"), parser.value(QStringLiteral("kanji")), 0, variants);
        if (!variant)
            return reader.problem();
        job.kanjiVariant = *variant;
    }
    const AllocationLimits limits = allocation ? LimitsFor(*allocation, job.kanjiVariant) : LimitsWithoutAllocation();
    if (parser.isSet(QStringLiteral("allocate"))) {
        if (!allocation)
            return QStringLiteral("vormexctl: --allocate: the printer \"%1\" has no storage allocation").arg(printer.name);
        const QStringList values = parser.value(QStringLiteral("allocate")).split(QLatin1Char(','));
        if (values.size() != 3)
            return QStringLiteral("vormexctl: --allocate takes three values: TrueType,bitmap,BASIC (BASIC may be AA)");
        const auto trueType = reader.number(QStringLiteral("allocate"), QStringLiteral("TrueType area"), values[0], limits.trueTypeMin, limits.trueTypeMax);
        const auto bitmap = reader.number(QStringLiteral("allocate"), QStringLiteral("bitmap area"), values[1], limits.bitmapMin, limits.bitmapMax);
        if (!trueType || !bitmap)
            return reader.problem();
        job.doAllocation = 1;
        job.trueTypeBlocks = *trueType;
        job.bitmapBlocks = *bitmap;
        if (values[2].trimmed() == QLatin1String("AA")) {
            job.keepBasicArea = 1;
        } else {
            const auto basic = reader.number(QStringLiteral("allocate"), QStringLiteral("BASIC area"), values[2], limits.basicMin, limits.basicMax);
            if (!basic)
                return reader.problem();
            job.basicBlocks = *basic;
        }
    }
    if (parser.isSet(QStringLiteral("start-blocks"))) {
        const QStringList values = parser.value(QStringLiteral("start-blocks")).split(QLatin1Char(','));
        if (values.size() != 4)
            return QStringLiteral("vormexctl: --start-blocks takes four values: BASIC main, BASIC system, system parameters, initial table");
        for (int i = 0; i < 4; ++i) {
            const auto block = reader.number(QStringLiteral("start-blocks"), QString::fromLatin1(kStartBlockNames[i]), values[i],
                                             limits.basicMin, limits.basicMax);
            if (!block)
                return reader.problem();
            job.startBlocks[static_cast<size_t>(i)] = *block;
        }
    }
    // What the options left at the printer's values gets the page's check too; this is the
    // definition file's fault, not the options'.
    if (const std::optional<AllocationRangeProblem> problem = CheckAllocation(job, limits, true)) {
        optionProblem = false;
        return QStringLiteral("vormexctl: the printer's start block %1 lies outside its BASIC area %2 to %3")
            .arg(problem->number).arg(problem->min).arg(problem->max);
    }
    return {};
}

// Prepares one file item as the download page does when a file is picked.
bool prepare(CliContext& context, DownloadJob& job, int type, const QString& path)
{
    QString message, detail;
    if (PrepareItem(job, type, path, PrepareContextFor(context.app(), &context.store()), &message, &detail))
        return true;
    // The file is named before the message (a file error names it itself), with the line or
    // field where its check failed.
    if (message.isEmpty())
        context.fail(QStringLiteral("vormexctl: %1: cannot be prepared").arg(path));
    else if (message.startsWith(path + QLatin1Char(':')))
        context.fail(QStringLiteral("vormexctl: ") + message);
    else if (detail.startsWith(path))
        context.fail(QStringLiteral("vormexctl: ") + detail, message);
    else
        context.fail(QStringLiteral("vormexctl: ") + path + (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail), message);
    return false;
}

int runJob(CliContext& context, const DownloadJob& job, const LinkSettings& link, bool firmwareHandshake)
{
    context.err().flush();
    DownloadConsole console;
    auto runner = DownloadRunner::StartJob(job, link, firmwareHandshake, console.observer());
    return console.follow(*runner);
}

int runDownload(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("download takes no arguments besides its options"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;

    DownloadJob job;
    job.controlCodes = context.app().controlCodes;
    job.variableControlCodes = printer->variableControlCodes;
    job.printerName = printer->name;
    const LinkSettings link = context.link(parser);

    static const char* const basicOptions[] = {"allocate", "kanji", "basic-main", "basic-system", "system-params",
                                               "initial-table", "start-blocks", "vormex", "test-file"};
    if (parser.isSet(QStringLiteral("firmware"))) {
        for (const char* option : basicOptions)
            if (parser.isSet(QString::fromLatin1(option)))
                return context.usage(QStringLiteral("--firmware cannot be combined with --%1").arg(QLatin1String(option)));
        job.mode = DownloadJob::FirmwareMode;
        if (!prepare(context, job, DownloadItem::Firmware, parser.value(QStringLiteral("firmware"))))
            return kExitFailure;
        if (NeedsFirmwareNotice(printer->name))
            context.err() << terminalText(context.app().strings.text(kFirmwareNotice)) << Qt::endl;
        return runJob(context, job, link, printer->firmwareHandshake != 0);
    }

    bool optionProblem = true;
    if (const QString problem = fillAllocation(context, parser, *printer, job, optionProblem); !problem.isEmpty())
        return optionProblem ? context.usage(problem) : context.fail(problem);
    if (parser.isSet(QStringLiteral("vormex"))) {
        const QString value = parser.value(QStringLiteral("vormex"));
        if (value != QLatin1String("on") && value != QLatin1String("off"))
            return context.usage(QStringLiteral("--vormex takes on or off"));
        job.doVormexSwitch = 1;
        job.vormexSwitchEntry = value == QLatin1String("on") ? 0 : 1;
    }
    struct FileOption {
        const char* name;
        int type;
        int DownloadJob::*wanted;
    };
    static const FileOption files[] = {
        {"basic-main", DownloadItem::BasicMain, &DownloadJob::doBasicMain},
        {"basic-system", DownloadItem::BasicSystem, &DownloadJob::doBasicSystem},
        {"system-params", DownloadItem::SystemParameters, &DownloadJob::doSystemParameters},
        {"initial-table", DownloadItem::InitialTable, &DownloadJob::doInitialTable},
        {"test-file", DownloadItem::TestFile, &DownloadJob::doTestFile},
    };
    for (const FileOption& file : files) {
        if (!parser.isSet(QString::fromLatin1(file.name)))
            continue;
        job.*file.wanted = 1;
        if (!prepare(context, job, file.type, parser.value(QString::fromLatin1(file.name))))
            return kExitFailure;
    }
    if (CountDownloadSteps(job) == 0)
        return context.usage(QStringLiteral("nothing to download: give --allocate, --vormex, a file or --firmware"));
    return runJob(context, job, link, printer->firmwareHandshake != 0);
}

int runSendFile(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || (positional[0] != QLatin1String("system") && positional[0] != QLatin1String("initial")))
        return context.usage(QStringLiteral("send-file takes system|initial and a file"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;
    const bool system = positional[0] == QLatin1String("system");
    if (!printer->allocation)
        return context.fail(QStringLiteral("vormexctl: the printer \"%1\" has no storage allocation").arg(printer->name));
    const AllocationDefinition& allocation = *printer->allocation;

    FileDownloadRequest request;
    request.kind = system ? FileDownloadRequest::SystemParameters : FileDownloadRequest::InitialTable;
    request.startBlock = system ? allocation.startBlockSystemParam : allocation.startBlockInitialTable;
    request.blockCount = FileDownloadRequest::BlockCountFor(allocation.blockSizeKb);
    request.vormexOnAfter = !parser.isSet(QStringLiteral("no-vormex-on"));
    if (parser.isSet(QStringLiteral("start-block"))) {
        NumberReader reader(context.app().strings);
        const auto block = reader.number(QStringLiteral("start-block"), QStringLiteral("start block"),
                                         parser.value(QStringLiteral("start-block")), allocation.basicMin, allocation.basicMax);
        if (!block)
            return context.usage(reader.problem());
        request.startBlock = *block;
    }

    // The file is checked and converted as the download page does, into the job's item.
    DownloadJob job;
    job.controlCodes = context.app().controlCodes;
    job.variableControlCodes = printer->variableControlCodes;
    job.blockSizeKb = allocation.blockSizeKb;
    const int type = system ? DownloadItem::SystemParameters : DownloadItem::InitialTable;
    if (!prepare(context, job, type, positional[1]))
        return kExitFailure;
    request.envelope = job.item(type).bytes;

    context.err().flush();
    DownloadConsole console;
    auto runner = DownloadRunner::StartFileDownload(request, context.link(parser), console.observer());
    return console.follow(*runner);
}

QList<QCommandLineOption> downloadOptions()
{
    const QString file = QStringLiteral("FILE");
    return {
        deviceOption(),
        valueOption(QStringLiteral("firmware"), file, QStringLiteral("a firmware job: send this image (the printer in its download mode); no other option but --device")),
        valueOption(QStringLiteral("allocate"), QStringLiteral("TT,BMP,BASIC"),
                    QStringLiteral("memory allocation: the TrueType, bitmap and BASIC areas in blocks; AA as BASIC keeps the BASIC area")),
        valueOption(QStringLiteral("kanji"), QStringLiteral("0|1|2"), QStringLiteral("kanji deletion variant of the allocation (printers that offer it; default 0)")),
        valueOption(QStringLiteral("basic-main"), file, QStringLiteral("BASIC main program to encode and send")),
        valueOption(QStringLiteral("basic-system"), file, QStringLiteral("BASIC system-mode program to encode and send")),
        valueOption(QStringLiteral("system-params"), file, QStringLiteral("system parameter file (text or XML) to check, convert and send")),
        valueOption(QStringLiteral("initial-table"), file, QStringLiteral("initial value & table file (text or XML) to check, convert and send")),
        valueOption(QStringLiteral("start-blocks"), QStringLiteral("A,B,C,D"),
                    QStringLiteral("start blocks of BASIC main, BASIC system, system parameters, initial table (default: the printer's)")),
        valueOption(QStringLiteral("vormex"), QStringLiteral("on|off"), QStringLiteral("switch VORMEX on or off at the end")),
        valueOption(QStringLiteral("test-file"), file, QStringLiteral("a file of printer commands to send last, as it is")),
    };
}

}  // namespace

QList<Command> downloadCommands()
{
    return {
        {QStringLiteral("download"),
         QStringLiteral("[--device TEXT] [--allocate TT,BMP,BASIC|TT,BMP,AA] [--kanji 0|1|2] [--basic-main FILE] [--basic-system FILE] "
                        "[--system-params FILE] [--initial-table FILE] [--start-blocks A,B,C,D] [--vormex on|off] [--test-file FILE] "
                        "| --firmware FILE [--device TEXT]"),
         QStringLiteral("run a download job (BASIC files and settings, or firmware)"),
         QStringLiteral("Every file is prepared first; a file that cannot be read, encoded or converted stops the job with\n"
                        "its message before anything is sent. Allocation values and start blocks default to the printer's\n"
                        "and are range-checked as the download page does. Log lines go to standard error as they come;\n"
                        "Ctrl-C cancels cleanly (exit status 130).\n"),
         downloadOptions(), runDownload},
        {QStringLiteral("send-file"), QStringLiteral("system|initial FILE [--device TEXT] [--start-block N] [--no-vormex-on]"),
         QStringLiteral("download one parameter file"),
         QStringLiteral("Checks and converts FILE (text or XML) and sends it as its page's download dialog does.\n"),
         {deviceOption(),
          valueOption(QStringLiteral("start-block"), QStringLiteral("N"), QStringLiteral("the block to store the file at (default: the printer's)")),
          flagOption(QStringLiteral("no-vormex-on"), QStringLiteral("do not switch VORMEX on after the file"))},
         runSendFile},
    };
}

}  // namespace vormex::cli
