#include "commands/DownloadConsole.h"

#include "CliContext.h"
#include "timing/PacingClock.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

#include <sys/ioctl.h>
#include <unistd.h>

namespace vormex::cli {
namespace {

// Set by the SIGINT handler, read by the thread that follows the download. A signal handler can
// reach nothing but a flag of its own.
volatile std::sig_atomic_t interruptRequested = 0;
struct sigaction previousHandler;

extern "C" void onInterrupt(int) { interruptRequested = 1; }

constexpr int kMaxBarWidth = 30;
constexpr int kMinBarWidth = 5;
constexpr int kMinFileWidth = 16;
constexpr int kDefaultColumns = 80;
constexpr auto kRefresh = std::chrono::milliseconds(100);
constexpr auto kPoll = std::chrono::milliseconds(10);
constexpr int kCancelWaitMs = 60000;  // as long as a download dialog waits for its worker

QString bar(int percent, int width)
{
    const int filled = std::clamp(percent, 0, 100) * width / 100;
    return QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char('.'));
}

// The width of the terminal on stderr (COLUMNS, else 80, when it does not say).
int terminalColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    bool ok = false;
    const int columns = qEnvironmentVariableIntValue("COLUMNS", &ok);
    return ok && columns > 0 ? columns : kDefaultColumns;
}

}  // namespace

QString ElideMiddle(const QString& text, int width)
{
    if (width <= 0)
        return {};
    if (text.size() <= width)
        return text;
    if (width <= 3)
        return text.left(width);
    const int tail = (width - 3) / 2;
    const int head = width - 3 - tail;
    return text.left(head) + QStringLiteral("...") + text.right(tail);
}

QString ProgressLine(const QString& file, int itemPercent, int jobPercent, int columns)
{
    // The last column stays free: a terminal that wraps at it would scroll instead of redrawing.
    const int room = std::max(columns - 1, 1);
    const auto percent = [](int value) { return QStringLiteral("%1%").arg(std::clamp(value, 0, 100), 3); };
    // "[bar] 100%  [bar] 100%  file": everything but the bars and the file takes 18 columns.
    constexpr int kFixed = 18;
    const int barWidth = std::clamp((room - kFixed - kMinFileWidth) / 2, kMinBarWidth, kMaxBarWidth);
    QString line = QStringLiteral("[%1] %2  [%3] %4").arg(bar(itemPercent, barWidth), percent(itemPercent),
                                                          bar(jobPercent, barWidth), percent(jobPercent));
    const int fileWidth = room - int(line.size()) - 2;
    if (!file.isEmpty() && fileWidth > 0)
        line += QStringLiteral("  ") + ElideMiddle(file, fileWidth);
    return line.left(room);
}

namespace {
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
        const QByteArray text = "\r\033[K" + ProgressLine(file, itemPercent, jobPercent, terminalColumns()).toLocal8Bit();
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
    void detail(const QString& text) override { screen_->line(QStringLiteral("vormexctl: ") + text); }

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

QString DownloadConsole::cancelNote(const DownloadRunner& runner)
{
    const QString log = runner.progress().logText();
    if (runner.progress().firmwareMode.load())
        return QStringLiteral("vormexctl: cancelled; the printer may be left in its firmware download mode with part of an image: "
                              "start the firmware download again");
    if (log.isEmpty())
        return QStringLiteral("vormexctl: cancelled before anything was sent");
    return QStringLiteral("vormexctl: cancelled; the printer may be left with VORMEX off and a file half stored: "
                          "run the download again, or 'vormexctl vormex on'");
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
            screen_->line(cancelNote(runner));
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
    if (interruptRequested) {
        screen_->line(cancelNote(runner));
        return kExitInterrupted;
    }
    return runner.progress().completed.load() ? kExitOk : kExitFailure;
}

}  // namespace vormex::cli
