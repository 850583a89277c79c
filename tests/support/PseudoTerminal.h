#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace vormex::test {

// A pseudo-terminal pair: the test holds the printer's end, the port opens the other.
class PseudoTerminal {
public:
    PseudoTerminal()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = QString::fromLocal8Bit(::ptsname(master_));
        // Keep one handle on the other end so the line never hangs up between opens.
        keep_ = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios tio{};
        ::tcgetattr(keep_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(keep_, TCSANOW, &tio);
    }
    ~PseudoTerminal()
    {
        ::close(keep_);
        ::close(master_);
    }
    QString path() const { return path_; }
    // The printer's end, for a test that reads and writes it itself.
    int printerEnd() const { return master_; }
    void send(const QByteArray& bytes) { ASSERT_EQ(::write(master_, bytes.constData(), bytes.size()), bytes.size()); }
    QByteArray receive(int atLeast, int timeoutMs = 2000)
    {
        QByteArray received;
        QElapsedTimer timer;
        timer.start();
        while (received.size() < atLeast && timer.elapsed() < timeoutMs) {
            pollfd waiting{master_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) > 0) {
                char buffer[8192];
                const ssize_t got = ::read(master_, buffer, sizeof buffer);
                if (got > 0)
                    received.append(buffer, static_cast<int>(got));
            }
        }
        return received;
    }

private:
    int master_ = -1;
    int keep_ = -1;
    QString path_;
};

}  // namespace vormex::test
