#pragma once

#include "discovery/FoundDevice.h"

namespace vormex {

// Receives what a scan reports while it runs. The calls come from the scan's worker threads, at
// the same time: an observer guards what it keeps, must not block for long and must not call
// back into the scan. Every method has an empty default.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;
    // `done` of `total` probes (address and port) have ended.
    virtual void probed(int done, int total) { (void)done, (void)total; }
    // A device to list, as soon as it has answered (USB printers when the scan starts).
    virtual void found(const FoundDevice& device) { (void)device; }
};

}  // namespace vormex
