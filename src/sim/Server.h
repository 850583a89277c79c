#pragma once

#include "PrinterEngine.h"
#include "SimLog.h"

#include <QString>

#include <optional>
#include <poll.h>
#include <vector>

namespace vormex::sim {

// A way to be reached (TCP or pseudo-terminal) that the main loop polls.
class Server : public Transport {
public:
    explicit Server(const SimLog& log) : log_(log) {}
    void attach(PrinterEngine& engine) { engine_ = &engine; }
    // Starts serving; gives the device text that reaches it ("LAN:127.0.0.1:9100").
    virtual bool start(QString& deviceText, QString& error) = 0;
    virtual void addPollFds(std::vector<pollfd>& fds) const = 0;
    // Handles the fds it added; true when there was traffic.
    virtual bool handle(const std::vector<pollfd>& fds) = 0;
    virtual int timerDueMs() const { return -1; }
    virtual void onTimer() {}

protected:
    const SimLog& log_;
    PrinterEngine* engine_ = nullptr;
};

}  // namespace vormex::sim
