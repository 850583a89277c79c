#include "pages/DownloadOptions.h"

#include "base/Numbers.h"
#include "comm/CommandFraming.h"
#include "pages/StorageAllocation.h"

#include <functional>

namespace vormex {
namespace {

constexpr int kEnterInteger = 61712;
constexpr int kEnterIntegerInRange = 61714;  // "%1" to "%2"

using Problem = std::optional<DownloadOptionProblem>;

Problem makeProblem(DownloadOptionProblem::Kind kind, const QString& option, const QString& message)
{
    return DownloadOptionProblem{kind, option, message};
}

class OptionReader {
public:
    OptionReader(const DownloadOptionValues& values, const StringTable& strings) : values_(values), strings_(strings) {}

    bool has(const QString& name) const { return value(name).has_value(); }
    std::optional<QString> value(const QString& name) const
    {
        for (const auto& [key, text] : values_)
            if (key == name)
                return text;
        return std::nullopt;
    }
    QString text(const QString& name) const { return value(name).value_or(QString()); }

    // One number of an option's value, named `what` in a problem.
    std::optional<int> number(const QString& option, const QString& what, const QString& text, int min, int max)
    {
        QString message;
        const std::optional<int> result = ReadOptionNumber(text, min, max, strings_, message);
        if (!result) {
            const auto kind = ParseWholeNumber(text) ? DownloadOptionProblem::OutOfRange : DownloadOptionProblem::Usage;
            problem_ = makeProblem(kind, option, QStringLiteral("%1: %2").arg(what, message));
        }
        return result;
    }
    const Problem& problem() const { return problem_; }

private:
    const DownloadOptionValues& values_;
    const StringTable& strings_;
    Problem problem_;
};

const char* const kStartBlockNames[] = {"BASIC main", "BASIC system", "system parameters", "initial table"};

Problem fillKanjiAndAllocation(OptionReader& reader, const PrinterDefinition& printer, DownloadJob& job)
{
    const std::optional<AllocationDefinition>& allocation = printer.allocation;
    const QString kanji = QStringLiteral("kanji"), allocate = QStringLiteral("allocate");
    if (reader.has(kanji)) {
        const int variants = allocation ? KanjiVariantCount(*allocation) : 0;
        const auto variant = reader.number(kanji, QStringLiteral("variant"), reader.text(kanji), 0, variants);
        if (!variant)
            return reader.problem();
        job.kanjiVariant = *variant;
    }
    if (!reader.has(allocate))
        return std::nullopt;
    if (!allocation)
        return makeProblem(DownloadOptionProblem::OutOfRange, allocate,
                       QStringLiteral("the printer \"%1\" has no storage allocation").arg(printer.name));
    const AllocationLimits limits = LimitsFor(*allocation, job.kanjiVariant);
    const QStringList values = reader.text(allocate).split(QLatin1Char(','));
    if (values.size() != 3)
        return makeProblem(DownloadOptionProblem::Usage, allocate,
                       QStringLiteral("takes three values: TrueType,bitmap,BASIC (BASIC may be AA)"));
    const auto trueType = reader.number(allocate, QStringLiteral("TrueType area"), values[0], limits.trueTypeMin, limits.trueTypeMax);
    const auto bitmap = trueType ? reader.number(allocate, QStringLiteral("bitmap area"), values[1], limits.bitmapMin, limits.bitmapMax)
                                 : std::nullopt;
    if (!trueType || !bitmap)
        return reader.problem();
    job.doAllocation = 1;
    job.trueTypeBlocks = *trueType;
    job.bitmapBlocks = *bitmap;
    if (values[2].trimmed() == QLatin1String("AA")) {
        job.keepBasicArea = 1;
        return std::nullopt;
    }
    const auto basic = reader.number(allocate, QStringLiteral("BASIC area"), values[2], limits.basicMin, limits.basicMax);
    if (!basic)
        return reader.problem();
    job.basicBlocks = *basic;
    return std::nullopt;
}

Problem fillStartBlocks(OptionReader& reader, const PrinterDefinition& printer, DownloadJob& job)
{
    const AllocationLimits limits = printer.allocation ? LimitsFor(*printer.allocation, job.kanjiVariant) : LimitsWithoutAllocation();
    const QString option = QStringLiteral("start-blocks");
    if (reader.has(option)) {
        const QStringList values = reader.text(option).split(QLatin1Char(','));
        if (values.size() != 4)
            return makeProblem(DownloadOptionProblem::Usage, option,
                           QStringLiteral("takes four values: BASIC main, BASIC system, system parameters, initial table"));
        for (int i = 0; i < 4; ++i) {
            const auto block = reader.number(option, QString::fromLatin1(kStartBlockNames[i]), values[i], limits.basicMin, limits.basicMax);
            if (!block)
                return reader.problem();
            job.startBlocks[static_cast<size_t>(i)] = *block;
        }
    }
    // What the options left at the printer's values gets the page's check too.
    if (const std::optional<AllocationRangeProblem> outside = CheckAllocation(job, limits, true)) {
        return makeProblem(DownloadOptionProblem::OutOfRange, QString(),
                       QStringLiteral("the printer's start block %1 lies outside its BASIC area %2 to %3")
                           .arg(outside->number).arg(outside->min).arg(outside->max));
    }
    return std::nullopt;
}

Problem prepareFile(DownloadJob& job, const QString& option, int type, const QString& path, const PrepareContext& context)
{
    QString message, detail;
    if (PrepareItem(job, type, path, context, &message, &detail))
        return std::nullopt;
    DownloadOptionProblem problem{DownloadOptionProblem::File, option,
                                  message.isEmpty() ? QStringLiteral("%1: cannot be prepared").arg(path) : message};
    problem.path = path;
    problem.detail = detail;
    return problem;
}

struct FileOption {
    const char* name;
    int type;
    int DownloadJob::*wanted;
};
const FileOption kFileOptions[] = {
    {"basic-main", DownloadItem::BasicMain, &DownloadJob::doBasicMain},
    {"basic-system", DownloadItem::BasicSystem, &DownloadJob::doBasicSystem},
    {"system-params", DownloadItem::SystemParameters, &DownloadJob::doSystemParameters},
    {"initial-table", DownloadItem::InitialTable, &DownloadJob::doInitialTable},
    {"test-file", DownloadItem::TestFile, &DownloadJob::doTestFile},
};

Problem fillFirmwareJob(const OptionReader& reader, const PrepareContext& context, DownloadJob& job)
{
    const QString firmware = QStringLiteral("firmware");
    for (const QString& option : DownloadOptionNames())
        if (option != firmware && reader.has(option))
            return makeProblem(DownloadOptionProblem::Usage, firmware, QStringLiteral("cannot be combined with %1").arg(option));
    job.mode = DownloadJob::FirmwareMode;
    return prepareFile(job, firmware, DownloadItem::Firmware, reader.text(firmware), context);
}

}  // namespace

const QStringList& DownloadOptionNames()
{
    static const QStringList names = {
        QStringLiteral("firmware"),      QStringLiteral("allocate"),      QStringLiteral("kanji"),
        QStringLiteral("basic-main"),    QStringLiteral("basic-system"),  QStringLiteral("system-params"),
        QStringLiteral("initial-table"), QStringLiteral("start-blocks"),  QStringLiteral("vormex"),
        QStringLiteral("test-file"),
    };
    return names;
}

bool IsDownloadFileOption(const QString& name)
{
    if (name == QLatin1String("firmware"))
        return true;
    for (const FileOption& file : kFileOptions)
        if (name == QLatin1String(file.name))
            return true;
    return false;
}

std::optional<int> ReadOptionNumber(const QString& text, int min, int max, const StringTable& strings, QString& problem)
{
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value)
        problem = strings.text(kEnterInteger);
    else if (*value < min || *value > max)
        problem = strings.text(kEnterIntegerInRange).arg(min).arg(max);
    else
        return value;
    return std::nullopt;
}

std::optional<DownloadOptionProblem> FillDownloadJob(const DownloadOptionValues& values, const PrinterDefinition& printer,
                                                     const PrepareContext& context, DownloadJob& job)
{
    OptionReader reader(values, context.strings);
    job.controlCodes = CommandCodesFor(&printer, job.controlCodes);
    job.variableControlCodes = printer.variableControlCodes;
    job.printerName = printer.name;
    if (reader.has(QStringLiteral("firmware")))
        return fillFirmwareJob(reader, context, job);

    LoadAllocation(printer, job);
    if (Problem found = fillKanjiAndAllocation(reader, printer, job))
        return found;
    if (Problem found = fillStartBlocks(reader, printer, job))
        return found;
    if (const std::optional<QString> vormex = reader.value(QStringLiteral("vormex"))) {
        if (*vormex != QLatin1String("on") && *vormex != QLatin1String("off"))
            return makeProblem(DownloadOptionProblem::Usage, QStringLiteral("vormex"), QStringLiteral("takes on or off"));
        job.doVormexSwitch = 1;
        job.vormexSwitchEntry = *vormex == QLatin1String("on") ? 0 : 1;
    }
    for (const FileOption& file : kFileOptions) {
        const QString option = QLatin1String(file.name);
        if (!reader.has(option))
            continue;
        job.*file.wanted = 1;
        if (Problem found = prepareFile(job, option, file.type, reader.text(option), context))
            return found;
    }
    if (CountDownloadSteps(job) == 0)
        return makeProblem(DownloadOptionProblem::Usage, QString(),
                       QStringLiteral("nothing to download: give allocate, vormex, a file or firmware"));
    return std::nullopt;
}

}  // namespace vormex
