#pragma once

#include "Server.h"

namespace vormex::sim {

// A pseudo-terminal whose other end the tool opens as a COM port (through the port map), as
// an LPT port or as a USB printer node. The simulator keeps the other end open itself, so the
// line never hangs up while the tool opens and closes it.
class PtyServer : public Server {
public:
    explicit PtyServer(const SimLog& log) : Server(log) {}
    ~PtyServer() override;

    bool start(QString& deviceText, QString& error) override;
    void addPollFds(std::vector<pollfd>& fds) const override;
    bool handle(const std::vector<pollfd>& fds) override;

    void write(const QByteArray& bytes) override;
    void hangUp() override;
    void restart(int milliseconds) override;
    bool isNetwork() const override { return false; }

private:
    int masterFd_ = -1;
    int keepSlaveFd_ = -1;
    std::optional<pacing::Deadline> deafUntil_;
};

}  // namespace vormex::sim
