// LAN: a TCP connection with poll(); the connect is bounded so an address that does not answer
// cannot hold the program for minutes.
#include "comm/PrinterPort.h"

#include "comm/DeviceInfo.h"
#include "timing/PacingClock.h"

#include <QStringList>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vormex {
namespace {

sockaddr_in socketAddress(std::uint32_t address, int port)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(address);
    target.sin_port = htons(static_cast<uint16_t>(port));
    return target;
}

}  // namespace

int PrinterPort::openLan(const QString& address)
{
    resolveProblem_.clear();
    const std::optional<LanAddress> lan = ParseLanAddress(address);
    if (!lan)
        return fail(EINVAL);
    const auto& b = lan->bytes;
    std::uint32_t ipv4 = std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | std::uint32_t(b[3]);
    if (!lan->host.isEmpty()) {
        const ResolvedHost resolved = ResolveHost(lan->host, hostLookup_);
        if (!resolved.address) {
            resolveProblem_ = resolved.problem;
            return fail(EHOSTUNREACH);
        }
        ipv4 = *resolved.address;
    }
    const sockaddr_in target = socketAddress(ipv4, lan->port);
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(errno);
    int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (result != 0 && errno == EINPROGRESS) {
        const pacing::Deadline deadline(connectTimeoutMs_);
        short revents = 0;
        const int ready = waitReady(fd, POLLOUT, deadline, revents);
        int error = ready < 0 ? errno : ETIMEDOUT;
        if (ready > 0) {
            socklen_t length = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
        errno = error;
        result = error == 0 ? 0 : -1;
    }
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    socket = fd;
    markOpen(PortKind::Lan);
    return 1;
}

int PrinterPort::writeLan(const char* data, int length)
{
    int done = 0;
    while (done < length) {
        const pacing::Deadline deadline(kLanSendWaitMs);
        short revents = 0;
        const int ready = waitReady(socket, POLLOUT, deadline, revents);
        if (ready < 0 && errno == ECANCELED)
            return fail(ECANCELED);
        if (ready <= 0 || !(revents & POLLOUT))
            return 0;
        noteProgress(done, length);
        const ssize_t moved = ::send(socket, data + done, static_cast<size_t>(length - done), MSG_NOSIGNAL);
        if (moved < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (moved < 0)
            return fail(errno);
        if (moved == 0)
            return 0;
        done += static_cast<int>(moved);
        bytesDone = done;
        pacing::pause(kChunkPauseMs);
    }
    return 1;
}

int PrinterPort::unacknowledgedBytes() const
{
    int queued = 0;
    if (portKind() != PortKind::Lan || socket < 0 || ::ioctl(socket, SIOCOUTQ, &queued) != 0)
        return 0;
    return queued;
}

// A connection the printer has reset (or closed, and reset on the next bytes) is in the closed
// state; the error that said so may have been taken by the listener's read already.
int PrinterPort::waitUntilTakenLan(int timeoutMs, int& outstanding)
{
    const pacing::Deadline deadline(timeoutMs);
    for (;;) {
        outstanding = unacknowledgedBytes();
        if (outstanding == 0)
            return 1;
        tcp_info info{};
        socklen_t length = sizeof info;
        if (::getsockopt(socket, IPPROTO_TCP, TCP_INFO, &info, &length) == 0 && info.tcpi_state == TCP_CLOSE) {
            int error = 0;
            length = sizeof error;
            ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length);
            return fail(error != 0 ? error : ECONNRESET);
        }
        if (deadline.expired())
            return 1;
        if (cancel_ && cancel_->load())
            return fail(ECANCELED);
        pacing::pause(kTakenPollMs);
    }
}

int PrinterPort::readLan(char* buffer, int size, int timeoutMs, int& countRead)
{
    const pacing::Deadline deadline(timeoutMs);
    short revents = 0;
    const int ready = waitReady(socket, POLLIN, deadline, revents);
    if (ready <= 0 || !(revents & (POLLIN | POLLHUP | POLLERR)))
        return 0;
    ssize_t got;
    do {
        got = ::recv(socket, buffer, static_cast<size_t>(size), 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        if (errno == EAGAIN)
            return 0;
        return fail(errno);
    }
    countRead = static_cast<int>(got);
    return got > 0 ? 1 : 0;
}

}  // namespace vormex
