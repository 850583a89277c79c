// COM ports: termios in raw mode, RTS/CTS and XON/XOFF with flow control on, the DSR line
// polled before each chunk, and reads bounded like the printer's serial time-outs.
#include "comm/PrinterPort.h"

#include "timing/PacingClock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vormex {

int PrinterPort::openCom(const QString& kindText, const QString& address, bool noFlowControl)
{
    const int number = PortMap::portNumber(kindText);
    if (number < 1 || number > PortMap::kMaxCom)
        return fail(EINVAL);
    const std::optional<SerialSettings> settings = ParseSerialAddress(address);
    devicePath_ = portMap_.devicePath(kindText);
    if (devicePath_.isEmpty())
        return fail(ENOENT);
    const int fd = ::open(QFile::encodeName(devicePath_).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    // Nobody else may open the port while we hold it.
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    termios previous{};
    if (tcgetattr(fd, &previous) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    if (!settings) {
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return fail(EINVAL);
    }
    termios tio = previous;
    ApplySerialSettings(tio, *settings, !noFlowControl);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int error = errno;
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return fail(error);
    }
    *savedTermios_ = previous;
    savedTermiosValid_ = true;
    handle = fd;
    serial_ = settings;
    serialFlowControl_ = !noFlowControl;
    // A pseudo-terminal has no modem lines (ENOTTY): then there is no DSR flow control.
    int lines = 0;
    dsrFlowControl_ = serialFlowControl_ && ::ioctl(fd, TIOCMGET, &lines) == 0;
    pacing::pause(kSerialOpenPauseMs);
    tcflush(fd, TCIOFLUSH);
    markOpen(PortKind::Com);
    return 1;
}

bool PrinterPort::waitForDsr()
{
    if (!dsrFlowControl_)
        return true;
    const pacing::Deadline deadline(kSerialWriteTimeoutMs);
    for (;;) {
        int lines = 0;
        if (::ioctl(handle, TIOCMGET, &lines) != 0)
            return true;
        if (lines & TIOCM_DSR)
            return true;
        if (deadline.expired())
            return false;
        pacing::pause(kChunkPauseMs);
    }
}

int PrinterPort::readSerial(char* buffer, int size, int& countRead)
{
    // Like the printer's serial time-outs: at most 100 ms in all, and the read ends when the
    // line stays quiet for the interval after a byte has come.
    const pacing::Deadline total(kSerialReadTotalMs);
    const int intervalMs = serial_ ? serial_->readIntervalMs() : 100;
    while (countRead < size) {
        int waitMs = total.remainingMs();
        if (countRead > 0)
            waitMs = std::min(waitMs, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(pacing::scaled(intervalMs)).count()));
        if (waitMs <= 0)
            break;
        pollfd waiting{handle, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, waitMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return fail(errno);
        if (ready == 0)
            break;
        if (!(waiting.revents & POLLIN)) {
            // The other side of a pseudo-terminal has gone: nothing more will come.
            if (waiting.revents & (POLLHUP | POLLERR | POLLNVAL))
                return fail(EIO);
            break;
        }
        const ssize_t got = ::read(handle, buffer + countRead, static_cast<size_t>(size - countRead));
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got < 0)
            return fail(errno);
        if (got == 0)
            break;
        countRead += static_cast<int>(got);
    }
    return 1;
}

}  // namespace vormex
