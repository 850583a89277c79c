// What a scan covers: the TARGET forms, host names through the resolver's seam, and the subnets
// of the machine's interfaces (given here as a list, so nothing but this list is looked at).
#include "discovery/NetworkInterfaces.h"
#include "discovery/ScanTarget.h"
#include "support/TestSupport.h"

#include <netdb.h>

#include <gtest/gtest.h>

using namespace vormex;

namespace {

constexpr std::uint32_t ip(int a, int b, int c, int d) { return std::uint32_t(a) << 24 | std::uint32_t(b) << 16 | std::uint32_t(c) << 8 | std::uint32_t(d); }

TEST(ScanTargets, EachFormNamesItsAddresses)
{
    struct Case {
        const char* text;
        std::uint32_t first, last;
        const char* host;
    };
    const Case cases[] = {
        {"127.0.0.7", ip(127, 0, 0, 7), ip(127, 0, 0, 7), ""},
        // A CIDR range of its hosts, without the network and broadcast address.
        {"127.0.5.0/24", ip(127, 0, 5, 1), ip(127, 0, 5, 254), ""},
        {"127.0.5.77/27", ip(127, 0, 5, 65), ip(127, 0, 5, 94), ""},
        {"127.0.5.6/31", ip(127, 0, 5, 6), ip(127, 0, 5, 7), ""},
        {"127.0.5.6/32", ip(127, 0, 5, 6), ip(127, 0, 5, 6), ""},
        {"127.9.0.0/16", ip(127, 9, 0, 1), ip(127, 9, 255, 254), ""},
        {"127.0.5.20-40", ip(127, 0, 5, 20), ip(127, 0, 5, 40), ""},
        {"127.0.5.250-127.0.6.3", ip(127, 0, 5, 250), ip(127, 0, 6, 3), ""},
        {"127.0.5.9-9", ip(127, 0, 5, 9), ip(127, 0, 5, 9), ""},
        {"printer-07.example", 0, 0, "printer-07.example"},
        {"localhost", 0, 0, "localhost"},
    };
    for (const Case& c : cases) {
        const ScanTargetParse parsed = ParseScanTarget(QString::fromLatin1(c.text));
        ASSERT_TRUE(parsed.target) << c.text << ": " << parsed.problem.toStdString();
        EXPECT_EQ(parsed.target->host, QString::fromLatin1(c.host)) << c.text;
        if (parsed.target->host.isEmpty()) {
            EXPECT_EQ(Ipv4Text(parsed.target->first), Ipv4Text(c.first)) << c.text;
            EXPECT_EQ(Ipv4Text(parsed.target->last), Ipv4Text(c.last)) << c.text;
        }
    }
}

TEST(ScanTargets, RefusesWhatNamesNoAddressOrTooMany)
{
    struct Case {
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {"127.0.0.0/15", "at most a /16"},
        {"127.0.0.0/33", "0 to 32"},
        {"127.0.0.0/x", "0 to 32"},
        {"127.0.0.256", "neither"},
        {"127.0.0", "neither"},
        {"127.0.0.40-20", "ends before it begins"},
        {"127.0.0.20-256", "ends with a number 0 to 255"},
        {"127.0.0.0-127.1.0.1", "at most 65536 addresses"},
        {"printer_07", "neither"},
        {"", "neither"},
    };
    for (const Case& c : cases) {
        const ScanTargetParse parsed = ParseScanTarget(QString::fromLatin1(c.text));
        EXPECT_FALSE(parsed.target) << c.text;
        EXPECT_TRUE(parsed.problem.contains(QString::fromLatin1(c.text))) << parsed.problem.toStdString();
        EXPECT_TRUE(parsed.problem.contains(QLatin1String(c.why))) << c.text << ": " << parsed.problem.toStdString();
    }
}

// A resolver that knows one name, so no query ever leaves the test.
HostLookupAnswer knownNames(const QString& host)
{
    if (host == QLatin1String("printer-07.example"))
        return {0, ip(127, 0, 5, 3)};
    return {EAI_NONAME, 0};
}

TEST(ScanTargets, AddressesComeSortedOnceWithTheirHostNames)
{
    QList<ScanTarget> targets;
    for (const char* text : {"127.0.5.4", "127.0.5.1-4", "printer-07.example"})
        targets.append(*ParseScanTarget(QString::fromLatin1(text)).target);
    const ExpandedTargets expanded = ExpandScanTargets(targets, knownNames);
    ASSERT_TRUE(expanded.problem.isEmpty()) << expanded.problem.toStdString();
    QStringList seen;
    for (const ScanAddress& address : expanded.addresses)
        seen << Ipv4Text(address.ipv4) + (address.host.isEmpty() ? QString() : QLatin1Char(' ') + address.host);
    EXPECT_EQ(seen, QStringList({"127.0.5.1", "127.0.5.2", "127.0.5.3 printer-07.example", "127.0.5.4"}));
}

TEST(ScanTargets, ANameThatDoesNotResolveStopsTheScanWithTheResolversMessage)
{
    const ExpandedTargets expanded = ExpandScanTargets({*ParseScanTarget(QStringLiteral("printer-99.example")).target}, knownNames);
    EXPECT_TRUE(expanded.addresses.isEmpty());
    EXPECT_EQ(expanded.problem, QStringLiteral("cannot resolve the host name \"printer-99.example\": %1")
                                    .arg(QString::fromLocal8Bit(::gai_strerror(EAI_NONAME))));
}

TEST(DefaultScan, CoversTheSubnetOfEveryInterfaceThatIsUpAndNotLoopback)
{
    // Stand-ins for the machine's interfaces, on loopback addresses.
    const QList<NetworkInterface> interfaces = {
        {QStringLiteral("lo"), ip(127, 0, 0, 1), 8, true, true},
        {QStringLiteral("eth0"), ip(127, 0, 5, 77), 27, true, false},
        {QStringLiteral("eth1"), ip(127, 0, 6, 1), 24, false, false},  // down
        {QStringLiteral("wlan0"), ip(127, 20, 5, 17), 16, true, false},
    };
    const DefaultScanPlan plan = DefaultScanTargets(interfaces);
    QStringList ranges;
    for (const ScanTarget& target : plan.targets)
        ranges << QStringLiteral("%1 %2-%3").arg(target.text, Ipv4Text(target.first), Ipv4Text(target.last));
    // A /16 is cut to the /22 around the machine's address, and the cut is said.
    EXPECT_EQ(ranges, QStringList({"127.0.5.64/27 127.0.5.65-127.0.5.94", "127.20.4.0/22 127.20.4.1-127.20.7.254"}));
    EXPECT_EQ(plan.notes, QStringList({"wlan0: 127.20.0.0/16 is wider than /22: only 127.20.4.0/22 around 127.20.5.17 is scanned"}));
    EXPECT_EQ(FirstInterfaceRange(interfaces), std::optional<QString>(QStringLiteral("127.0.5.64/27")));
    EXPECT_EQ(FirstInterfaceRange({interfaces[0], interfaces[2]}), std::nullopt);
}

}  // namespace
