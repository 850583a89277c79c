#include "commands/DownloadConsole.h"

#include "CliContext.h"
#include "timing/PacingClock.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace vormex::cli {
namespace {

// Set by the SIGINT handler, read by the thread that follows the download. A signal handler can
// reach nothing but a flag of its own.
volatile std::sig_atomic_t interruptRequested = 0;
struct sigaction previousHandler;

extern "C" void onInterrupt(int) { interruptRequested = 1; }

constexpr int kBarWidth = 30;
constexpr auto kRefresh = std::chrono::milliseconds(100);
constexpr auto kPoll = std::chrono::milliseconds(10);
constexpr int kCancelWaitMs = 60000;  // as long as a download dialog waits for its worker

QByteArray bar(int percent)
{
    const int filled = std::clamp(percent, 0, 100) * kBarWidth / 100;
    return QByteArray(filled, '#') + QByteArray(kBarWidth - filled, '.');
}

}  // namespace

// The terminal, shared by the engine's thread (log lines) and the following thread (the bar).
struct DownloadConsole::Screen {
    std::mutex mutex;
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    bool barShown = false;

    void clearBar()
    {
        if (barShown)
            std::fputs("\r\033[K", stderr);
        barShown = false;
    }
    void line(const QString& text)
    {
        std::lock_guard lock(mutex);
        clearBar();
        std::fputs(terminalText(text).toLocal8Bit().constData(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
    void drawBar(const QString& file, int itemPercent, int jobPercent)
    {
        if (!terminal)
            return;
        std::lock_guard lock(mutex);
        const QByteArray text = "\r\033[K[" + bar(itemPercent) + "] " + QByteArray::number(itemPercent) + "%  [" + bar(jobPercent)
                                + "] " + QByteArray::number(jobPercent) + "%  " + file.toLocal8Bit();
        std::fputs(text.constData(), stderr);
        std::fflush(stderr);
        barShown = true;
    }
    void endBar()
    {
        std::lock_guard lock(mutex);
        clearBar();
        std::fflush(stderr);
    }
};

namespace {

class ConsoleObserver : public DownloadObserver {
public:
    explicit ConsoleObserver(std::shared_ptr<DownloadConsole::Screen> screen) : screen_(std::move(screen)) {}
    void logLine(const QString& line) override { screen_->line(line); }

private:
    std::shared_ptr<DownloadConsole::Screen> screen_;
};

}  // namespace

DownloadConsole::DownloadConsole() : screen_(std::make_shared<Screen>())
{
    interruptRequested = 0;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    previousHandlerSaved_ = ::sigaction(SIGINT, &action, &previousHandler) == 0;
}

DownloadConsole::~DownloadConsole()
{
    if (previousHandlerSaved_)
        ::sigaction(SIGINT, &previousHandler, nullptr);
}

std::shared_ptr<DownloadObserver> DownloadConsole::observer() const { return std::make_shared<ConsoleObserver>(screen_); }

int DownloadConsole::follow(DownloadRunner& runner)
{
    auto nextDraw = std::chrono::steady_clock::now();
    while (runner.running()) {
        if (interruptRequested) {
            runner.RequestCancel();
            runner.waitFinished(kCancelWaitMs);
            screen_->endBar();
            return kExitInterrupted;
        }
        if (std::chrono::steady_clock::now() >= nextDraw) {
            screen_->drawBar(runner.progress().currentFile(), runner.displayedItemPercent(),
                             runner.progress().jobPercent.load());
            nextDraw += kRefresh;
        }
        std::this_thread::sleep_for(kPoll);
    }
    runner.waitFinished(kCancelWaitMs);
    screen_->endBar();
    if (interruptRequested)
        return kExitInterrupted;
    return runner.progress().completed.load() ? kExitOk : kExitFailure;
}

}  // namespace vormex::cli
