// Start-up time of the desktop program: from starting the process to the first paint of the main
// window, along the program's own start-up path (settings, strings, definitions, the main window
// with all eight pages), against a process that shows a bare QMainWindow. Both run offscreen as
// whole processes (this program started again in a child mode), 20 times each, alternating, with
// a settings folder of their own. Reports both medians and `ratio` = program / bare (goal: at most
// 1.5), and the median CPU time each used up to its first paint, which a busy machine disturbs
// less than the wall time.
#include "gui/shell/DesktopProgram.h"
#include "gui/shell/MainFrame.h"

#include <QApplication>
#include <QByteArray>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

int runChild(int argc, char** argv, bool program)
{
    QApplication application(argc, argv);
    if (program) {
        std::unique_ptr<FirstPaint> watcher;
        return vormex::gui::RunDesktopProgram(application, [&watcher](vormex::gui::CMainFrame& frame) {
            watcher = std::make_unique<FirstPaint>(frame);
            QApplication::instance()->installEventFilter(watcher.get());
        });
    }
    QMainWindow window;
    window.resize(vormex::gui::CMainFrame::DefaultSize(true));
    FirstPaint watcher(window);
    QApplication::instance()->installEventFilter(&watcher);
    window.show();
    return application.exec();
}

struct FirstPaintTime {
    double wallMs = -1;  // from the process start to the first paint; negative: no paint reported
    double cpuMs = -1;   // CPU time the child used until then (less sensitive to a busy machine)
};

// Starts this program in a child mode and measures the way to its first paint.
FirstPaintTime timeToFirstPaint(const char* mode, const QByteArray& home)
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
    long long paintedAt = 0;
    long long cpu = 0;
    if (std::sscanf(output.c_str(), "%lld %lld", &paintedAt, &cpu) != 2)
        return {};
    return {static_cast<double>(paintedAt - start) / 1e6, static_cast<double>(cpu) / 1e6};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
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
    }
}

}  // namespace

BENCHMARK(BM_StartupToFirstPaint)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], kProgramMode) == 0)
        return runChild(argc, argv, true);
    if (argc > 1 && std::strcmp(argv[1], kBareMode) == 0)
        return runChild(argc, argv, false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
