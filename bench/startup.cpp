// Start-up time of the desktop program: from starting the process to the first paint of the main
// window, along the program's own start-up path (settings, strings, definitions, the main window
// with the printer settings page; the other pages are built when first shown), against a process
// that shows a bare QMainWindow holding one label of text (so both load fonts and shape text).
// Both run offscreen as whole processes (this program started again in a child mode), 20 times
// each, alternating, with a settings folder of their own. Reports both medians and `ratio` =
// program / bare (goal: at most 1.5), the median CPU time each used up to its first paint, which
// a busy machine disturbs less than the wall time, and for each page the median time of its first
// show, from the switch to its first paint (goal: at most 50 ms each).
#include "gui/shell/DesktopProgram.h"
#include "gui/shell/MainFrame.h"

#include "gui/pages/PageInterfaces.h"

#include <QApplication>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kRuns = 20;
const char* const kProgramMode = "--startup-child-program";
const char* const kBareMode = "--startup-child-bare";
const char* const kPagesMode = "--startup-child-pages";

// The pages shown after the start, in this order: the destination command and, for the
// initial-values group, its tab.
struct PageShow {
    const char* name;
    int page;
    int command;
    int tab;
};
constexpr PageShow kPageShows[] = {
    {"system_parameters", vormex::gui::kSystemParametersPage, 32819, 0},
    {"initial_values", vormex::gui::kInitialValuesPage, 32820, 0},
    {"font_tables", vormex::gui::kFontTablesPage, 32820, 1},
    {"drive_mapping", vormex::gui::kDriveMappingPage, 32820, 2},
    {"response_commands", vormex::gui::kResponseCommandsPage, 32820, 3},
    {"download", vormex::gui::kDownloadPage, 32821, 0},
    {"tools", vormex::gui::kToolsPage, 32822, 0},
};
constexpr int kPageShowCount = static_cast<int>(std::size(kPageShows));

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// CPU time of this process so far (user and system).
long long cpuNs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ns = [](const timeval& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_usec * 1000LL; };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

// In a child: the first paint of any widget of `window` writes the time to stdout and ends the
// process at once (what comes after the first paint is not measured).
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QWidget& window) : window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto* widget = qobject_cast<const QWidget*>(watched);
            if (widget && widget->window() == &window_) {
                std::printf("%lld %lld\n", monotonicNs(), cpuNs());
                std::fflush(stdout);
                _exit(0);
            }
        }
        return false;
    }

private:
    const QWidget& window_;
};

// Until `page` (or a widget in it) is painted; false after five seconds without.
class PagePaint : public QObject {
public:
    explicit PagePaint(QWidget& page) : page_(page) { QApplication::instance()->installEventFilter(this); }
    ~PagePaint() override { QApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && (widget == &page_ || page_.isAncestorOf(widget)))
            painted_ = true;
        return false;
    }
    bool wait()
    {
        const QDeadlineTimer deadline(5000);
        while (!painted_ && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return painted_;
    }

private:
    QWidget& page_;
    bool painted_ = false;
};

// In a child, once the window has been painted: shows every page for the first time and writes
// the milliseconds of each, from the switch to its first paint, on one line.
void showEveryPage(vormex::gui::CMainFrame& frame)
{
    for (const PageShow& show : kPageShows) {
        const long long start = monotonicNs();
        if (show.command == 32820)
            frame.SetInitialValuesTab(show.tab);
        frame.SwitchPage(show.command);
        QWidget* page = frame.page(show.page);
        PagePaint paint(*page);
        const bool shown = frame.shownPageIndex() == show.page && paint.wait();
        std::printf("%.3f ", shown ? static_cast<double>(monotonicNs() - start) / 1e6 : -1.0);
    }
    std::printf("\n");
    std::fflush(stdout);
    _exit(0);
}

class FirstPaintThenPages : public QObject {
public:
    explicit FirstPaintThenPages(vormex::gui::CMainFrame& frame) : frame_(frame) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (!started_ && event->type() == QEvent::Paint && widget && widget->window() == &frame_) {
            started_ = true;
            QTimer::singleShot(0, &frame_, [this] { showEveryPage(frame_); });
        }
        return false;
    }

private:
    vormex::gui::CMainFrame& frame_;
    bool started_ = false;
};

int runProgramChild(QApplication& application, bool pages)
{
    std::unique_ptr<QObject> watcher;
    return vormex::gui::RunDesktopProgram(application, [&watcher, pages](vormex::gui::CMainFrame& frame) {
        if (pages)
            watcher = std::make_unique<FirstPaintThenPages>(frame);
        else
            watcher = std::make_unique<FirstPaint>(frame);
        QApplication::instance()->installEventFilter(watcher.get());
    });
}

// The floor: a main window of the program's size with one label of text in the language the
// program starts in here (English: no "Language" setting), so fonts are loaded and text is shaped
// as on the program's first page.
int runBareChild(QApplication& application)
{
    QMainWindow window;
    window.resize(vormex::gui::CMainFrame::DefaultSize(false));
    window.setCentralWidget(new QLabel(QStringLiteral("VORMEX Setting Tool: Printer Settings"), &window));
    FirstPaint watcher(window);
    QApplication::instance()->installEventFilter(&watcher);
    window.show();
    return application.exec();
}

struct FirstPaintTime {
    double wallMs = -1;  // from the process start to the first paint; negative: no paint reported
    double cpuMs = -1;   // CPU time the child used until then (less sensitive to a busy machine)
};

// What a child run wrote on its stdout, and when it was started.
struct ChildRun {
    long long startNs = 0;
    std::string output;
};

// Starts this program in a child mode and waits for its end.
ChildRun runChildProcess(const char* mode, const QByteArray& home)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen", "HOME=" + home.toStdString(),
                                         "XDG_CONFIG_HOME=" + home.toStdString() + "/.config"};
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry(*variable);
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("HOME=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0)
            environment.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::vector<char> path(4096, 0);
    const ssize_t length = readlink(self.c_str(), path.data(), path.size() - 1);
    if (length <= 0)
        return {};
    std::string modeArgument(mode);
    char* argv[] = {path.data(), modeArgument.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, home.constData());
    const long long start = monotonicNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.data(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return {};
    }
    std::string output;
    char buffer[64];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {start, output};
}

std::string childOutput(const char* mode, const QByteArray& home) { return runChildProcess(mode, home).output; }

// Starts this program in a child mode and measures the way to its first paint.
FirstPaintTime timeToFirstPaint(const char* mode, const QByteArray& home)
{
    const ChildRun run = runChildProcess(mode, home);
    long long paintedAt = 0;
    long long cpu = 0;
    if (std::sscanf(run.output.c_str(), "%lld %lld", &paintedAt, &cpu) != 2)
        return {};
    return {static_cast<double>(paintedAt - run.startNs) / 1e6, static_cast<double>(cpu) / 1e6};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Starts this program in the pages mode: the first show of each page, in milliseconds; empty when
// the child did not report them all.
std::vector<double> pageShowTimes(const QByteArray& home)
{
    const std::string output = childOutput(kPagesMode, home);
    std::vector<double> times;
    const char* text = output.c_str();
    char* end = nullptr;
    for (double value = std::strtod(text, &end); end != text; value = std::strtod(text, &end)) {
        times.push_back(value);
        text = end;
    }
    const bool complete = times.size() == static_cast<size_t>(kPageShowCount) &&
                          std::none_of(times.begin(), times.end(), [](double ms) { return ms < 0; });
    return complete ? times : std::vector<double>{};
}

void BM_StartupToFirstPaint(benchmark::State& state)
{
    QTemporaryDir home;
    const QByteArray homePath = home.path().toLocal8Bit();
    std::vector<FirstPaintTime> program;
    std::vector<FirstPaintTime> bare;
    for (auto _ : state) {
        // One of each first, so both find the libraries and fonts in the file cache.
        timeToFirstPaint(kProgramMode, homePath);
        timeToFirstPaint(kBareMode, homePath);
        for (int i = 0; i < kRuns; ++i) {
            program.push_back(timeToFirstPaint(kProgramMode, homePath));
            bare.push_back(timeToFirstPaint(kBareMode, homePath));
        }
        const auto failed = [](const FirstPaintTime& time) { return time.wallMs < 0; };
        if (std::any_of(program.begin(), program.end(), failed) || std::any_of(bare.begin(), bare.end(), failed)) {
            state.SkipWithError("a child process did not paint");
            return;
        }
        const auto medianOf = [](const std::vector<FirstPaintTime>& times, double FirstPaintTime::*field) {
            std::vector<double> values;
            for (const FirstPaintTime& time : times)
                values.push_back(time.*field);
            return median(values);
        };
        const double programMs = medianOf(program, &FirstPaintTime::wallMs);
        const double bareMs = medianOf(bare, &FirstPaintTime::wallMs);
        state.SetIterationTime(programMs / 1000);
        state.counters["program_ms"] = programMs;
        state.counters["bare_ms"] = bareMs;
        state.counters["ratio"] = programMs / bareMs;
        state.counters["program_cpu_ms"] = medianOf(program, &FirstPaintTime::cpuMs);
        state.counters["bare_cpu_ms"] = medianOf(bare, &FirstPaintTime::cpuMs);

        // The first show of each page, a fresh program each time.
        std::vector<std::vector<double>> pages(kPageShowCount);
        for (int i = 0; i < kRuns; ++i) {
            const std::vector<double> times = pageShowTimes(homePath);
            if (times.empty()) {
                state.SkipWithError("a child process did not show every page");
                return;
            }
            for (int page = 0; page < kPageShowCount; ++page)
                pages[static_cast<size_t>(page)].push_back(times[static_cast<size_t>(page)]);
        }
        double slowest = 0;
        for (int page = 0; page < kPageShowCount; ++page) {
            const double ms = median(pages[static_cast<size_t>(page)]);
            state.counters[std::string("page_") + kPageShows[page].name + "_ms"] = ms;
            slowest = std::max(slowest, ms);
        }
        state.counters["page_slowest_ms"] = slowest;
    }
}

}  // namespace

BENCHMARK(BM_StartupToFirstPaint)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    const auto mode = [argc, argv](const char* name) { return argc > 1 && std::strcmp(argv[1], name) == 0; };
    if (mode(kProgramMode) || mode(kBareMode) || mode(kPagesMode)) {
        QApplication application(argc, argv);
        return mode(kBareMode) ? runBareChild(application) : runProgramChild(application, mode(kPagesMode));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
