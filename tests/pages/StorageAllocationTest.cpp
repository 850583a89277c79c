// The download page's allocation and enabling rules, shared with vormexctl download.
#include "pages/DownloadEnabling.h"
#include "pages/StorageAllocation.h"

#include <gtest/gtest.h>

namespace vormex {
namespace {

AllocationDefinition allocation()
{
    AllocationDefinition a;
    a.blockSizeKb = 64;
    a.totalBlocks = 48;
    a.totalBlocksKanji1 = 40;
    a.totalBlocksKanji2 = 44;
    a.trueTypeMin = 1, a.trueTypeMax = 20, a.trueTypeMaxKanji1 = 12, a.trueTypeMaxKanji2 = 16;
    a.bitmapMin = 0, a.bitmapMax = 10, a.bitmapMaxKanji1 = 6, a.bitmapMaxKanji2 = 8;
    a.basicMin = 2, a.basicMax = 30;
    a.trueTypeDefault = 8, a.bitmapDefault = 4, a.basicDefault = 14;
    a.startBlockBasicMain = 5, a.startBlockBasicSystem = 7, a.startBlockSystemParam = 8, a.startBlockInitialTable = 9;
    a.kanjiVariants = 1;
    return a;
}

PrinterDefinition printer()
{
    PrinterDefinition p;
    p.name = QStringLiteral("ORN Q-KA5");
    p.allocation = allocation();
    return p;
}

TEST(StorageAllocation, PcSaveAreaIsWhatTheThreeAreasLeave)
{
    DownloadJob job;
    ASSERT_TRUE(LoadAllocation(printer(), job));
    const AllocationLimits limits = LimitsFor(allocation(), job.kanjiVariant);
    EXPECT_EQ(PcSaveBlocks(job, limits), std::nullopt);  // memory allocation off
    job.doAllocation = 1;
    EXPECT_EQ(PcSaveBlocks(job, limits), 22);
    EXPECT_EQ(KBytesText(*PcSaveBlocks(job, limits), limits.blockSizeKb), QStringLiteral("1408 KBytes"));
    job.trueTypeBlocks = 32;
    EXPECT_EQ(PcSaveBlocks(job, limits), -2);  // shown, though negative
    job.keepBasicArea = 1;
    EXPECT_EQ(PcSaveBlocks(job, limits), std::nullopt);
    EXPECT_TRUE(BuildAllocationCommand(job).contains(",AA|"));
}

TEST(StorageAllocation, KanjiVariantsSelectTheirMaximaAndTotal)
{
    struct Case {
        int kanjiVariants, variant, trueTypeMax, bitmapMax, total;
    };
    for (const Case& c : {Case{1, 0, 20, 10, 48}, Case{1, 1, 12, 6, 40}, Case{1, 2, 16, 8, 44}, Case{0, 2, 20, 10, 48}}) {
        AllocationDefinition a = allocation();
        a.kanjiVariants = c.kanjiVariants;
        const AllocationLimits limits = LimitsFor(a, c.variant);
        EXPECT_EQ(limits.trueTypeMax, c.trueTypeMax) << c.variant;
        EXPECT_EQ(limits.bitmapMax, c.bitmapMax) << c.variant;
        EXPECT_EQ(limits.totalBlocks, c.total) << c.variant;
        EXPECT_EQ(KanjiVariantCount(a), c.kanjiVariants ? 2 : 0);
    }
}

TEST(StorageAllocation, APrinterChangeStartsFromThePrintersValues)
{
    DownloadJob job;
    job.doAllocation = job.doBasicMain = job.keepBasicArea = 1;
    job.kanjiVariant = 2;
    job.mode = DownloadJob::FirmwareMode;
    job.item(DownloadItem::BasicMain).text = QStringLiteral("main.bas");
    job.vormexSwitchEntry = 1;
    ResetJobForPrinter(printer(), job);
    EXPECT_EQ(job.mode, DownloadJob::BasicFilesMode);
    EXPECT_EQ(job.doAllocation + job.doBasicMain + job.keepBasicArea + job.kanjiVariant, 0);
    EXPECT_TRUE(job.item(DownloadItem::BasicMain).text.isEmpty());
    EXPECT_EQ(job.startBlocks, (std::array<int, 4>{5, 7, 8, 9}));
    EXPECT_EQ(job.trueTypeBlocks, 8);
    EXPECT_EQ(job.blockSizeKb, 64);
    EXPECT_EQ(job.printerName, QStringLiteral("ORN Q-KA5"));
    EXPECT_EQ(job.vormexSwitchEntry, 1);

    PrinterDefinition without = printer();
    without.allocation.reset();
    ResetJobForPrinter(without, job);
    EXPECT_EQ(job.startBlocks, (std::array<int, 4>{0, 2, 3, 4}));
    EXPECT_FALSE(LoadAllocation(without, job));
}

TEST(StorageAllocation, ChecksOnlyWhatTheJobSends)
{
    struct Case {
        const char* name;
        void (*change)(DownloadJob&);
        std::optional<AllocationValue> problem;
    };
    const Case cases[] = {
        {"defaults", [](DownloadJob&) {}, std::nullopt},
        {"every area and start block at its maximum",
         [](DownloadJob& j) {
             j.doAllocation = j.doBasicMain = j.doBasicSystem = j.doSystemParameters = j.doInitialTable = 1;
             j.trueTypeBlocks = 20, j.bitmapBlocks = 10, j.basicBlocks = 30, j.startBlocks = {30, 30, 30, 30};
         },
         std::nullopt},
        {"every area and start block at its minimum",
         [](DownloadJob& j) {
             j.doAllocation = j.doBasicMain = j.doBasicSystem = j.doSystemParameters = j.doInitialTable = 1;
             j.trueTypeBlocks = 1, j.bitmapBlocks = 0, j.basicBlocks = 2, j.startBlocks = {2, 2, 2, 2};
         },
         std::nullopt},
        {"bitmap area one above its maximum", [](DownloadJob& j) { j.doAllocation = 1, j.bitmapBlocks = 11; }, AllocationValue::BitmapBlocks},
        {"area checked with allocation on", [](DownloadJob& j) { j.doAllocation = 1, j.trueTypeBlocks = 21; },
         AllocationValue::TrueTypeBlocks},
        {"area ignored with allocation off", [](DownloadJob& j) { j.trueTypeBlocks = 21; }, std::nullopt},
        {"kept BASIC area not checked", [](DownloadJob& j) { j.doAllocation = j.keepBasicArea = 1, j.basicBlocks = 99; }, std::nullopt},
        {"BASIC area below its minimum", [](DownloadJob& j) { j.doAllocation = 1, j.basicBlocks = 1; }, AllocationValue::BasicBlocks},
        {"start block of a step that is on", [](DownloadJob& j) { j.doInitialTable = 1, j.startBlocks[3] = 31; },
         AllocationValue::StartBlockInitialTable},
        {"start block of a step that is off", [](DownloadJob& j) { j.startBlocks[3] = 31; }, std::nullopt},
    };
    for (const Case& c : cases) {
        DownloadJob job;
        LoadAllocation(printer(), job);
        c.change(job);
        const auto problem = CheckAllocation(job, LimitsFor(allocation(), 0));
        ASSERT_EQ(problem.has_value(), c.problem.has_value()) << c.name;
        if (problem)
            EXPECT_EQ(problem->value, *c.problem) << c.name;
    }
    DownloadJob job;
    LoadAllocation(printer(), job);
    job.startBlocks[1] = 1;
    const auto problem = CheckAllocation(job, LimitsFor(allocation(), 0), true);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->value, AllocationValue::StartBlockBasicSystem);
    EXPECT_EQ(std::pair(problem->min, problem->max), std::pair(2, 30));
}

TEST(DownloadEnabling, FollowsTheModeAndTheCheckBoxes)
{
    DownloadJob firmware;
    firmware.mode = DownloadJob::FirmwareMode;
    firmware.doAllocation = firmware.doBasicMain = 1;  // remembered, but not usable in firmware mode
    const DownloadEnabling f = EnablingFor(firmware);
    EXPECT_TRUE(f.firmwareItem && f.firmwareHeader);
    EXPECT_FALSE(f.stepCheckBoxes || f.fileItems[0] || f.allocationControls || f.pcSaveSize || f.startBlockLabel);
    // A start block follows its check box alone.
    EXPECT_EQ(f.startBlocks, (std::array<bool, 4>{true, false, false, false}));

    DownloadJob files;
    files.doAllocation = files.doSystemParameters = files.doVormexSwitch = 1;
    DownloadEnabling b = EnablingFor(files);
    EXPECT_FALSE(b.firmwareItem || b.firmwareHeader);
    EXPECT_TRUE(b.stepCheckBoxes && b.allocationControls && b.basicAreaControls && b.vormexSwitchList && b.startBlockLabel
                && b.pcSaveSize);
    EXPECT_EQ(b.fileItems, (std::array<bool, 5>{false, false, true, false, false}));
    EXPECT_EQ(b.startBlocks, (std::array<bool, 4>{false, false, true, false}));
    files.keepBasicArea = 1;
    b = EnablingFor(files);
    EXPECT_TRUE(b.allocationControls);
    EXPECT_FALSE(b.basicAreaControls);
    files.doAllocation = 0;
    b = EnablingFor(files);
    EXPECT_FALSE(b.allocationControls || b.basicAreaControls);
    EXPECT_TRUE(b.pcSaveSize);
}

TEST(DownloadEnabling, SomethingToDo)
{
    DownloadJob job;
    EXPECT_FALSE(HasSomethingToDo(job));
    job.doBasicMain = 1;
    EXPECT_FALSE(HasSomethingToDo(job));  // the step is on but no file is chosen
    job.item(DownloadItem::BasicMain).text = QStringLiteral("main.bas");
    EXPECT_TRUE(HasSomethingToDo(job));
    job.mode = DownloadJob::FirmwareMode;
    EXPECT_FALSE(HasSomethingToDo(job));
    job.item(DownloadItem::Firmware).text = QStringLiteral("fw.rom");
    EXPECT_TRUE(HasSomethingToDo(job));
    DownloadJob vormex;
    vormex.doVormexSwitch = 1;
    EXPECT_TRUE(HasSomethingToDo(vormex));
    // A file chosen for each file step, every step off: nothing to send.
    DownloadJob chosen;
    for (const int type : {DownloadItem::BasicMain, DownloadItem::BasicSystem, DownloadItem::SystemParameters, DownloadItem::InitialTable,
                           DownloadItem::TestFile})
        chosen.item(type).text = QStringLiteral("file");
    EXPECT_FALSE(HasSomethingToDo(chosen));

    EXPECT_TRUE(NeedsFirmwareNotice(QStringLiteral("ORN Q-KA5")));
    EXPECT_FALSE(NeedsFirmwareNotice(QStringLiteral("Q-KB4")));
}

TEST(DownloadEnabling, FileDialogsByItemAndPrinter)
{
    struct Case {
        int type;
        const char* printer;
        int extension, filter;
    };
    const Case cases[] = {
        {DownloadItem::Firmware, "Q-KB4", 632, 633},         {DownloadItem::Firmware, "ORN Q-KB4", 620, 621},
        {DownloadItem::Firmware, "ORN Q-KA5", 620, 621},     {DownloadItem::BasicMain, "Q-KB4", 622, 623},
        {DownloadItem::BasicSystem, "ORN Q-KA5", 622, 623},  {DownloadItem::SystemParameters, "Q-KB4", 626, 627},
        {DownloadItem::InitialTable, "Q-KB4", 628, 629},     {DownloadItem::TestFile, "Q-KB4", 624, 625},
    };
    for (const Case& c : cases) {
        const FileDialogStrings ids = FileDialogFor(c.type, QString::fromLatin1(c.printer));
        EXPECT_EQ(std::pair(ids.extension, ids.filter), std::pair(c.extension, c.filter)) << c.type << " " << c.printer;
    }
}

}  // namespace
}  // namespace vormex
