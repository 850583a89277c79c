#include "PtyServer.h"

#include "SimLog.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace vormex::sim {

PtyServer::~PtyServer()
{
    if (keepSlaveFd_ >= 0)
        ::close(keepSlaveFd_);
    if (masterFd_ >= 0)
        ::close(masterFd_);
}

bool PtyServer::start(QString& deviceText, QString& error)
{
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0 || ::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const char* slaveName = ::ptsname(masterFd_);
    if (!slaveName) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    keepSlaveFd_ = ::open(slaveName, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (keepSlaveFd_ < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
    termios tio{};
    tcgetattr(keepSlaveFd_, &tio);
    cfmakeraw(&tio);
    tcsetattr(keepSlaveFd_, TCSANOW, &tio);
    deviceText = QStringLiteral("PTY:%1").arg(QString::fromLocal8Bit(slaveName));
    return true;
}

void PtyServer::addPollFds(std::vector<pollfd>& fds) const { fds.push_back({masterFd_, POLLIN, 0}); }

bool PtyServer::handle(const std::vector<pollfd>& fds)
{
    for (const pollfd& entry : fds) {
        if (entry.fd != masterFd_ || !entry.revents)
            continue;
        char buffer[65536];
        const ssize_t got = ::read(masterFd_, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        if (deafUntil_ && !deafUntil_->expired())
            return true;
        deafUntil_.reset();
        engine_->received(QByteArray(buffer, static_cast<int>(got)));
        return true;
    }
    return false;
}

void PtyServer::write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(masterFd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        done += written;
    }
}

void PtyServer::hangUp()
{
    // A serial line cannot be closed from the printer's side: it goes deaf instead.
    deafUntil_.emplace(60000);
}

void PtyServer::restart(int milliseconds)
{
    log_.line(QStringLiteral("restarting"));
    deafUntil_.emplace(milliseconds);
}

}  // namespace vormex::sim
