#pragma once

#include "comm/PrinterLink.h"
#include "download/DownloadProgress.h"
#include "timing/PacingClock.h"

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
    // A fixed pause that the user's cancel cuts short; false when cancelled.
    bool pause(int milliseconds) { return pacing::pause(milliseconds, link_.state()->cancel); }
    bool cancelled() const { return link_.cancelled(); }
    // Progress of the next write shown (0) or not tracked (-1).
    void trackWrite(bool on) { port().progressPercent = on ? 0 : -1; }

private:
    PrinterLink& link_;
    DownloadProgress& progress_;
};

}  // namespace vormex
