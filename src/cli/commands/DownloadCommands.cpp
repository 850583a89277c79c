// download and send-file: a download job or one parameter file, followed on the terminal.
#include "CliContext.h"
#include "commands/Commands.h"
#include "commands/DownloadConsole.h"

#include "app/ApplicationContext.h"
#include "download/DownloadRunner.h"
#include "download/PrepareItem.h"

#include <QCommandLineParser>

#include <optional>

namespace vormex::cli {
namespace {

constexpr int kEnterInteger = 61712;
constexpr int kEnterIntegerInRange = 61714;  // "%1" to "%2"
constexpr int kFirmwareNotice = 8046;

int parseArguments(CliContext& context, QCommandLineParser& parser, const char* command, const QStringList& arguments)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList{QStringLiteral("vormexctl %1").arg(QLatin1String(command))} + arguments))
        return context.usage(parser.errorText());
    return -1;
}

QCommandLineOption valueOption(const char* name, const char* value)
{
    return QCommandLineOption(QString::fromLatin1(name), QString(), QString::fromLatin1(value));
}

// The connection of this run: --device or the stored text; for USB the text after "USB:" is the
// device path.
LinkSettings linkFor(CliContext& context, const QCommandLineParser& parser)
{
    const QString device = QStringLiteral("device");
    return LinkForDevice(context.app(), context.store(),
                         parser.isSet(device) ? std::optional(parser.value(device)) : std::nullopt);
}

// Reads the numbers of one option and checks each against its range, as the download page does.
class NumberReader {
public:
    explicit NumberReader(const StringTable& strings) : strings_(strings) {}

    std::optional<int> number(const QString& option, const QString& what, const QString& text, int min, int max)
    {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (!ok)
            problem_ = QStringLiteral("vormexctl: --%1 %2: %3").arg(option, what, strings_.text(kEnterInteger));
        else if (value < min || value > max)
            problem_ = QStringLiteral("vormexctl: --%1 %2: %3")
                           .arg(option, what, strings_.text(kEnterIntegerInRange).arg(min).arg(max));
        else
            return value;
        return std::nullopt;
    }
    const QString& problem() const { return problem_; }

private:
    const StringTable& strings_;
    QString problem_;
};

// The ranges of the printer entry's storage areas for a kanji variant.
struct AreaRanges {
    int trueTypeMax = 0;
    int bitmapMax = 0;
};

AreaRanges rangesFor(const AllocationDefinition& allocation, int kanjiVariant)
{
    if (allocation.kanjiVariants == 0 || kanjiVariant == 0)
        return {allocation.trueTypeMax, allocation.bitmapMax};
    if (kanjiVariant == 1)
        return {allocation.trueTypeMaxKanji1, allocation.bitmapMaxKanji1};
    return {allocation.trueTypeMaxKanji2, allocation.bitmapMaxKanji2};
}

// The job's allocation values and start blocks: the printer's defaults, then the options.
// Gives an error message, empty when everything is in range.
QString fillAllocation(CliContext& context, const QCommandLineParser& parser, const PrinterDefinition& printer, DownloadJob& job)
{
    NumberReader reader(context.app().strings);
    const std::optional<AllocationDefinition>& allocation = printer.allocation;
    if (allocation) {
        job.blockSizeKb = allocation->blockSizeKb;
        job.trueTypeBlocks = allocation->trueTypeDefault;
        job.bitmapBlocks = allocation->bitmapDefault;
        job.basicBlocks = allocation->basicDefault;
        job.startBlocks = {allocation->startBlockBasicMain, allocation->startBlockBasicSystem,
                           allocation->startBlockSystemParam, allocation->startBlockInitialTable};
    }
    const int basicMin = allocation ? allocation->basicMin : 0;
    const int basicMax = allocation ? allocation->basicMax : 99;

    if (parser.isSet(QStringLiteral("kanji"))) {
        const int variants = allocation && allocation->kanjiVariants ? 2 : 0;
        const auto variant = reader.number(QStringLiteral("kanji"), QStringLiteral("variant"), parser.value(QStringLiteral("kanji")), 0, variants);
        if (!variant)
            return reader.problem();
        job.kanjiVariant = *variant;
    }
    if (parser.isSet(QStringLiteral("allocate"))) {
        if (!allocation)
            return QStringLiteral("vormexctl: --allocate: the printer \"%1\" has no storage allocation").arg(printer.name);
        const QStringList values = parser.value(QStringLiteral("allocate")).split(QLatin1Char(','));
        if (values.size() != 3)
            return QStringLiteral("vormexctl: --allocate takes three values: TrueType,bitmap,BASIC (BASIC may be AA)");
        const AreaRanges ranges = rangesFor(*allocation, job.kanjiVariant);
        const auto trueType = reader.number(QStringLiteral("allocate"), QStringLiteral("TrueType area"), values[0], allocation->trueTypeMin, ranges.trueTypeMax);
        const auto bitmap = reader.number(QStringLiteral("allocate"), QStringLiteral("bitmap area"), values[1], allocation->bitmapMin, ranges.bitmapMax);
        if (!trueType || !bitmap)
            return reader.problem();
        job.doAllocation = 1;
        job.trueTypeBlocks = *trueType;
        job.bitmapBlocks = *bitmap;
        if (values[2].trimmed() == QLatin1String("AA")) {
            job.keepBasicArea = 1;
        } else {
            const auto basic = reader.number(QStringLiteral("allocate"), QStringLiteral("BASIC area"), values[2], basicMin, basicMax);
            if (!basic)
                return reader.problem();
            job.basicBlocks = *basic;
        }
    }
    if (parser.isSet(QStringLiteral("start-blocks"))) {
        const QStringList values = parser.value(QStringLiteral("start-blocks")).split(QLatin1Char(','));
        if (values.size() != 4)
            return QStringLiteral("vormexctl: --start-blocks takes four values: BASIC main, BASIC system, system parameters, initial table");
        static const char* const names[] = {"BASIC main", "BASIC system", "system parameters", "initial table"};
        for (int i = 0; i < 4; ++i) {
            const auto block = reader.number(QStringLiteral("start-blocks"), QString::fromLatin1(names[i]), values[i], basicMin, basicMax);
            if (!block)
                return reader.problem();
            job.startBlocks[static_cast<size_t>(i)] = *block;
        }
    } else {
        for (size_t i = 0; i < 4; ++i)
            if (job.startBlocks[i] < basicMin || job.startBlocks[i] > basicMax)
                return QStringLiteral("vormexctl: the printer's start block %1 lies outside its BASIC area %2 to %3")
                    .arg(job.startBlocks[i]).arg(basicMin).arg(basicMax);
    }
    return {};
}

// Prepares one file item as the download page does when a file is picked.
bool prepare(CliContext& context, DownloadJob& job, int type, const QString& path)
{
    QString message;
    if (PrepareItem(job, type, path, PrepareContextFor(context.app(), &context.store()), &message))
        return true;
    context.fail(message.isEmpty() ? QStringLiteral("vormexctl: %1: cannot be prepared").arg(path) : message);
    return false;
}

int runJob(CliContext& context, const DownloadJob& job, const LinkSettings& link, bool firmwareHandshake)
{
    context.err().flush();
    DownloadConsole console;
    auto runner = DownloadRunner::StartJob(job, link, firmwareHandshake, console.observer());
    return console.follow(*runner);
}

}  // namespace

int runDownload(CliContext& context, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOption(valueOption("device", "TEXT"));
    parser.addOption(valueOption("firmware", "FILE"));
    parser.addOption(valueOption("allocate", "TT,BMP,BASIC"));
    parser.addOption(valueOption("kanji", "0|1|2"));
    parser.addOption(valueOption("basic-main", "FILE"));
    parser.addOption(valueOption("basic-system", "FILE"));
    parser.addOption(valueOption("system-params", "FILE"));
    parser.addOption(valueOption("initial-table", "FILE"));
    parser.addOption(valueOption("start-blocks", "A,B,C,D"));
    parser.addOption(valueOption("vormex", "on|off"));
    parser.addOption(valueOption("test-file", "FILE"));
    if (const int status = parseArguments(context, parser, "download", arguments); status >= 0)
        return status;
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("download takes no arguments besides its options"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;

    DownloadJob job;
    job.controlCodes = context.app().controlCodes;
    job.variableControlCodes = printer->variableControlCodes;
    job.printerName = printer->name;
    const LinkSettings link = linkFor(context, parser);

    static const char* const basicOptions[] = {"allocate", "kanji", "basic-main", "basic-system", "system-params",
                                               "initial-table", "start-blocks", "vormex", "test-file"};
    if (parser.isSet(QStringLiteral("firmware"))) {
        for (const char* option : basicOptions)
            if (parser.isSet(QString::fromLatin1(option)))
                return context.usage(QStringLiteral("--firmware cannot be combined with --%1").arg(QLatin1String(option)));
        job.mode = DownloadJob::FirmwareMode;
        if (!prepare(context, job, DownloadItem::Firmware, parser.value(QStringLiteral("firmware"))))
            return kExitFailure;
        if (!printer->name.startsWith(QLatin1String("Q-KB")))
            context.err() << terminalText(context.app().strings.text(kFirmwareNotice)) << Qt::endl;
        return runJob(context, job, link, printer->firmwareHandshake != 0);
    }

    if (const QString problem = fillAllocation(context, parser, *printer, job); !problem.isEmpty())
        return context.fail(problem);
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

int runSendFile(CliContext& context, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOption(valueOption("device", "TEXT"));
    parser.addOption(valueOption("start-block", "N"));
    parser.addOption(QCommandLineOption(QStringLiteral("no-vormex-on")));
    parser.addPositionalArgument(QStringLiteral("kind"), QString());
    parser.addPositionalArgument(QStringLiteral("file"), QString());
    if (const int status = parseArguments(context, parser, "send-file", arguments); status >= 0)
        return status;
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
            return context.fail(reader.problem());
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
    auto runner = DownloadRunner::StartFileDownload(request, linkFor(context, parser), console.observer());
    return console.follow(*runner);
}

}  // namespace vormex::cli
