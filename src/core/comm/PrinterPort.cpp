// The port object: opening by interface, chunked writes with progress, reads per interface.
#include "comm/PrinterPort.h"

#include "comm/DeviceText.h"
#include "timing/PacingClock.h"

#include <cerrno>
#include <cmath>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vormex {

PrinterPort::PrinterPort(PortMap portMap) : portMap_(std::move(portMap)), savedTermios_(std::make_unique<termios>()) {}

PrinterPort::~PrinterPort() { Close(); }

int PrinterPort::fail(int error)
{
    lastError = static_cast<std::uint32_t>(error);
    return 0;
}

void PrinterPort::markOpen(PortKind portKind)
{
    kind = static_cast<int>(portKind);
    isOpen = 1;
}

int PrinterPort::Open(const QString& kindText, const QString& address, bool noFlowControl)
{
    if (isOpen)
        return 0;
    switch (PortKindOf(kindText)) {
    case PortKind::Com: return openCom(kindText, address, noFlowControl);
    case PortKind::Lan: return openLan(address);
    case PortKind::Lpt: return openLpt(kindText);
    default: return openUsb(address);
    }
}

int PrinterPort::Close()
{
    if (!isOpen)
        return 1;
    isOpen = 0;
    if (socket >= 0) {
        ::close(socket);
        socket = -1;
    }
    if (handle >= 0) {
        if (savedTermiosValid_) {
            // Let the last bytes leave at the printer's settings before the old ones return,
            // but never wait for a line that flow control holds up for good.
            const pacing::Deadline drained(kSerialWriteTimeoutMs);
            int queued = 0;
            while (::ioctl(handle, TIOCOUTQ, &queued) == 0 && queued > 0 && !drained.expired())
                pacing::pause(kChunkPauseMs);
            tcsetattr(handle, TCSANOW, savedTermios_.get());
            ::ioctl(handle, TIOCNXCL);
        }
        ::close(handle);
        handle = -1;
    }
    savedTermiosValid_ = false;
    serial_.reset();
    kind = 0;
    return 1;
}

int PrinterPort::waitReady(int fd, short events, const pacing::Deadline& deadline, short& ready) const
{
    constexpr int kSliceMs = 100;
    for (;;) {
        if (cancel_ && cancel_->load()) {
            errno = ECANCELED;
            return -1;
        }
        const int left = deadline.remainingMs();
        pollfd waiting{fd, events, 0};
        const int result = ::poll(&waiting, 1, std::min(left, kSliceMs));
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0)
            return -1;
        if (result > 0) {
            ready = waiting.revents;
            return 1;
        }
        if (left <= kSliceMs)
            return 0;
    }
}

void PrinterPort::noteProgress(int done, int length)
{
    bytesDone = done;
    if (progressPercent != -1)
        progressPercent = static_cast<int>(std::lround(static_cast<double>(done) / length * 100.0));
}

int PrinterPort::Write(const char* data, int length)
{
    bytesDone = 0;
    if (!isOpen)
        return 0;
    const PortKind portKind = this->portKind();
    if (portKind != PortKind::Lan)
        lastError = 0;
    if (length <= 0) {
        if (progressPercent != -1)
            progressPercent = 100;
        return 1;
    }
    const int result = portKind == PortKind::Lan ? writeLan(data, length) : writeFd(data, length);
    if (result && progressPercent != -1)
        progressPercent = 100;
    // A failed USB write keeps the 0 stored when it began, as callers of the USB port expect.
    if (!result && portKind == PortKind::Usb)
        lastError = 0;
    return result;
}

int PrinterPort::WaitUntilTaken(int timeoutMs, int& outstanding)
{
    outstanding = 0;
    if (!isOpen)
        return 0;
    switch (portKind()) {
    case PortKind::Lan: return waitUntilTakenLan(timeoutMs, outstanding);
    case PortKind::Com: return waitUntilTakenSerial(timeoutMs);
    default: return 1;
    }
}

// The serial line sends what is queued at its own pace (flow control may hold it): the queue is
// watched within the bound, and only an empty queue is drained to its last bit.
int PrinterPort::waitUntilTakenSerial(int timeoutMs)
{
    const pacing::Deadline deadline(timeoutMs);
    int queued = 0;
    while (::ioctl(handle, TIOCOUTQ, &queued) == 0 && queued > 0) {
        if (deadline.expired())
            return 1;
        if (cancel_ && cancel_->load())
            return fail(ECANCELED);
        pacing::pause(kTakenPollMs);
    }
    ::tcdrain(handle);
    return 1;
}

int PrinterPort::writeFd(const char* data, int length)
{
    const PortKind portKind = this->portKind();
    const int timeoutMs = portKind == PortKind::Com ? kSerialWriteTimeoutMs
                        : portKind == PortKind::Lpt ? kLptWriteTimeoutMs
                                                    : kUsbWriteTimeoutMs;
    int done = 0;
    while (done < length) {
        if (portKind == PortKind::Com && !waitForDsr())
            return fail(ETIMEDOUT);
        const int chunk = std::min(kChunkSize, length - done);
        int chunkDone = 0;
        const pacing::Deadline deadline(timeoutMs);
        while (chunkDone < chunk) {
            short revents = 0;
            const int ready = waitReady(handle, POLLOUT, deadline, revents);
            if (ready < 0)
                return fail(errno);
            if (ready == 0 || (revents & (POLLERR | POLLHUP | POLLNVAL)))
                return fail(ready == 0 ? ETIMEDOUT : EIO);
            const ssize_t moved = ::write(handle, data + done + chunkDone, static_cast<size_t>(chunk - chunkDone));
            if (moved < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (moved <= 0)
                return fail(moved < 0 ? errno : EIO);
            chunkDone += static_cast<int>(moved);
        }
        done += chunkDone;
        noteProgress(done, length);
        pacing::pause(kChunkPauseMs);
    }
    return 1;
}

QString PrinterPort::describeOpenFailure(const DeviceInfoParts& parts) const
{
    if (!resolveProblem_.isEmpty() && PortKindOf(parts.kind) == PortKind::Lan)
        return resolveProblem_;
    return DescribeOpenFailure(parts, static_cast<int>(lastError.load()), portMap_);
}

int PrinterPort::Read(char* buffer, int size, int timeoutMs, int& countRead)
{
    countRead = 0;
    if (!isOpen || size <= 0)
        return isOpen ? 1 : 0;
    switch (portKind()) {
    case PortKind::Lan: return readLan(buffer, size, timeoutMs, countRead);
    case PortKind::Com: return readSerial(buffer, size, countRead);
    case PortKind::Lpt: return fail(EBADF);  // opened for writing only
    default: return readUsb(buffer, size, timeoutMs, countRead);
    }
}

}  // namespace vormex
