#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace vormex::test {

// A loopback printer that answers the first 5-byte command with the given pieces, written
// with a short pause between them, for replies the simulator would never send.
class ScriptedPrinter {
public:
    explicit ScriptedPrinter(QList<QByteArray> pieces) : pieces_(std::move(pieces))
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedPrinter()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    QString device() const { return QStringLiteral("LAN:127.0.0.1:%1").arg(port_); }
    QByteArray received() const
    {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    bool wait(int fd)
    {
        while (!stop_) {
            pollfd waiting{fd, POLLIN, 0};
            if (::poll(&waiting, 1, 20) > 0)
                return true;
        }
        return false;
    }
    void serve()
    {
        if (!wait(listener_))
            return;
        const int client = ::accept(listener_, nullptr, nullptr);
        QByteArray command;
        while (command.size() < 5 && wait(client)) {
            char buffer[64];
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            command.append(buffer, static_cast<int>(got));
        }
        {
            std::lock_guard lock(mutex_);
            received_ = command;
        }
        for (const QByteArray& piece : pieces_) {
            ::send(client, piece.constData(), static_cast<size_t>(piece.size()), MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // Stay connected until the tool closes, like a printer.
        while (wait(client)) {
            char buffer[64];
            if (::recv(client, buffer, sizeof buffer, 0) <= 0)
                break;
        }
        ::close(client);
    }

    QList<QByteArray> pieces_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    QByteArray received_;
};

}  // namespace vormex::test
