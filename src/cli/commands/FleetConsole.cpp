#include "commands/FleetConsole.h"

#include "CliContext.h"
#include "fleet/FleetOutcome.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

#include <sys/ioctl.h>
#include <unistd.h>
#include <wchar.h>

namespace vormex::cli {
namespace {

// The first of SIGINT and SIGTERM that came, set by the handler and read by the thread that
// follows the run; 0 while none came.
volatile std::sig_atomic_t cancelSignal = 0;
constexpr int kCancelSignals[] = {SIGINT, SIGTERM};
struct sigaction previousHandlers[std::size(kCancelSignals)];

extern "C" void onFleetSignal(int signal)
{
    if (cancelSignal == 0)
        cancelSignal = signal;
}

constexpr int kBarWidth = 20;
constexpr auto kRefresh = std::chrono::milliseconds(100);
constexpr auto kPoll = std::chrono::milliseconds(10);
constexpr int kCancelWaitMs = 60000;  // as long as a download dialog waits for its worker

QString bar(int percent)
{
    const int filled = std::clamp(percent, 0, 100) * kBarWidth / 100;
    return QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.')) + QLatin1Char(']');
}

// Columns a character takes on the terminal: two for the wide ones of Japanese text. A locale
// that does not know the character gets the wider guess, so that a line never wraps.
int columnsOf(char32_t c)
{
    const int width = ::wcwidth(static_cast<wchar_t>(c));
    if (width >= 0)
        return width;
    return c < 0x80 ? 1 : 2;
}

// `line` cut to at most `columns` terminal columns, never inside a character.
QString cutToColumns(const QString& line, int columns)
{
    int used = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        char32_t c = line[i].unicode();
        qsizetype units = 1;
        if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(line[i], line[i + 1]);
            units = 2;
        }
        used += columnsOf(c);
        if (used > columns)
            break;
        i += units;
    }
    return line.left(i);
}

struct TerminalSize {
    int columns = 80;
    int rows = 24;
};

TerminalSize terminalSize()
{
    TerminalSize size;
    winsize window{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &window) == 0 && window.ws_col > 0) {
        size.columns = window.ws_col;
        size.rows = std::max<int>(window.ws_row, 4);
    }
    return size;
}

}  // namespace

struct FleetConsole::Screen {
    std::mutex mutex;
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    FleetAction action = FleetAction::Apply;
    QStringList names;
    int nameWidth = 0;
    QStringList latest;         // each target's last log line (shown in its progress line on a terminal)
    std::vector<bool> closed;   // each target's closing line is out
    QStringList block;          // the progress lines on screen, below the log

    // Clears the progress lines line by line and leaves the cursor where they began. Not with
    // "erase below": from the screen's top corner (a block as tall as the terminal) terminals
    // such as tmux take that for clearing the screen and keep a copy of it in the scrollback.
    void eraseBlock()
    {
        if (block.isEmpty())
            return;
        const QByteArray up = block.size() > 1 ? "\033[" + QByteArray::number(block.size() - 1) + "A" : QByteArray();
        QByteArray erase = "\r" + up;
        for (qsizetype i = 0; i < block.size(); ++i)
            erase += i + 1 < block.size() ? "\033[2K\033[B" : "\033[2K";
        std::fputs((erase + up).constData(), stderr);
    }
    void drawBlock()
    {
        if (!block.isEmpty())
            std::fputs(block.join(QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    }
    // Prints `text` above the progress lines, each of its lines prefixed with the target's name
    // (index -1: the fleet's own line, no prefix).
    void print(int index, const QString& text)
    {
        const QString prefix = index >= 0 && index < names.size() ? names[index] + QStringLiteral(": ") : QString();
        QString out;
        for (const QString& part : terminalText(text).split(QLatin1Char('\n')))
            out += prefix + part + QLatin1Char('\n');
        std::lock_guard lock(mutex);
        eraseBlock();
        std::fputs(out.toLocal8Bit().constData(), stderr);
        drawBlock();
        std::fflush(stderr);
    }
    // A log line of a target: printed as it comes, or on a terminal shown in its progress line.
    void log(int index, const QString& text)
    {
        if (!terminal) {
            print(index, text);
            return;
        }
        std::lock_guard lock(mutex);
        if (index >= 0 && index < latest.size())
            latest[index] = terminalText(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    QString latestOf(int index)
    {
        std::lock_guard lock(mutex);
        return latest.value(index);
    }
    // The target's closing line, once.
    void close(int index, const QString& text)
    {
        {
            std::lock_guard lock(mutex);
            if (index < 0 || static_cast<size_t>(index) >= closed.size() || closed[static_cast<size_t>(index)])
                return;
            closed[static_cast<size_t>(index)] = true;
        }
        print(index, text);
    }
    void showProgress(const QStringList& lines)
    {
        if (!terminal)
            return;
        std::lock_guard lock(mutex);
        eraseBlock();
        block = lines;
        drawBlock();
        std::fflush(stderr);
    }
};

namespace {

QString closingLine(FleetAction action, const TargetReport& report)
{
    const QString seconds = QString::number(report.seconds, 'f', 1);
    switch (report.result) {
    case TargetResult::Ok:
        return QStringLiteral("%1 (%2 s)").arg(TargetOutcomeWord(action, report), seconds);
    case TargetResult::Failed:
        return QStringLiteral("failed (%1 s): %2").arg(seconds, report.message);
    default:
        return TargetResultWord(report.result);
    }
}

class ConsoleObserver : public FleetObserver {
public:
    explicit ConsoleObserver(std::shared_ptr<FleetConsole::Screen> screen) : screen_(std::move(screen)) {}
    void logLine(int target, const QString& line) override { screen_->log(target, line); }
    void targetFinished(int target, const TargetReport& report) override { screen_->close(target, closingLine(screen_->action, report)); }

private:
    std::shared_ptr<FleetConsole::Screen> screen_;
};

// "dock-01  [#####...............]  25%  1/4  item  60%  ＶＯＲＭＥＸ　ＯＦＦ": the job's and
// the item's progress and the target's last log line.
QString targetLine(const QString& name, int nameWidth, const TargetProgress& progress, const QString& latest)
{
    const QString head = name.leftJustified(nameWidth) + QStringLiteral("  ");
    if (progress.phase == QLatin1String("verify"))
        return head + QStringLiteral("reading back to verify  ") + latest;
    if (progress.phase == QLatin1String("read"))
        return head + QStringLiteral("reading back  ") + latest;
    return head + QStringLiteral("%1 %2%  %3/%4  item %5%  %6")
                      .arg(bar(progress.jobPercent))
                      .arg(progress.jobPercent, 3)
                      .arg(progress.stepsDone)
                      .arg(progress.stepsTotal)
                      .arg(progress.itemPercent, 3)
                      .arg(latest);
}

// One line per running target (as many as the terminal has room for), then the fleet's line;
// every line cut to the terminal's width (wide characters take two columns) so that none wraps.
QStringList progressLines(FleetConsole::Screen& screen, const std::vector<TargetProgress>& all)
{
    const TerminalSize size = terminalSize();
    int ended = 0, ok = 0, failed = 0, running = 0;
    QStringList lines;
    const int room = size.rows - 2;
    for (size_t i = 0; i < all.size(); ++i) {
        const TargetProgress& progress = all[i];
        switch (progress.state) {
        case TargetResult::Running:
            ++running;
            if (lines.size() < room)
                lines << targetLine(screen.names.value(static_cast<qsizetype>(i)), screen.nameWidth, progress,
                                    screen.latestOf(static_cast<int>(i)));
            break;
        case TargetResult::Ok: ++ok, ++ended; break;
        case TargetResult::Failed: ++failed, ++ended; break;
        case TargetResult::Cancelled: ++ended; break;
        case TargetResult::Waiting: break;
        }
    }
    if (running > lines.size())
        lines << QStringLiteral("... and %1 more running").arg(running - lines.size());
    const int total = static_cast<int>(all.size());
    const int percent = total > 0 ? ended * 100 / total : 100;
    // The counts first: on a narrow terminal the bar is what gets cut.
    lines << QStringLiteral("fleet  %1/%2 ended  ok %3  failed %4  running %5  waiting %6  %7")
                 .arg(ended).arg(total).arg(ok).arg(failed).arg(running)
                 .arg(total - ended - running)
                 .arg(bar(percent));
    for (QString& line : lines)
        line = cutToColumns(line, std::max(size.columns - 1, 10));
    return lines;
}

}  // namespace

FleetConsole::FleetConsole(const QStringList& names, FleetAction fleetAction) : screen_(std::make_shared<Screen>())
{
    screen_->action = fleetAction;
    screen_->names = names;
    screen_->latest = QStringList(names.size(), QString());
    screen_->closed.assign(static_cast<size_t>(names.size()), false);
    for (const QString& name : names)
        screen_->nameWidth = std::max<int>(screen_->nameWidth, static_cast<int>(name.size()));
    screen_->nameWidth = std::max(screen_->nameWidth, 5);
    cancelSignal = 0;
    struct sigaction action {};
    action.sa_handler = onFleetSignal;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kCancelSignals); ++i)
        previousHandlersSaved_[i] = ::sigaction(kCancelSignals[i], &action, &previousHandlers[i]) == 0;
}

FleetConsole::~FleetConsole()
{
    for (size_t i = 0; i < std::size(kCancelSignals); ++i)
        if (previousHandlersSaved_[i])
            ::sigaction(kCancelSignals[i], &previousHandlers[i], nullptr);
}

std::shared_ptr<FleetObserver> FleetConsole::observer() const { return std::make_shared<ConsoleObserver>(screen_); }

int FleetConsole::follow(FleetRun& run)
{
    auto nextDraw = std::chrono::steady_clock::now();
    bool cancelled = false;
    while (run.running()) {
        if (cancelSignal != 0 && !cancelled) {
            cancelled = true;
            run.RequestCancel();
            screen_->print(-1, QStringLiteral("vormexctl: %1: cancelling every target").arg(cancelSignal == SIGTERM ? "SIGTERM" : "SIGINT"));
        }
        if (std::chrono::steady_clock::now() >= nextDraw) {
            screen_->showProgress(progressLines(*screen_, run.progress()));
            nextDraw += kRefresh;
        }
        std::this_thread::sleep_for(kPoll);
    }
    run.waitFinished(kCancelWaitMs);
    screen_->showProgress({});
    const std::vector<TargetReport> reports = run.reports();
    for (size_t i = 0; i < reports.size(); ++i)
        screen_->close(static_cast<int>(i), closingLine(screen_->action, reports[i]));
    return static_cast<int>(cancelSignal);
}

}  // namespace vormex::cli
