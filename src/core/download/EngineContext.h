#pragma once

#include "comm/PrinterLink.h"
#include "download/DownloadProgress.h"
#include "timing/PacingClock.h"

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
    // Logs a failure message after telling the observer that a write broke off, and why.
    void logWriteFailure(int id)
    {
        const int error = int(port().lastError.load());
        progress_.detail(QStringLiteral("%1: the data could not be sent (%2)")
                             .arg(settings().deviceInfo, error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("no reason given")));
        log(id);
    }
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
    PrinterLink& link_;
    DownloadProgress& progress_;
};

}  // namespace vormex
