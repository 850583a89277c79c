#pragma once

#include "comm/HostResolver.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace vormex {

// The widest range one TARGET may name: a /16, 65536 addresses.
inline constexpr int kWidestScanPrefix = 16;
inline constexpr std::int64_t kMostScanTargetAddresses = std::int64_t(1) << (32 - kWidestScanPrefix);

// One TARGET of a scan: an IPv4 address, a CIDR range ("192.168.10.0/24"), a range of addresses
// ("192.168.10.20-40" or "192.168.10.20-192.168.10.40"), or a host name resolved when the scan
// starts.
struct ScanTarget {
    QString text;              // as the user gave it
    std::uint32_t first = 0;   // the range, inclusive, host byte order (not for a host name)
    std::uint32_t last = 0;
    QString host;              // a host name; empty for addresses

    std::int64_t count() const { return host.isEmpty() ? std::int64_t(last) - first + 1 : 1; }
};

// A TARGET as typed, or why it is none (`problem`, naming the text).
struct ScanTargetParse {
    std::optional<ScanTarget> target;
    QString problem;
};
// A CIDR range names its hosts: the network and broadcast addresses of a range of more than two
// addresses are left out ("192.168.10.0/24" is .1 to .254).
ScanTargetParse ParseScanTarget(const QString& text);

// The forms a TARGET takes, for usage messages.
QString ScanTargetGrammar();

// Four numbers 0..255 separated by dots, nothing else; and back.
std::optional<std::uint32_t> ParseIpv4(QStringView text);
QString Ipv4Text(std::uint32_t address);

// One address a scan probes; `host` is the name it was given by, if any.
struct ScanAddress {
    std::uint32_t ipv4 = 0;
    QString host;
};

// The addresses of the targets, host names resolved (through ResolveHost), sorted, each once.
// A name that does not resolve stops it: `problem` holds the resolver's message.
struct ExpandedTargets {
    QList<ScanAddress> addresses;
    QString problem;
};
ExpandedTargets ExpandScanTargets(const QList<ScanTarget>& targets, const HostLookup& lookup = {});

}  // namespace vormex
