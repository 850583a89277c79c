#pragma once

#include "discovery/ScanTarget.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace vormex {

// One IPv4 address of a network interface of this machine.
struct NetworkInterface {
    QString name;                // "eth0"
    std::uint32_t address = 0;   // host byte order
    int prefixLength = 32;
    bool up = false;
    bool loopback = false;
};

// The IPv4 addresses of this machine's interfaces, in the system's order.
QList<NetworkInterface> SystemNetworkInterfaces();

// A scan without TARGET covers each interface's subnet up to a /22 (1022 addresses); a wider
// one is cut to the /22 around the machine's address.
inline constexpr int kWidestDefaultPrefix = 22;

// The subnet of one interface as a scan target ("192.168.10.0/24"), cut to a /22 when wider;
// `note` then says so ("eth0: 10.0.0.0/8 is wider than /22: only 10.0.4.0/22 around 10.0.5.17
// is scanned").
ScanTarget InterfaceSubnet(const NetworkInterface& interface, QString* note = nullptr);

// What a scan without TARGET covers: the subnet of every interface that is up and not loopback,
// and the notes about the subnets that were cut.
struct DefaultScanPlan {
    QList<ScanTarget> targets;
    QStringList notes;
};
DefaultScanPlan DefaultScanTargets(const QList<NetworkInterface>& interfaces);

// The subnet of the first interface that is up and not loopback, as a TARGET text; nothing when
// there is none. The find dialog starts with it.
std::optional<QString> FirstInterfaceRange(const QList<NetworkInterface>& interfaces);

}  // namespace vormex
