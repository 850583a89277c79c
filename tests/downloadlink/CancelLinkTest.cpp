// A cancel reaches the engine in the middle of a wait and between firmware blocks.
#include "LinkFixture.h"

#include "download/DownloadMessages.h"
#include "download/PrepareItem.h"

#include "support/TestSupport.h"

#include <chrono>
#include <thread>

namespace vormex::test {
namespace {

using namespace download_messages;
using Clock = std::chrono::steady_clock;

const bool kTimeScaleSet = [] { return ::setenv("VORMEX_TIME_SCALE", "0.02", 0) == 0; }();

// Waits (real time, bounded) until the printer has received at least `count` bytes.
bool receivedAtLeast(const FakePrinter& printer, qsizetype count)
{
    const auto end = Clock::now() + std::chrono::seconds(60);
    while (printer.received().size() < count) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Cancels and gives the real milliseconds until the engine has ended.
long long cancelAndMeasure(DownloadRunner& runner)
{
    const auto start = Clock::now();
    runner.RequestCancel();
    EXPECT_TRUE(runner.waitFinished(600000));
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

using CancelTest = LinkFixture;

TEST_F(CancelTest, CancelInTheMiddleOfAWaitEndsTheJobPromptly)
{
    FakePrinterBehaviour silent;
    silent.answerQueries = false;
    auto printer = FakePrinter::Pty(silent);
    LinkSettings settings = comSettings(*printer);
    settings.waitTimeMs = 3'000'000;  // a wait far longer than the test
    DownloadJob job;
    job.doAllocation = 1;
    auto runner = DownloadRunner::StartJob(job, settings, false);
    ASSERT_TRUE(receivedAtLeast(*printer, 10));  // "!T" and the first status request
    EXPECT_LT(cancelAndMeasure(*runner), 300);
    EXPECT_EQ(runner->progress().logText(), logOf({kDownloadStart, kVormexOff, kVormexSwitchFailed}));
    EXPECT_FALSE(printer->received().contains("{XF"));
    EXPECT_FALSE(runner->progress().completed.load());
}

TEST_F(CancelTest, CancelBetweenFirmwareBlocksSendsNoFurtherBlock)
{
    writeFile(path(QStringLiteral("fw.rom")), firmwareFile(16 * 65536, 0x100000));
    DownloadJob job;
    job.mode = DownloadJob::FirmwareMode;
    ASSERT_EQ(PrepareItem(job, DownloadItem::Firmware, path(QStringLiteral("fw.rom")), {}), 1);
    FakePrinterBehaviour noAcks;  // ready, then never acknowledges a block
    noAcks.blockSizes = std::vector<int>(16, 65536);
    auto printer = FakePrinter::Lan(noAcks);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), true);
    ASSERT_TRUE(receivedAtLeast(*printer, 13 + 4 + 65536));
    EXPECT_LT(cancelAndMeasure(*runner), 300);
    EXPECT_EQ(printer->received().size(), 13 + 4 + 65536);
    EXPECT_FALSE(runner->progress().logText().contains(logOf({kFirmwareDone})));
    EXPECT_FALSE(runner->progress().completed.load());
}

TEST_F(CancelTest, AnObserverThatGoesAwayHearsNothingMoreAndTheEngineCarriesOn)
{
    struct Counting : DownloadObserver {
        void logLine(const QString&) override { ++lines; }
        std::atomic<int> lines{0};
    };
    auto printer = FakePrinter::Lan({});
    auto observer = std::make_shared<Counting>();
    DownloadJob job;
    job.doVormexSwitch = 1;
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), false, observer);
    runner->detachObserver();
    const int heard = observer->lines.load();
    observer.reset();
    EXPECT_EQ(finish(*runner), logOf({kDownloadStart, kVormexSwitchStart, kVormexSwitchDone, kDownloadDone}));
    EXPECT_LE(heard, 2);
}

}  // namespace
}  // namespace vormex::test
