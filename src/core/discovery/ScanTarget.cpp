#include "discovery/ScanTarget.h"

#include "comm/DeviceInfo.h"

#include <QRegularExpression>

#include <algorithm>

namespace vormex {
namespace {

std::uint32_t prefixMask(int prefix) { return prefix == 0 ? 0 : ~std::uint32_t(0) << (32 - prefix); }

ScanTargetParse problem(const QString& text, const QString& why)
{
    return {std::nullopt, QStringLiteral("\"%1\" is not a scan target: %2").arg(text, why)};
}

ScanTargetParse cidr(const QString& text, std::uint32_t address, const QString& prefixText)
{
    bool ok = false;
    const int prefix = prefixText.toInt(&ok);
    if (!ok || prefix < 0 || prefix > 32)
        return problem(text, QStringLiteral("the prefix length is 0 to 32"));
    if (prefix < kWidestScanPrefix)
        return problem(text, QStringLiteral("a range may be at most a /%1 (%2 addresses)").arg(kWidestScanPrefix).arg(kMostScanTargetAddresses));
    ScanTarget target{text, address & prefixMask(prefix), (address & prefixMask(prefix)) | ~prefixMask(prefix), {}};
    if (prefix <= 30) {  // the network and the broadcast address are no printer's
        ++target.first;
        --target.last;
    }
    return {target, {}};
}

ScanTargetParse range(const QString& text, std::uint32_t first, const QString& end)
{
    std::optional<std::uint32_t> last = ParseIpv4(end);
    if (!last) {
        bool ok = false;
        const int lastByte = end.toInt(&ok);
        if (!ok || lastByte < 0 || lastByte > 255 || end.startsWith(QLatin1Char('+')))
            return problem(text, QStringLiteral("a range ends with a number 0 to 255 or a whole address"));
        last = (first & 0xFFFFFF00u) | std::uint32_t(lastByte);
    }
    if (*last < first)
        return problem(text, QStringLiteral("the range ends before it begins"));
    if (std::int64_t(*last) - first + 1 > kMostScanTargetAddresses)
        return problem(text, QStringLiteral("a range may hold at most %1 addresses").arg(kMostScanTargetAddresses));
    return {ScanTarget{text, first, *last, {}}, {}};
}

}  // namespace

std::optional<std::uint32_t> ParseIpv4(QStringView text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = form.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    std::uint32_t address = 0;
    for (int i = 1; i <= 4; ++i) {
        const int byte = match.capturedView(i).toInt();
        if (byte > 255)
            return std::nullopt;
        address = address << 8 | std::uint32_t(byte);
    }
    return address;
}

QString Ipv4Text(std::uint32_t address)
{
    return QStringLiteral("%1.%2.%3.%4").arg(address >> 24).arg((address >> 16) & 0xFF).arg((address >> 8) & 0xFF).arg(address & 0xFF);
}

QString ScanTargetGrammar()
{
    return QStringLiteral("A scan target is one of:\n"
                          "  ADDRESS          e.g. 192.168.10.21\n"
                          "  HOST             e.g. printer-07.example (resolved when the scan starts)\n"
                          "  ADDRESS/PREFIX   e.g. 192.168.10.0/24 (at most /16; without the network and broadcast address)\n"
                          "  ADDRESS-LAST     e.g. 192.168.10.20-40 or 192.168.10.20-192.168.10.40");
}

ScanTargetParse ParseScanTarget(const QString& text)
{
    if (const std::optional<std::uint32_t> address = ParseIpv4(text))
        return {ScanTarget{text, *address, *address, {}}, {}};
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    if (slash > 0) {
        if (const std::optional<std::uint32_t> address = ParseIpv4(QStringView(text).first(slash)))
            return cidr(text, *address, text.mid(slash + 1));
        return problem(text, QStringLiteral("an IPv4 address must stand before the \"/\""));
    }
    if (dash > 0) {
        if (const std::optional<std::uint32_t> first = ParseIpv4(QStringView(text).first(dash)))
            return range(text, *first, text.mid(dash + 1));
    }
    if (IsHostName(text))
        return {ScanTarget{text, 0, 0, text}, {}};
    return problem(text, QStringLiteral("neither an IPv4 address, a range nor a host name"));
}

ExpandedTargets ExpandScanTargets(const QList<ScanTarget>& targets, const HostLookup& lookup)
{
    ExpandedTargets expanded;
    for (const ScanTarget& target : targets) {
        if (target.host.isEmpty()) {
            for (std::int64_t address = target.first; address <= std::int64_t(target.last); ++address)
                expanded.addresses.append(ScanAddress{std::uint32_t(address), {}});
            continue;
        }
        const ResolvedHost resolved = ResolveHost(target.host, lookup);
        if (!resolved.address) {
            expanded.problem = resolved.problem;
            expanded.addresses.clear();
            return expanded;
        }
        expanded.addresses.append(ScanAddress{*resolved.address, target.host});
    }
    // Sorted, an address named by a host name first, so that the name is kept.
    std::stable_sort(expanded.addresses.begin(), expanded.addresses.end(), [](const ScanAddress& a, const ScanAddress& b) {
        return a.ipv4 != b.ipv4 ? a.ipv4 < b.ipv4 : !a.host.isEmpty() && b.host.isEmpty();
    });
    const auto duplicate = std::unique(expanded.addresses.begin(), expanded.addresses.end(),
                                       [](const ScanAddress& a, const ScanAddress& b) { return a.ipv4 == b.ipv4; });
    expanded.addresses.erase(duplicate, expanded.addresses.end());
    return expanded;
}

}  // namespace vormex
