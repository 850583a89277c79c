#pragma once

#include "definitions/PrinterDefinition.h"
#include "download/DownloadJob.h"

#include <QString>

#include <array>
#include <optional>

// The download page's storage allocation: the printer entry's limits by kanji variant, the values
// a printer starts with, the PC save area that is left, and the range checks the page and
// `vormexctl download` apply before a job is run.
namespace vormex {

// The limits of the three storage areas and the start blocks for one kanji variant.
struct AllocationLimits {
    int trueTypeMin = 0, trueTypeMax = 0;
    int bitmapMin = 0, bitmapMax = 0;
    int basicMin = 0, basicMax = 99;  // also the range of every start block
    int totalBlocks = 0;
    int blockSizeKb = 0;
};

// Variant 0 (or an entry without variants) uses the plain maxima and total; variants 1 and 2 the
// kanji-1 and kanji-2 ones.
AllocationLimits LimitsFor(const AllocationDefinition& allocation, int kanjiVariant);
// The limits of a printer entry without an allocation section: start blocks 0 to 99, no areas.
AllocationLimits LimitsWithoutAllocation();

// The kanji variants a printer offers besides 0 ("なし"): 2 when its entry allows kanji deletion,
// else none.
int KanjiVariantCount(const AllocationDefinition& allocation);

// Takes the printer entry's block size, the three areas' defaults and the four start blocks into
// the job, with the limits of the job's kanji variant. Gives false (the job unchanged) when the
// entry has no allocation section.
bool LoadAllocation(const PrinterDefinition& printer, DownloadJob& job);

// A new printer: BASIC-files mode, every step off, the items freed, start blocks 0, 2, 3, 4 and
// kanji variant 0, then the printer's allocation.
void ResetJobForPrinter(const PrinterDefinition& printer, DownloadJob& job);

// The PC save data area in blocks: the total less the three areas (negative when they exceed it).
// Nothing when memory allocation is off or the BASIC area is kept.
std::optional<int> PcSaveBlocks(const DownloadJob& job, const AllocationLimits& limits);

// "%d KBytes" of a number of blocks.
QString KBytesText(int blocks, int blockSizeKb);

// The values the checks cover, in the order the page checks them.
enum class AllocationValue {
    TrueTypeBlocks, BitmapBlocks, BasicBlocks,
    StartBlockBasicMain, StartBlockBasicSystem, StartBlockSystemParam, StartBlockInitialTable,
};

struct AllocationRangeProblem {
    AllocationValue value;
    int number = 0;  // the value that is out of range
    int min = 0;
    int max = 0;
};

// The range of one value.
std::pair<int, int> RangeOf(AllocationValue value, const AllocationLimits& limits);

// The first value of the job outside its range: the three areas when memory allocation is on (the
// BASIC area only when it is not kept), then the start blocks of the steps that are on (with
// `allStartBlocks`, every start block).
std::optional<AllocationRangeProblem> CheckAllocation(const DownloadJob& job, const AllocationLimits& limits,
                                                      bool allStartBlocks = false);

}  // namespace vormex
