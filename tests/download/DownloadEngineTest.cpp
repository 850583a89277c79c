// The pure parts of the download engines: block sizes, waits, pauses, progress and preparation.
#include "download/DownloadProgress.h"
#include "download/DownloadSequence.h"
#include "download/FirmwareTransfer.h"
#include "download/PrepareItem.h"

#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vormex;

namespace {

TEST(FirmwareBlockSize, SmallBlocksOnlyInTheTwoRangesOfHandshakePrinters)
{
    struct Case {
        std::uint32_t address;
        bool handshake;
        int size;
    };
    const Case cases[] = {
        {0x7EFFFF, true, 65536}, {0x7F0000, true, 8192},  {0x7FE000, true, 8192},  {0x7FE001, true, 65536},
        {0x800000, true, 65536}, {0x8FF0000, true, 8192}, {0x8FFE000, true, 8192}, {0x8FFE001, true, 65536},
        {0x7F0000, false, 65536}, {0x8FF0000, false, 65536},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirmwareTransfer::BlockSizeAt(c.address, c.handshake), c.size) << std::hex << c.address;
}

TEST(FirmwareFinalWait, GrowsWithTheImageAndIsHalvedForQkbOnUsb)
{
    EXPECT_EQ(FirmwareTransfer::FinalWaitMs(1048576, PortKind::Lan, false), 16 * 1500 + 10000);
    EXPECT_EQ(FirmwareTransfer::FinalWaitMs(1048576 + 65535, PortKind::Com, true), 16 * 1500 + 10000);
    EXPECT_EQ(FirmwareTransfer::FinalWaitMs(1048576, PortKind::Usb, false), 16 * 1500 + 25000);
    EXPECT_EQ(FirmwareTransfer::FinalWaitMs(1048576, PortKind::Usb, true), (16 * 1500 + 25000) / 2);
}

TEST(AllocationPause, DependsOnTheCommandVariant)
{
    EXPECT_EQ(DownloadSequence::AllocationPauseMs(0), 30000);
    EXPECT_EQ(DownloadSequence::AllocationPauseMs(1), 60000);
    EXPECT_EQ(DownloadSequence::AllocationPauseMs(2), 40000);
}

TEST(DownloadProgress, JobPercentIsRoundedAndTheLastStepGivesFullBars)
{
    DownloadProgress progress;
    EXPECT_EQ(progress.totalSteps.load(), 99);
    progress.startCounting(3);
    progress.itemPercent = 55;
    progress.finishStep();
    EXPECT_EQ(progress.jobPercent.load(), 33);
    EXPECT_EQ(progress.itemPercent.load(), 0);
    progress.finishStep();
    EXPECT_EQ(progress.jobPercent.load(), 67);
    progress.finishStep();
    EXPECT_EQ(progress.jobPercent.load(), 100);
    EXPECT_EQ(progress.itemPercent.load(), 100);
}

TEST(DownloadProgress, ItemPercentFollowsThePortOrTheFirmwareBytes)
{
    DownloadProgress progress;
    PrinterPort port;
    port.progressPercent = 42;
    EXPECT_EQ(progress.displayedItemPercent(port), 42);
    port.progressPercent = -1;
    EXPECT_EQ(progress.displayedItemPercent(port), 42);  // untracked: the last value stays
    progress.firmwareMode = true;
    progress.firmwareBytesTotal = 1000;
    progress.firmwareBytesSent = 500;
    port.bytesDone = 129;
    EXPECT_EQ(progress.displayedItemPercent(port), 62);  // cut, not rounded
}

TEST(DownloadProgress, LogLinesEndWithCrLfAndADetachedObserverHearsNothing)
{
    struct Counting : DownloadObserver {
        void logLine(const QString&) override { ++lines; }
        int lines = 0;
    };
    auto observer = std::make_shared<Counting>();
    DownloadProgress progress(observer);
    progress.log(QStringLiteral("a"));
    progress.detachObserver();
    progress.log(QStringLiteral("b"));
    EXPECT_EQ(progress.logText(), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(observer->lines, 1);
}

class PrepareBasic : public ::testing::Test {
protected:
    QString source(const char* name, const QByteArray& text)
    {
        const QString path = dir_.filePath(QLatin1String(name));
        test::writeFile(path, text);
        return path;
    }
    QTemporaryDir dir_;
};

TEST_F(PrepareBasic, MainProgramIsAnEnvelopeOfWholeBlocksAndSetsItsBlockCount)
{
    for (const int blockSizeKb : {64, 128}) {
        DownloadJob job;
        job.blockSizeKb = blockSizeKb;
        const QString path = source("main.bas", "10 PRINT \"A\"\r\n20 END\r\n");
        ASSERT_EQ(PrepareItem(job, DownloadItem::BasicMain, path, {}), 1);
        const DownloadItem& item = job.item(DownloadItem::BasicMain);
        EXPECT_TRUE(item.ready());
        const qint64 area = item.bytes.size() - 7;
        EXPECT_EQ(area % (blockSizeKb * 1024), 0);
        EXPECT_EQ(job.basicMainBlocks, area / (blockSizeKb * 1024));
        EXPECT_TRUE(item.bytes.startsWith("{LP;"));
        EXPECT_EQ(item.bytes.mid(item.bytes.size() - 3, 2), QByteArray("|}"));
        quint8 sum = 0;
        for (qsizetype i = 4; i < item.bytes.size() - 3; ++i)
            sum = static_cast<quint8>(sum + static_cast<quint8>(item.bytes[i]));
        EXPECT_EQ(static_cast<quint8>(sum + static_cast<quint8>(item.bytes.back())), 0);
    }
}

TEST_F(PrepareBasic, AProgramThatDoesNotEncodeEmptiesItsItemWithTheEncodersMessage)
{
    DownloadJob job;
    job.blockSizeKb = 64;
    DownloadItem& item = job.item(DownloadItem::BasicSystem);
    item.text = QStringLiteral("old.bas");
    item.bytes = "old";
    item.prepared = true;
    QString message;
    EXPECT_EQ(PrepareItem(job, DownloadItem::BasicSystem, source("bad.bas", "10 GOTO 99\r\n"), {}, &message), 0);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(item.text.isEmpty());
    EXPECT_TRUE(item.bytes.isEmpty());
    EXPECT_FALSE(item.ready());
}

TEST_F(PrepareBasic, TestFileIsSentAsItIs)
{
    DownloadJob job;
    const QByteArray bytes("\x1b" "A\r\nraw bytes\x00\xff", 16);
    ASSERT_EQ(PrepareItem(job, DownloadItem::TestFile, source("t.txt", bytes), {}), 1);
    EXPECT_EQ(job.item(DownloadItem::TestFile).bytes, bytes);
    QString message;
    EXPECT_EQ(PrepareItem(job, DownloadItem::TestFile, dir_.filePath(QStringLiteral("none")), {}, &message), 0);
    EXPECT_TRUE(message.startsWith(dir_.filePath(QStringLiteral("none"))));
    EXPECT_FALSE(job.item(DownloadItem::TestFile).ready());
}

}  // namespace
