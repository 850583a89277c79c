// vormex-printer-sim: printers for tests and for trying the tool without hardware.
#include "RunControl.h"
#include "SimLog.h"
#include "SimOptions.h"
#include "SimulatedPrinter.h"

#include <QCoreApplication>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace vormex::sim;

namespace {

// Watches standard input and the idle time on the main thread until the run is to end.
void watchUntilEnd(const SimOptions& options, RunControl& control)
{
    const SimLog log;
    while (!control.stopping()) {
        std::vector<pollfd> fds{{control.wakeFd(), POLLIN, 0}};
        if (options.watchStdin)
            fds.push_back({STDIN_FILENO, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 1000) < 0 && errno != EINTR)
            return;
        if (options.watchStdin && fds[1].revents) {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                log.line(QStringLiteral("standard input closed, ending"));
                return;
            }
        }
        if (options.exitAfterIdleSeconds > 0 && control.sinceTraffic() > std::chrono::seconds(options.exitAfterIdleSeconds)) {
            log.line(QStringLiteral("idle for %1 s, ending").arg(options.exitAfterIdleSeconds));
            return;
        }
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);
    SimOptions options;
    QString message;
    int exitCode = 0;
    if (!parseSimOptions(QCoreApplication::arguments(), options, message, exitCode)) {
        std::fputs(message.toLocal8Bit().constData(), exitCode == 0 ? stdout : stderr);
        std::fputs("\n", exitCode == 0 ? stdout : stderr);
        return exitCode;
    }
    auto control = std::make_shared<RunControl>();
    if (!control->ok()) {
        std::fprintf(stderr, "vormex-printer-sim: cannot create a pipe: %s\n", std::strerror(errno));
        return 1;
    }
    std::vector<std::unique_ptr<SimulatedPrinter>> printers;
    QStringList devices;
    for (int number = 1; number <= options.count; ++number) {
        auto printer = std::make_unique<SimulatedPrinter>(options, number);
        QString deviceText;
        QString error;
        if (!printer->start(deviceText, error)) {
            const QString which = options.count > 1 ? QStringLiteral("printer %1: ").arg(number) : QString();
            std::fprintf(stderr, "vormex-printer-sim: %s%s\n", which.toLocal8Bit().constData(), error.toLocal8Bit().constData());
            return 1;
        }
        devices.append(deviceText);
        printers.push_back(std::move(printer));
    }
    std::printf("%s\n", devices.join(QLatin1Char('\n')).toLocal8Bit().constData());
    std::fflush(stdout);

    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < printers.size(); ++i) {
        printers[i]->log().line(QStringLiteral("serving %1").arg(devices[static_cast<qsizetype>(i)]));
        threads.emplace_back([printer = printers[i].get(), control, &failed] {
            if (!printer->run(*control)) {
                failed = true;
                control->stop();
            }
        });
    }
    watchUntilEnd(options, *control);
    control->stop();
    for (std::thread& thread : threads)
        thread.join();
    return failed ? 1 : 0;
}
