#pragma once

#include "comm/UsbEnumeration.h"
#include "discovery/FoundDevice.h"
#include "discovery/PrinterProbe.h"
#include "discovery/ScanObserver.h"
#include "discovery/ScanTarget.h"

#include <QList>
#include <QString>

#include <atomic>
#include <memory>

namespace vormex {

inline constexpr int kDefaultScanPort = 8000;  // the printers' own default
inline constexpr int kDefaultScanJobs = 64;
inline constexpr std::int64_t kMostScanProbes = std::int64_t(1) << 22;  // addresses times ports

// What to scan and how.
struct ScanRequest {
    QList<ScanTarget> targets;
    QList<int> ports{kDefaultScanPort};
    int jobs = kDefaultScanJobs;  // connections open at once, at most
    ProbeSettings probe;
    bool includeUsb = false;      // also the USB printers sysfs names
    UsbRoots usbRoots;
    bool listAll = false;         // also the listeners that are no printer, and other USB nodes
};

struct ScanResult {
    QString problem;              // why the scan could not run (a host name that did not resolve)
    QList<FoundDevice> devices;   // in ScanOrder
    int addresses = 0;            // network addresses probed and USB nodes looked at
    double seconds = 0;
    bool cancelled = false;

    int printers() const;
};

// Probes every address of the targets at every port, at most `jobs` at once, each on its own
// connection that is closed again; reports every probe and every device found to `observer`
// (may be null) as it happens. `cancel` ends the scan within 100 ms. Blocks until every probe
// has ended: run it off the user-interface thread.
ScanResult RunScan(const ScanRequest& request, const std::shared_ptr<ScanObserver>& observer, const std::atomic<bool>& cancel);

}  // namespace vormex
