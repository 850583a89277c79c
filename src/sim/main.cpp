// vormex-printer-sim: a printer for tests and for trying the tool without hardware.
#include "FileStore.h"
#include "PrinterEngine.h"
#include "PtyServer.h"
#include "SimLog.h"
#include "SimOptions.h"
#include "TcpServer.h"

#include <QCoreApplication>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <poll.h>
#include <unistd.h>

using namespace vormex::sim;

namespace {

int runLoop(const SimOptions& options, Server& server, PrinterEngine& engine)
{
    using Clock = std::chrono::steady_clock;
    auto lastTraffic = Clock::now();
    for (;;) {
        std::vector<pollfd> fds;
        if (options.watchStdin)
            fds.push_back({STDIN_FILENO, POLLIN, 0});
        server.addPollFds(fds);
        int timeout = 1000;
        for (int due : {server.timerDueMs(), engine.timerDueMs()})
            if (due >= 0)
                timeout = std::min(timeout, due);
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR)
            return 1;
        if (options.watchStdin && fds[0].revents) {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                logLine(QStringLiteral("standard input closed, ending"));
                return 0;
            }
        }
        if (server.handle(fds))
            lastTraffic = Clock::now();
        server.onTimer();
        engine.onTimer();
        if (options.exitAfterIdleSeconds > 0 && Clock::now() - lastTraffic > std::chrono::seconds(options.exitAfterIdleSeconds)) {
            logLine(QStringLiteral("idle for %1 s, ending").arg(options.exitAfterIdleSeconds));
            return 0;
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
    std::unique_ptr<Server> server;
    if (options.usePty)
        server = std::make_unique<PtyServer>();
    else
        server = std::make_unique<TcpServer>(options.bindAddress, options.tcpPort);
    FileStore files(options.files, options.dumpFolder);
    PrinterEngine engine(options, files, *server);
    server->attach(engine);
    QString deviceText;
    QString error;
    if (!server->start(deviceText, error)) {
        std::fprintf(stderr, "vormex-printer-sim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s\n", deviceText.toLocal8Bit().constData());
    std::fflush(stdout);
    logLine(QStringLiteral("serving %1").arg(deviceText));
    return runLoop(options, *server, engine);
}
