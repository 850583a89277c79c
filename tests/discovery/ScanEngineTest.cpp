// The scan engine against simulated printers and listeners that are no printers, all on
// loopback: what a probe asks and joins, how many connections are open at once, and cancel.
#include "LoopbackSite.h"
#include "link/Simulator.h"

#include "discovery/NetworkScan.h"

#include <QElapsedTimer>

#include <mutex>
#include <netdb.h>

#include <gtest/gtest.h>

using namespace vormex;
using vormex::test::FakeListeners;
using vormex::test::Simulator;

namespace {

// Everything the observer heard, from whichever thread.
class Recorder : public ScanObserver {
public:
    void probed(int done, int total) override
    {
        std::lock_guard lock(mutex_);
        lastDone = std::max(lastDone, done);
        lastTotal = total;
    }
    void found(const FoundDevice& device) override
    {
        std::lock_guard lock(mutex_);
        devices << device.device;
    }
    std::mutex mutex_;
    int lastDone = 0, lastTotal = 0;
    QStringList devices;
};

ScanTarget target(const QString& text) { return *ParseScanTarget(text).target; }

QList<std::uint32_t> addressesFrom(std::uint32_t first, int count)
{
    QList<std::uint32_t> addresses;
    for (int i = 0; i < count; ++i)
        addresses << first + std::uint32_t(i);
    return addresses;
}

TEST(ScanEngine, FindsPrintersByAddressOrHostNameAndJoinsASplitFrame)
{
    // Printer 2 writes each answer in two pieces with a pause between them.
    Simulator sim({"--count", "2", "--fault", "2:split", "--mode", "2:kirn", "--status", "2:7"});
    ASSERT_EQ(sim.devices().size(), 2);
    const int port1 = sim.devices()[0].section(QLatin1Char(':'), 2).toInt();
    const int port2 = sim.devices()[1].section(QLatin1Char(':'), 2).toInt();
    ScanRequest request;
    request.targets = {target(QStringLiteral("127.0.0.1")), target(QStringLiteral("printer-07.example"))};
    request.ports = {port1, port2};
    // The name resolves through the seam to the second loopback address of this machine.
    request.probe.hostLookup = [](const QString& host) {
        return host == QLatin1String("printer-07.example") ? HostLookupAnswer{0, (127u << 24) | 1u} : HostLookupAnswer{EAI_NONAME, 0};
    };
    const auto recorder = std::make_shared<Recorder>();
    const std::atomic<bool> cancel{false};
    const ScanResult result = RunScan(request, recorder, cancel);
    ASSERT_TRUE(result.problem.isEmpty()) << result.problem.toStdString();
    // One address, named both ways: the name is kept.
    EXPECT_EQ(result.addresses, 1);
    ASSERT_EQ(result.devices.size(), 2);
    // Sorted by address and port.
    EXPECT_LT(result.devices[0].port, result.devices[1].port);
    for (const FoundDevice& device : result.devices) {
        const bool split = device.port == port2;
        EXPECT_EQ(device.device, QStringLiteral("LAN:printer-07.example:%1").arg(device.port));
        EXPECT_EQ(device.mode, split ? kAnswerKirn : kAnswerVormex) << device.port;
        EXPECT_EQ(device.status, split ? 7 : 0) << device.port;
    }
    EXPECT_EQ(recorder->lastDone, 2);
    EXPECT_EQ(recorder->lastTotal, 2);
    EXPECT_EQ(recorder->devices.size(), 2);
}

TEST(ScanEngine, OpensAtMostJobsConnectionsAtOnceAndClosesEveryOne)
{
    const std::uint32_t subnet = test::randomLoopbackSubnet();
    const int port = test::freePortOn(subnet | 1);
    FakeListeners silent(addressesFrom(subnet | 1, 12), port, {});
    ASSERT_TRUE(silent.ok());
    ScanRequest request;
    request.targets = {target(test::ipv4(subnet) + QStringLiteral("/28"))};
    request.ports = {port};
    request.jobs = 3;
    request.listAll = true;
    const std::atomic<bool> cancel{false};
    const ScanResult result = RunScan(request, nullptr, cancel);
    EXPECT_EQ(result.addresses, 14);
    EXPECT_EQ(result.devices.size(), 12);
    for (const FoundDevice& device : result.devices)
        EXPECT_EQ(device.outcome, ProbeOutcome::Silent) << device.device.toStdString();
    EXPECT_EQ(silent.accepted(), 12);
    EXPECT_EQ(silent.mostOpenAtOnce(), 3);
    EXPECT_TRUE(silent.allClosed());
    // Without --all, listeners that are no printers are not listed.
    request.listAll = false;
    EXPECT_TRUE(RunScan(request, nullptr, cancel).devices.isEmpty());
}

TEST(ScanEngine, CancelEndsTheScanAtOnce)
{
    const std::uint32_t subnet = test::randomLoopbackSubnet();
    const int port = test::freePortOn(subnet | 1);
    FakeListeners silent(addressesFrom(subnet | 1, 40), port, {});
    ASSERT_TRUE(silent.ok());
    ScanRequest request;
    request.targets = {target(test::ipv4(subnet | 1) + QStringLiteral("-40"))};
    request.ports = {port};
    request.jobs = 2;  // 20 rounds of two silent seconds each (scaled)
    std::atomic<bool> cancel{false};
    QElapsedTimer clock;
    clock.start();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        cancel = true;
    });
    const ScanResult result = RunScan(request, nullptr, cancel);
    canceller.join();
    EXPECT_TRUE(result.cancelled);
    EXPECT_LT(clock.elapsed(), 600);
    EXPECT_LT(silent.accepted(), 40);
    EXPECT_TRUE(silent.allClosed());
}

}  // namespace
