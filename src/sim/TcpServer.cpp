#include "TcpServer.h"

#include "SimLog.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vormex::sim {

TcpServer::~TcpServer()
{
    closeClient();
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

bool TcpServer::listen(QString& error)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port_));
    if (inet_pton(AF_INET, bindAddress_.toLatin1().constData(), &address.sin_addr) != 1) {
        error = QStringLiteral("not an IPv4 address: %1").arg(bindAddress_);
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (receiveBufferBytes_ > 0)  // set before listening, so every accepted connection has it
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes_, sizeof receiveBufferBytes_);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listenFd_ = fd;
    return true;
}

bool TcpServer::start(QString& deviceText, QString& error)
{
    if (!listen(error))
        return false;
    deviceText = QStringLiteral("LAN:%1:%2").arg(bindAddress_).arg(port_);
    return true;
}

void TcpServer::addPollFds(std::vector<pollfd>& fds) const
{
    if (listenFd_ >= 0)
        fds.push_back({listenFd_, POLLIN, 0});
    if (clientFd_ >= 0)
        fds.push_back({clientFd_, POLLIN, 0});
}

bool TcpServer::handle(const std::vector<pollfd>& fds)
{
    bool traffic = false;
    const int listenFd = listenFd_;
    const int clientFd = clientFd_;
    for (const pollfd& entry : fds) {
        if (!entry.revents)
            continue;
        if (entry.fd == listenFd && listenFd == listenFd_) {
            const int accepted = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (accepted >= 0) {
                closeClient();
                clientFd_ = accepted;
                log_.line(QStringLiteral("connection opened"));
                engine_->connectionOpened();
                traffic = true;
            }
        } else if (entry.fd == clientFd && clientFd == clientFd_) {
            char buffer[65536];
            const ssize_t got = ::recv(clientFd_, buffer, sizeof buffer, 0);
            if (got <= 0) {
                log_.line(QStringLiteral("connection closed by the tool"));
                closeClient();
            } else {
                engine_->received(QByteArray(buffer, static_cast<int>(got)));
            }
            traffic = true;
        }
    }
    return traffic;
}

int TcpServer::timerDueMs() const { return restartEnd_ ? restartEnd_->remainingMs() : -1; }

void TcpServer::onTimer()
{
    if (!restartEnd_ || !restartEnd_->expired())
        return;
    restartEnd_.reset();
    QString error;
    if (listen(error))
        log_.line(QStringLiteral("restarted, listening again on port %1").arg(port_));
    else
        log_.line(QStringLiteral("cannot listen again: %1").arg(error));
}

void TcpServer::write(const QByteArray& bytes)
{
    if (clientFd_ < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t sent = ::send(clientFd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return;
        done += sent;
    }
}

void TcpServer::closeClient()
{
    if (clientFd_ >= 0)
        ::close(clientFd_);
    clientFd_ = -1;
}

void TcpServer::hangUp()
{
    // Reset rather than an orderly close: the tool's next write fails.
    if (clientFd_ >= 0) {
        const linger abort{1, 0};
        ::setsockopt(clientFd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    closeClient();
}

void TcpServer::restart(int milliseconds)
{
    log_.line(QStringLiteral("restarting"));
    ::shutdown(clientFd_, SHUT_WR);
    closeClient();
    if (listenFd_ >= 0)
        ::close(listenFd_);
    listenFd_ = -1;
    restartEnd_.emplace(milliseconds);
}

}  // namespace vormex::sim
