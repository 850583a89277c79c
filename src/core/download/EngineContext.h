#pragma once

#include "comm/PrinterLink.h"
#include "download/DownloadProgress.h"
#include "timing/PacingClock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vormex {

// What every download engine works with: the link to the printer and the shared progress
// record, with the small helpers the steps use.
class EngineContext {
public:
    EngineContext(PrinterLink& link, DownloadProgress& progress) : link_(link), progress_(progress) {}

    PrinterLink& link() { return link_; }
    PrinterPort& port() { return link_.port(); }
    DownloadProgress& progress() { return progress_; }
    const LinkSettings& settings() const { return link_.state()->settings; }
    PortKind portKind() const { return PortKindOf(link_.state()->target.kind); }

    // Appends the text of message `id` in the current language to the log.
    void log(int id) { progress_.log(settings().strings.text(id)); }
    // Logs a failure message after telling the observer why the link failed (the device and the
    // reason, when the link knows them).
    void logLinkFailure(int id)
    {
        progress_.detail(link_.problem());
        log(id);
    }
    // A fixed pause that the user's cancel cuts short; false when cancelled.
    bool pause(int milliseconds) { return pacing::pause(milliseconds, link_.state()->cancel); }
    bool cancelled() const { return link_.cancelled(); }
    // Logs a failure message after telling the observer that a write of `length` bytes broke
    // off, and why.
    void logWriteFailure(int id, int length = 0)
    {
        const int error = int(port().lastError.load());
        const int sent = port().bytesDone.load();
        if (portKind() == PortKind::Lan && (error == ECONNRESET || error == EPIPE) && length > 0) {
            logClosedConnection(id, sent - port().unacknowledgedBytes(), length);
            return;
        }
        const QString after = length > 0 ? QStringLiteral(" after %1 of %2 bytes").arg(sent).arg(length) : QString();
        progress_.detail(QStringLiteral("%1: the data could not be sent%2 (%3)")
                             .arg(settings().deviceInfo, after,
                                  error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("no reason given")));
        log(id);
    }
    // Writes a store (a file's store-file envelope, a block of firmware) and waits, within the
    // stored wait time, until the printer has taken every byte: the printer's hanging up in the
    // middle fails the step with message `failedId`, before the wait for its restart could take
    // the hang-up for one. False when the step fails (or is cancelled).
    bool writeStore(const char* data, int length, int failedId)
    {
        if (!port().Write(data, length)) {
            logWriteFailure(failedId, length);
            return false;
        }
        int outstanding = 0;
        if (port().WaitUntilTaken(settings().waitTimeMs, outstanding))
            return true;
        if (!cancelled())
            logClosedConnection(failedId, length - outstanding, length);
        return false;
    }
    bool writeStore(const QByteArray& bytes, int failedId) { return writeStore(bytes.constData(), int(bytes.size()), failedId); }
    // After a store and its wait: when the printer answered an error status since the store was
    // written, its status text goes into the log and the store counts as refused.
    bool storeRefused()
    {
        const int status = link_.errorStatus();
        if (status == kNoAnswer)
            return false;
        progress_.log(StatusText(status, settings().strings));
        return true;
    }
    // Progress of the next write shown (0) or not tracked (-1).
    void trackWrite(bool on) { port().progressPercent = on ? 0 : -1; }

private:
    void logClosedConnection(int id, int taken, int length)
    {
        progress_.detail(QStringLiteral("%1: the printer closed the connection after %2 of %3 bytes")
                             .arg(settings().deviceInfo)
                             .arg(std::clamp(taken, 0, length))
                             .arg(length));
        log(id);
    }

    PrinterLink& link_;
    DownloadProgress& progress_;
};

}  // namespace vormex
