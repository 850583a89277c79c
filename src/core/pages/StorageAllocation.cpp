#include "pages/StorageAllocation.h"

#include "comm/CommandFraming.h"

namespace vormex {

AllocationLimits LimitsFor(const AllocationDefinition& allocation, int kanjiVariant)
{
    AllocationLimits limits;
    limits.trueTypeMin = allocation.trueTypeMin;
    limits.bitmapMin = allocation.bitmapMin;
    limits.basicMin = allocation.basicMin;
    limits.basicMax = allocation.basicMax;
    limits.blockSizeKb = allocation.blockSizeKb;
    if (allocation.kanjiVariants == 0 || kanjiVariant == 0) {
        limits.trueTypeMax = allocation.trueTypeMax;
        limits.bitmapMax = allocation.bitmapMax;
        limits.totalBlocks = allocation.totalBlocks;
    } else if (kanjiVariant == 1) {
        limits.trueTypeMax = allocation.trueTypeMaxKanji1;
        limits.bitmapMax = allocation.bitmapMaxKanji1;
        limits.totalBlocks = allocation.totalBlocksKanji1;
    } else {
        limits.trueTypeMax = allocation.trueTypeMaxKanji2;
        limits.bitmapMax = allocation.bitmapMaxKanji2;
        limits.totalBlocks = allocation.totalBlocksKanji2;
    }
    return limits;
}

AllocationLimits LimitsWithoutAllocation() { return AllocationLimits{}; }

int KanjiVariantCount(const AllocationDefinition& allocation) { return allocation.kanjiVariants ? 2 : 0; }

bool LoadAllocation(const PrinterDefinition& printer, DownloadJob& job)
{
    if (!printer.allocation)
        return false;
    const AllocationDefinition& allocation = *printer.allocation;
    job.blockSizeKb = allocation.blockSizeKb;
    job.trueTypeBlocks = allocation.trueTypeDefault;
    job.bitmapBlocks = allocation.bitmapDefault;
    job.basicBlocks = allocation.basicDefault;
    job.startBlocks = {allocation.startBlockBasicMain, allocation.startBlockBasicSystem,
                       allocation.startBlockSystemParam, allocation.startBlockInitialTable};
    return true;
}

void ResetJobForPrinter(const PrinterDefinition& printer, DownloadJob& job)
{
    DownloadJob fresh;
    fresh.controlCodes = CommandCodesFor(&printer, job.controlCodes);
    fresh.vormexSwitchEntry = job.vormexSwitchEntry;  // the switch list keeps its entry
    fresh.variableControlCodes = printer.variableControlCodes;
    fresh.printerName = printer.name;
    fresh.startBlocks = {0, 2, 3, 4};
    fresh.kanjiVariant = 0;
    job = std::move(fresh);
    LoadAllocation(printer, job);
}

std::optional<int> PcSaveBlocks(const DownloadJob& job, const AllocationLimits& limits)
{
    if (!job.doAllocation || job.keepBasicArea)
        return std::nullopt;
    return limits.totalBlocks - job.basicBlocks - job.bitmapBlocks - job.trueTypeBlocks;
}

QString KBytesText(int blocks, int blockSizeKb) { return QStringLiteral("%1 KBytes").arg(blocks * blockSizeKb); }

std::pair<int, int> RangeOf(AllocationValue value, const AllocationLimits& limits)
{
    switch (value) {
    case AllocationValue::TrueTypeBlocks: return {limits.trueTypeMin, limits.trueTypeMax};
    case AllocationValue::BitmapBlocks: return {limits.bitmapMin, limits.bitmapMax};
    default: return {limits.basicMin, limits.basicMax};
    }
}

std::optional<AllocationRangeProblem> CheckAllocation(const DownloadJob& job, const AllocationLimits& limits,
                                                      bool allStartBlocks)
{
    struct Checked {
        AllocationValue value;
        int number;
        bool wanted;
    };
    const bool areas = job.doAllocation != 0;
    const Checked checked[] = {
        {AllocationValue::TrueTypeBlocks, job.trueTypeBlocks, areas},
        {AllocationValue::BitmapBlocks, job.bitmapBlocks, areas},
        {AllocationValue::BasicBlocks, job.basicBlocks, areas && !job.keepBasicArea},
        {AllocationValue::StartBlockBasicMain, job.startBlocks[0], allStartBlocks || job.doBasicMain},
        {AllocationValue::StartBlockBasicSystem, job.startBlocks[1], allStartBlocks || job.doBasicSystem},
        {AllocationValue::StartBlockSystemParam, job.startBlocks[2], allStartBlocks || job.doSystemParameters},
        {AllocationValue::StartBlockInitialTable, job.startBlocks[3], allStartBlocks || job.doInitialTable},
    };
    for (const Checked& c : checked) {
        const auto [min, max] = RangeOf(c.value, limits);
        if (c.wanted && (c.number < min || c.number > max))
            return AllocationRangeProblem{c.value, c.number, min, max};
    }
    return std::nullopt;
}

}  // namespace vormex
