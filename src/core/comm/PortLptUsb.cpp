// LPT (write only) and USB printers (usblp nodes such as /dev/usb/lp0).
#include "comm/PrinterPort.h"

#include "timing/PacingClock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vormex {

int PrinterPort::openLpt(const QString& kindText)
{
    const int number = PortMap::portNumber(kindText);
    if (number < 1 || number > PortMap::kMaxLpt)
        return fail(EINVAL);
    devicePath_ = portMap_.devicePath(kindText);
    if (devicePath_.isEmpty())
        return fail(ENOENT);
    const int fd = ::open(QFile::encodeName(devicePath_).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    handle = fd;
    markOpen(PortKind::Lpt);
    return 1;
}

int PrinterPort::openUsb(const QString& path)
{
    devicePath_ = path;
    if (path.isEmpty())
        return fail(ENOENT);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    handle = fd;
    markOpen(PortKind::Usb);
    return 1;
}

int PrinterPort::readUsb(char* buffer, int size, int timeoutMs, int& countRead)
{
    // A read that waits in vain is still a success, with no bytes.
    const pacing::Deadline deadline(timeoutMs);
    for (;;) {
        short revents = 0;
        const int ready = waitReady(handle, POLLIN, deadline, revents);
        if (ready < 0 && errno == ECANCELED)
            return 1;
        if (ready < 0)
            return fail(errno);
        if (ready == 0)
            return 1;
        if (!(revents & POLLIN))
            return fail(EIO);
        const ssize_t got = ::read(handle, buffer, static_cast<size_t>(size));
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (deadline.expired())
                return 1;
            continue;
        }
        if (got < 0)
            return fail(errno);
        countRead = static_cast<int>(got);
        return 1;
    }
}

}  // namespace vormex
