#include "discovery/NetworkInterfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <bit>
#include <memory>

namespace vormex {
namespace {

std::uint32_t prefixMask(int prefix) { return prefix <= 0 ? 0 : ~std::uint32_t(0) << (32 - prefix); }

bool scanned(const NetworkInterface& interface) { return interface.up && !interface.loopback; }

}  // namespace

QList<NetworkInterface> SystemNetworkInterfaces()
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owned(list, &::freeifaddrs);
    QList<NetworkInterface> interfaces;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_netmask)
            continue;
        NetworkInterface interface;
        interface.name = QString::fromLocal8Bit(entry->ifa_name);
        interface.address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        interface.prefixLength = std::popcount(ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr));
        interface.up = (entry->ifa_flags & IFF_UP) && (entry->ifa_flags & IFF_RUNNING);
        interface.loopback = entry->ifa_flags & IFF_LOOPBACK;
        interfaces.append(interface);
    }
    return interfaces;
}

ScanTarget InterfaceSubnet(const NetworkInterface& interface, QString* note)
{
    const int prefix = std::max(interface.prefixLength, kWidestDefaultPrefix);
    const std::uint32_t network = interface.address & prefixMask(prefix);
    const QString text = QStringLiteral("%1/%2").arg(Ipv4Text(network)).arg(prefix);
    if (note && prefix != interface.prefixLength) {
        *note = QStringLiteral("%1: %2/%3 is wider than /%4: only %5 around %6 is scanned")
                    .arg(interface.name, Ipv4Text(interface.address & prefixMask(interface.prefixLength)))
                    .arg(interface.prefixLength)
                    .arg(kWidestDefaultPrefix)
                    .arg(text, Ipv4Text(interface.address));
    }
    return *ParseScanTarget(text).target;
}

DefaultScanPlan DefaultScanTargets(const QList<NetworkInterface>& interfaces)
{
    DefaultScanPlan plan;
    for (const NetworkInterface& interface : interfaces) {
        if (!scanned(interface))
            continue;
        QString note;
        plan.targets.append(InterfaceSubnet(interface, &note));
        if (!note.isEmpty())
            plan.notes.append(note);
    }
    return plan;
}

std::optional<QString> FirstInterfaceRange(const QList<NetworkInterface>& interfaces)
{
    for (const NetworkInterface& interface : interfaces) {
        if (scanned(interface))
            return InterfaceSubnet(interface).text;
    }
    return std::nullopt;
}

}  // namespace vormex
