#pragma once

// Loopback addresses for the scan tests: a /24 of 127.0.0.0/8 of its own for each test (so that
// test programs running at the same time do not meet), a port free there, and listeners that are
// no printers.
#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <arpa/inet.h>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vormex::test {

// 127.A.B.0 with A and B picked at random (A not 0, so 127.0.0.1 is never in it).
inline std::uint32_t randomLoopbackSubnet()
{
    const std::uint32_t a = 1 + QRandomGenerator::global()->bounded(254u);
    const std::uint32_t b = QRandomGenerator::global()->bounded(256u);
    return (127u << 24) | (a << 16) | (b << 8);
}

inline QString ipv4(std::uint32_t address)
{
    return QStringLiteral("%1.%2.%3.%4").arg(address >> 24).arg((address >> 16) & 0xFF).arg((address >> 8) & 0xFF).arg(address & 0xFF);
}

inline sockaddr_in socketAddress(std::uint32_t address, int port)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(address);
    target.sin_port = htons(static_cast<uint16_t>(port));
    return target;
}

// A TCP port that was free on `address` a moment ago.
inline int freePortOn(std::uint32_t address)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in bound = socketAddress(address, 0);
    socklen_t length = sizeof bound;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&bound), sizeof bound) == 0
                 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) == 0;
    ::close(fd);
    return ok ? ntohs(bound.sin_port) : 0;
}

// Listeners on loopback addresses that are no printers: each takes every connection and answers
// every read with `reply` (an empty reply: silent). Counts the connections open at once.
class FakeListeners {
public:
    FakeListeners(const QList<std::uint32_t>& addresses, int port, QByteArray reply) : reply_(std::move(reply))
    {
        for (const std::uint32_t address : addresses) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const int on = 1;
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
            const sockaddr_in bound = socketAddress(address, port);
            if (::bind(fd, reinterpret_cast<const sockaddr*>(&bound), sizeof bound) != 0 || ::listen(fd, 64) != 0) {
                ::close(fd);
                ok_ = false;
                continue;
            }
            listeners_.push_back(fd);
        }
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeListeners()
    {
        stop_ = true;
        thread_.join();
        for (const int fd : listeners_)
            ::close(fd);
    }
    FakeListeners(const FakeListeners&) = delete;
    FakeListeners& operator=(const FakeListeners&) = delete;

    bool ok() const { return ok_; }
    int accepted() const { return accepted_.load(); }
    int openNow() const { return open_.load(); }
    int mostOpenAtOnce() const { return mostOpen_.load(); }
    // Waits (at most two seconds) until every connection taken has been closed by the other side.
    bool allClosed() const
    {
        for (int i = 0; i < 200 && open_.load() > 0; ++i)
            ::usleep(10000);
        return open_.load() == 0;
    }

private:
    void serve()
    {
        std::vector<int> clients;
        while (!stop_) {
            // Closed connections first: a new connection that follows a closed one on the same
            // thread of the scan must not count as open beside it.
            std::vector<pollfd> fds;
            for (const int fd : clients)
                fds.push_back({fd, POLLIN, 0});
            for (const int fd : listeners_)
                fds.push_back({fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            for (const pollfd& entry : fds) {
                if (!entry.revents)
                    continue;
                if (std::find(listeners_.begin(), listeners_.end(), entry.fd) != listeners_.end()) {
                    const int client = ::accept4(entry.fd, nullptr, nullptr, SOCK_CLOEXEC);
                    if (client < 0)
                        continue;
                    clients.push_back(client);
                    ++accepted_;
                    const int open = ++open_;
                    mostOpen_ = std::max(mostOpen_.load(), open);
                    continue;
                }
                char buffer[256];
                const ssize_t got = ::recv(entry.fd, buffer, sizeof buffer, 0);
                if (got > 0) {
                    if (!reply_.isEmpty())
                        ::send(entry.fd, reply_.constData(), static_cast<size_t>(reply_.size()), MSG_NOSIGNAL);
                    continue;
                }
                ::close(entry.fd);
                clients.erase(std::find(clients.begin(), clients.end(), entry.fd));
                --open_;
            }
        }
        for (const int fd : clients)
            ::close(fd);
    }

    QByteArray reply_;
    std::vector<int> listeners_;
    bool ok_ = true;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    std::atomic<int> open_{0};
    std::atomic<int> mostOpen_{0};
};

}  // namespace vormex::test
