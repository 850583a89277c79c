#include "SimulatedPrinter.h"

#include "PtyServer.h"
#include "TcpServer.h"

#include <cerrno>
#include <cstring>
#include <poll.h>

namespace vormex::sim {
namespace {

// A printer that drops a transfer holds little of it, as a real printer's small buffers do: what
// it has not read stays unacknowledged on the tool's side when it hangs up.
constexpr int kDropReceiveBufferBytes = 4096;

std::unique_ptr<Server> makeServer(const SimOptions& options, const SimLog& log)
{
    if (options.usePty)
        return std::make_unique<PtyServer>(log);
    const int receiveBuffer = options.fault == Fault::Drop ? kDropReceiveBufferBytes : 0;
    return std::make_unique<TcpServer>(options.bindAddress, options.tcpPort, receiveBuffer, log);
}

}  // namespace

SimulatedPrinter::SimulatedPrinter(const SimOptions& runOptions, int number)
    : options_(runOptions.forPrinter(number)), log_(runOptions.count > 1 ? SimLog(number) : SimLog()),
      files_(options_.files, options_.dumpFolder, log_), server_(makeServer(options_, log_)),
      engine_(options_, files_, *server_, log_)
{
    server_->attach(engine_);
}

bool SimulatedPrinter::start(QString& deviceText, QString& error) { return server_->start(deviceText, error); }

bool SimulatedPrinter::run(RunControl& control)
{
    for (;;) {
        std::vector<pollfd> fds{{control.wakeFd(), POLLIN, 0}};
        server_->addPollFds(fds);
        int timeout = 1000;
        for (int due : {server_->timerDueMs(), engine_.timerDueMs()})
            if (due >= 0)
                timeout = std::min(timeout, due);
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            log_.line(QStringLiteral("cannot wait for traffic: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
            return false;
        }
        if (control.stopping())
            return true;
        if (server_->handle(fds))
            control.noteTraffic();
        server_->onTimer();
        engine_.onTimer();
    }
}

}  // namespace vormex::sim
