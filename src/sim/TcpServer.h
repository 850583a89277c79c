#pragma once

#include "Server.h"

namespace vormex::sim {

// One TCP connection at a time; a newer connection replaces an older one. A restart closes
// the connection and the listening socket and listens again on the same port later.
class TcpServer : public Server {
public:
    // `receiveBufferBytes`: the connection's receive buffer (0: the system's); a small one keeps
    // what the printer has not read unacknowledged on the sender's side.
    TcpServer(QString bindAddress, int port, int receiveBufferBytes, const SimLog& log)
        : Server(log), bindAddress_(std::move(bindAddress)), port_(port), receiveBufferBytes_(receiveBufferBytes)
    {
    }
    ~TcpServer() override;

    bool start(QString& deviceText, QString& error) override;
    void addPollFds(std::vector<pollfd>& fds) const override;
    bool handle(const std::vector<pollfd>& fds) override;
    int timerDueMs() const override;
    void onTimer() override;

    void write(const QByteArray& bytes) override;
    void hangUp() override;
    void restart(int milliseconds) override;
    bool isNetwork() const override { return true; }

private:
    bool listen(QString& error);
    void closeClient();

    QString bindAddress_;
    int port_;
    int receiveBufferBytes_;
    int listenFd_ = -1;
    int clientFd_ = -1;
    std::optional<pacing::Deadline> restartEnd_;
};

}  // namespace vormex::sim
