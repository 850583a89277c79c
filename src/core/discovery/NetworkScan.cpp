#include "discovery/NetworkScan.h"

#include "discovery/UsbScan.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace vormex {
namespace {

// The probes of one scan, shared by its worker threads (which all end before the scan returns).
class ProbeQueue {
public:
    ProbeQueue(const ScanRequest& request, const QList<ScanAddress>& addresses, const std::shared_ptr<ScanObserver>& observer,
               const std::atomic<bool>& cancel)
        : request_(request), addresses_(addresses), observer_(observer), cancel_(cancel),
          total_(static_cast<int>(addresses.size() * request.ports.size()))
    {
    }

    int total() const { return total_; }

    // A worker: takes the next probe until none is left or the scan is cancelled.
    void work()
    {
        for (int index = next_++; index < total_ && !cancel_.load(); index = next_++) {
            probe(addresses_[index / request_.ports.size()], request_.ports[index % request_.ports.size()]);
            const int done = ++done_;
            if (observer_)
                observer_->probed(done, total_);
        }
    }

    QList<FoundDevice> takeDevices()
    {
        std::lock_guard lock(mutex_);
        return std::move(devices_);
    }

private:
    void probe(const ScanAddress& address, int port)
    {
        const QString host = address.host.isEmpty() ? Ipv4Text(address.ipv4) : address.host;
        // The address itself is opened; a host name stays in the device text the user pastes.
        const DeviceInfoParts parts{QStringLiteral("LAN"), QStringLiteral("%1:%2").arg(Ipv4Text(address.ipv4)).arg(port)};
        const ProbeResult result = ProbePrinter(parts, request_.probe, &cancel_);
        const bool listener = result.outcome == ProbeOutcome::NotAPrinter || result.outcome == ProbeOutcome::Silent;
        if (result.outcome != ProbeOutcome::Printer && !(listener && request_.listAll))
            return;
        FoundDevice device;
        device.device = QStringLiteral("LAN:%1:%2").arg(host).arg(port);
        device.ipv4 = address.ipv4;
        device.port = port;
        device.host = address.host;
        device.outcome = result.outcome;
        device.mode = result.mode;
        device.status = result.status;
        {
            std::lock_guard lock(mutex_);
            devices_.append(device);
        }
        if (observer_)
            observer_->found(device);
    }

    const ScanRequest& request_;
    const QList<ScanAddress>& addresses_;
    const std::shared_ptr<ScanObserver>& observer_;
    const std::atomic<bool>& cancel_;
    const int total_;
    std::atomic<int> next_{0};
    std::atomic<int> done_{0};
    std::mutex mutex_;
    QList<FoundDevice> devices_;
};

}  // namespace

int ScanResult::printers() const
{
    return static_cast<int>(std::count_if(devices.begin(), devices.end(), [](const FoundDevice& d) { return d.isPrinter(); }));
}

ScanResult RunScan(const ScanRequest& request, const std::shared_ptr<ScanObserver>& observer, const std::atomic<bool>& cancel)
{
    const auto start = std::chrono::steady_clock::now();
    ScanResult result;
    const ExpandedTargets expanded = ExpandScanTargets(request.targets, request.probe.hostLookup);
    if (!expanded.problem.isEmpty()) {
        result.problem = expanded.problem;
        return result;
    }
    if (std::int64_t(expanded.addresses.size()) * request.ports.size() > kMostScanProbes) {
        result.problem = QStringLiteral("%1 addresses at %2 ports are too many for one scan (at most %3 probes)")
                             .arg(expanded.addresses.size()).arg(request.ports.size()).arg(kMostScanProbes);
        return result;
    }
    if (request.includeUsb) {
        const QList<FoundDevice> usb = ListUsbPrintersFromSysfs(request.usbRoots, true);
        for (const FoundDevice& device : usb) {
            if (!device.isPrinter() && !request.listAll)
                continue;
            result.devices.append(device);
            if (observer)
                observer->found(device);
        }
        result.addresses += static_cast<int>(usb.size());
    }

    ProbeQueue queue(request, expanded.addresses, observer, cancel);
    std::vector<std::thread> workers;
    const int count = std::min(std::max(request.jobs, 1), queue.total());
    workers.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        workers.emplace_back([&queue] { queue.work(); });
    for (std::thread& worker : workers)
        worker.join();

    result.devices += queue.takeDevices();
    std::sort(result.devices.begin(), result.devices.end(), ScanOrder);
    result.addresses += static_cast<int>(expanded.addresses.size());
    result.cancelled = cancel.load();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

}  // namespace vormex
