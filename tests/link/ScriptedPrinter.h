#pragma once

#include "support/PseudoTerminal.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace vormex::test {

// A printer that answers the first 5-byte command with the given pieces, written with a pause
// between them, for replies the simulator would never send: on loopback TCP, or on a
// pseudo-terminal (the tool opens `ptyPath()` as a COM port or a USB device).
class ScriptedPrinter {
public:
    enum class Line { Lan, Pty };

    explicit ScriptedPrinter(QList<QByteArray> pieces, Line line = Line::Lan, int gapMs = 20)
        : pieces_(std::move(pieces)), gapMs_(gapMs)
    {
        if (line == Line::Pty) {
            pty_ = std::make_unique<PseudoTerminal>();
            thread_ = std::thread([this] { answer(pty_->printerEnd(), false); });
            return;
        }
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
        if (listener_ >= 0)
            ::close(listener_);
    }
    QString device() const { return QStringLiteral("LAN:127.0.0.1:%1").arg(port_); }
    QString ptyPath() const { return pty_ ? pty_->path() : QString(); }
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
        answer(client, true);
        ::close(client);
    }
    void answer(int fd, bool socket)
    {
        QByteArray command;
        while (command.size() < 5 && wait(fd)) {
            char buffer[64];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            command.append(buffer, static_cast<int>(got));
        }
        {
            std::lock_guard lock(mutex_);
            received_ = command;
        }
        for (const QByteArray& piece : pieces_) {
            if (socket)
                ::send(fd, piece.constData(), static_cast<size_t>(piece.size()), MSG_NOSIGNAL);
            else
                [[maybe_unused]] const ssize_t written = ::write(fd, piece.constData(), static_cast<size_t>(piece.size()));
            std::this_thread::sleep_for(std::chrono::milliseconds(gapMs_));
        }
        // Stay connected until the tool closes, like a printer.
        while (socket && wait(fd)) {
            char buffer[64];
            if (::recv(fd, buffer, sizeof buffer, 0) <= 0)
                break;
        }
    }

    QList<QByteArray> pieces_;
    int gapMs_ = 20;
    int listener_ = -1;
    std::unique_ptr<PseudoTerminal> pty_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    QByteArray received_;
};

}  // namespace vormex::test
