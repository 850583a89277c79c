#include "download/DownloadJob.h"

#include <gtest/gtest.h>

using namespace vormex;

namespace {

DownloadJob jobWith(int blockSizeKb, bool variable, ControlCodes codes = {})
{
    DownloadJob job;
    job.blockSizeKb = blockSizeKb;
    job.variableControlCodes = variable ? 1 : 0;
    job.controlCodes = codes;
    return job;
}

struct PrepareCase {
    const char* name;
    int blockSizeKb;
    bool variable;
    int type;
    int startBlock;
    int basicMainBlocks;
    QByteArray expected;
};

class PrepareCommand : public ::testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareCommand, AnnouncesStartAndBlockCount)
{
    const PrepareCase& c = GetParam();
    DownloadJob job = jobWith(c.blockSizeKb, c.variable, ControlCodes::forType(3, 0x02, 0x03, 0x04));
    job.startBlocks[static_cast<size_t>(c.type)] = c.startBlock;
    job.basicMainBlocks = c.basicMainBlocks;
    EXPECT_EQ(BuildPrepareCommand(job, c.type), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrepareCommand,
    ::testing::Values(PrepareCase{"mainProgram", 64, false, 0, 0, 3, QByteArray("{LDB;00,03|}")},
                      PrepareCase{"mainProgramBigBlocks", 128, false, 0, 0, 2, QByteArray("{LDB;00,04|}")},
                      PrepareCase{"parameterFileBigBlocks", 128, false, 2, 3, 9, QByteArray("{LDB;03,02|}")},
                      PrepareCase{"initialTable", 64, false, 3, 4, 9, QByteArray("{LDB;04,01|}")},
                      PrepareCase{"variableCodes", 64, true, 1, 5, 9, QByteArray("\x02LDB;05,01\x03\x04")}),
    [](const ::testing::TestParamInfo<PrepareCase>& info) { return std::string(info.param.name); });

TEST(PrepareCommand, FirmwareAndTestFileTypesGiveTheFirmwareRequest)
{
    DownloadJob job;
    job.firmwareRequest = QByteArray("\x1BLD;\x00\x7F\x00\x00,ab\x0A\x00", 13);
    EXPECT_EQ(BuildPrepareCommand(job, 5), job.firmwareRequest);
    EXPECT_EQ(BuildPrepareCommand(job, 4), job.firmwareRequest);
}

struct AllocationCase {
    const char* name;
    int kanjiVariant;
    bool keepBasic;
    bool variable;
    QByteArray expected;
};

class AllocationCommand : public ::testing::TestWithParam<AllocationCase> {};

TEST_P(AllocationCommand, VariantAndBasicArea)
{
    const AllocationCase& c = GetParam();
    DownloadJob job = jobWith(64, c.variable, ControlCodes::forType(2));
    job.trueTypeBlocks = 8;
    job.bitmapBlocks = 4;
    job.basicBlocks = 14;
    job.kanjiVariant = c.kanjiVariant;
    job.keepBasicArea = c.keepBasic ? 1 : 0;
    EXPECT_EQ(BuildAllocationCommand(job), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AllocationCommand,
                         ::testing::Values(AllocationCase{"plain", 0, false, false, "{XF;08,04,14|}"},
                                           AllocationCase{"keepBasic", 0, true, false, "{XF;08,04,AA|}"},
                                           AllocationCase{"kanji1", 1, false, false, "{XF1;08,04,14|}"},
                                           AllocationCase{"kanji2", 2, true, false, "{XF2;08,04,AA|}"},
                                           AllocationCase{"variableBraces", 2, false, true, "{XF2;08,04,14|}"}),
                         [](const ::testing::TestParamInfo<AllocationCase>& info) { return std::string(info.param.name); });

TEST(AllocationCommand, ManualCodesReplaceTheBraces)
{
    DownloadJob job = jobWith(64, true, ControlCodes::forType(3, 0x02, 0x03, 0x04));
    EXPECT_EQ(BuildAllocationCommand(job), QByteArray("\x02XF;00,00,00\x03\x04"));
    EXPECT_EQ(BuildAllocationCommand(job).size(), 14);
}

void makeReady(DownloadItem& item)
{
    item.text = QStringLiteral("file");
    item.bytes = "x";
    item.prepared = true;
}

TEST(CountDownloadSteps, CountsWantedReadyItemsAndSwitches)
{
    DownloadJob job;
    EXPECT_EQ(CountDownloadSteps(job), 0);
    job.doVormexSwitch = 1;
    EXPECT_EQ(CountDownloadSteps(job), 1);
    job.doBasicMain = 1;  // wanted but no file chosen: not counted
    EXPECT_EQ(CountDownloadSteps(job), 1);
    makeReady(job.item(DownloadItem::BasicMain));
    makeReady(job.item(DownloadItem::TestFile));  // ready but not wanted
    job.doAllocation = 1;
    EXPECT_EQ(CountDownloadSteps(job), 3);
    job.doTestFile = 1;
    EXPECT_EQ(CountDownloadSteps(job), 4);

    job.mode = DownloadJob::FirmwareMode;
    EXPECT_EQ(CountDownloadSteps(job), 0);
    makeReady(job.item(DownloadItem::Firmware));
    EXPECT_EQ(CountDownloadSteps(job), 1);
}

}  // namespace
