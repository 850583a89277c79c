// The firmware transfer against a fake printer.
#include "LinkFixture.h"

#include "download/DownloadMessages.h"
#include "download/PrepareItem.h"

#include "support/TestSupport.h"

namespace vormex::test {
namespace {

using namespace download_messages;

const bool kTimeScaleSet = [] { return ::setenv("VORMEX_TIME_SCALE", "0.02", 0) == 0; }();

constexpr int k8K = 8192;
constexpr int k64K = 65536;

class FirmwareTest : public LinkFixture {
protected:
    // A firmware job prepared from a file of `body` bytes and a trailer naming `address`.
    DownloadJob firmwareJob(qint64 body, std::uint32_t address)
    {
        file_ = firmwareFile(body, address);
        writeFile(path(QStringLiteral("fw.rom")), file_);
        DownloadJob job;
        job.mode = DownloadJob::FirmwareMode;
        EXPECT_EQ(PrepareItem(job, DownloadItem::Firmware, path(QStringLiteral("fw.rom")), {}), 1);
        return job;
    }
    // What the printer receives: the request, the prefix and the body without the trailer.
    QByteArray expectedBytes(const DownloadJob& job, qint64 body) const
    {
        return job.firmwareRequest + QByteArray("\x1bLP;", 4) + file_.left(body);
    }

    QByteArray file_;
};

QString firmwareLog() { return logOf({kPreparing, kPrepared, kFirmwareStart, kFirmwareDone}); }

TEST_F(FirmwareTest, HandshakePrinterGetsSmallBlocksInTheFirstRangeAndAcknowledgesEach)
{
    const qint64 body = 8 * k8K + 2 * k64K;  // 0x7F0000..0x800000 in 8 KB blocks, then two 64 KB blocks
    DownloadJob job = firmwareJob(body, 0x7F0000);
    FakePrinterBehaviour behaviour;
    behaviour.blockSizes = {k8K, k8K, k8K, k8K, k8K, k8K, k8K, k8K, k64K, k64K};
    behaviour.blockAcks = true;
    auto printer = FakePrinter::Lan(behaviour);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), true);
    EXPECT_EQ(finish(*runner), firmwareLog());
    EXPECT_EQ(printer->received(), expectedBytes(job, body));  // the trailer is not sent
    EXPECT_TRUE(runner->progress().completed.load());
}

TEST_F(FirmwareTest, HandshakePrinterGetsSmallBlocksInTheSecondRange)
{
    const qint64 body = 8 * k8K + k64K;
    DownloadJob job = firmwareJob(body, 0x8FF0000);
    FakePrinterBehaviour behaviour;
    behaviour.blockSizes = {k8K, k8K, k8K, k8K, k8K, k8K, k8K, k8K, k64K};
    behaviour.blockAcks = true;
    auto printer = FakePrinter::Lan(behaviour);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), true);
    EXPECT_EQ(finish(*runner), firmwareLog());
    EXPECT_EQ(printer->received(), expectedBytes(job, body));
}

TEST_F(FirmwareTest, PrinterWithoutHandshakeOnLanGetsBlocksBackToBackThenConfirmsTheEnd)
{
    const qint64 body = 3 * k64K + 512;
    DownloadJob job = firmwareJob(body, 0x7F0000);  // small blocks are for handshake printers only
    FakePrinterBehaviour behaviour;
    behaviour.blockSizes = {k64K, k64K, k64K, 512};
    auto printer = FakePrinter::Lan(behaviour);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), false);
    EXPECT_EQ(finish(*runner), firmwareLog());
    EXPECT_EQ(printer->received(), expectedBytes(job, body));
}

TEST_F(FirmwareTest, OverComEveryBlockIsAcknowledged)
{
    const qint64 body = 2 * k64K;
    DownloadJob job = firmwareJob(body, 0x100000);
    FakePrinterBehaviour behaviour;
    behaviour.blockSizes = {k64K, k64K};
    behaviour.blockAcks = true;
    auto printer = FakePrinter::Pty(behaviour);
    auto runner = DownloadRunner::StartJob(job, comSettings(*printer), false);
    EXPECT_EQ(finish(*runner), firmwareLog());
    EXPECT_EQ(printer->received(), expectedBytes(job, body));
}

TEST_F(FirmwareTest, OverLptNothingIsReadAndPausesStandInForTheAnswers)
{
    const qint64 body = 2 * k64K;
    DownloadJob job = firmwareJob(body, 0x7F0000);
    auto printer = FakePrinter::Fifo({}, path(QStringLiteral("lpt")));
    auto runner = DownloadRunner::StartJob(job, lptSettings(printer->address()), true);
    EXPECT_EQ(finish(*runner), firmwareLog());
    EXPECT_EQ(printer->received(), expectedBytes(job, body));
}

TEST_F(FirmwareTest, AChecksumErrorDuringTheBlocksEndsTheJob)
{
    const qint64 body = 4 * k64K;
    DownloadJob job = firmwareJob(body, 0x100000);
    FakePrinterBehaviour behaviour;
    behaviour.blockSizes = {k64K, k64K, k64K, k64K};
    behaviour.blockAcks = true;
    behaviour.faultAtBlock = 1;
    auto printer = FakePrinter::Lan(behaviour);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), true);
    EXPECT_EQ(finish(*runner), logOf({kPreparing, kPrepared, kFirmwareStart, 8031}));
    EXPECT_EQ(printer->received(), expectedBytes(job, 2 * k64K));
    EXPECT_FALSE(runner->progress().completed.load());
}

TEST_F(FirmwareTest, APrinterThatNeverGetsReadyTimesOut)
{
    DownloadJob job = firmwareJob(k64K, 0x100000);
    FakePrinterBehaviour behaviour;
    behaviour.blockSizes = {k64K};
    behaviour.readyStatus = 0;
    auto printer = FakePrinter::Lan(behaviour);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), false);
    EXPECT_EQ(finish(*runner), logOf({kPreparing, 8044}));
    EXPECT_EQ(printer->received(), expectedBytes(job, 0));
}

TEST_F(FirmwareTest, AConnectionDroppedDuringTheBlocksFailsTheFirmware)
{
    const qint64 body = 64 * k64K;
    DownloadJob job = firmwareJob(body, 0x100000);
    FakePrinterBehaviour behaviour;
    behaviour.blockSizes = std::vector<int>(64, k64K);
    behaviour.dropAfterBytes = 13 + 4 + 3 * k64K + 100;
    auto printer = FakePrinter::Lan(behaviour);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), false);
    const QString log = finish(*runner);
    EXPECT_TRUE(log.startsWith(logOf({kPreparing, kPrepared, kFirmwareStart})));
    EXPECT_FALSE(log.contains(logOf({kFirmwareDone}))) << log.toStdString();
    EXPECT_FALSE(runner->progress().completed.load());
}

}  // namespace
}  // namespace vormex::test
