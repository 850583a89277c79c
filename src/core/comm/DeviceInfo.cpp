#include "comm/DeviceInfo.h"

#include "base/Numbers.h"

namespace vormex {

bool SplitDeviceInfo(const QString& deviceInfo, DeviceInfoParts& parts)
{
    const qsizetype colon = deviceInfo.indexOf(QLatin1Char(':'));
    if (colon < 2)
        return false;
    parts.kind = deviceInfo.left(colon);
    parts.address = deviceInfo.mid(colon + 1);
    return true;
}

PortKind PortKindOf(const QString& kindText)
{
    if (kindText.startsWith(QLatin1String("COM")))
        return PortKind::Com;
    if (kindText.startsWith(QLatin1String("LAN")))
        return PortKind::Lan;
    if (kindText.startsWith(QLatin1String("LPT")))
        return PortKind::Lpt;
    return PortKind::Usb;
}

QString LanAddress::hostText() const
{
    if (!host.isEmpty())
        return host;
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

bool IsHostName(QStringView text)
{
    if (text.isEmpty() || text.size() > 253)
        return false;
    bool lastLabelAllDigits = true;
    for (const QStringView label : text.tokenize(u'.')) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith(u'-') || label.endsWith(u'-'))
            return false;
        lastLabelAllDigits = true;
        for (const QChar c : label) {
            const bool digit = c >= u'0' && c <= u'9';
            const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
            if (!digit && !letter && c != u'-')
                return false;
            lastLabelAllDigits = lastLabelAllDigits && digit;
        }
    }
    return !lastLabelAllDigits;
}

namespace {

// The four numbers of an address as the C library reads them.
std::optional<std::array<int, 4>> parseAddressBytes(QStringView host)
{
    std::array<int, 4> bytes{};
    qsizetype pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= host.size() || host[pos] != u'.')
                return std::nullopt;
            ++pos;
        }
        const DecimalScan scan = ScanCDecimal(host.sliced(pos), -1, 256);
        if (!scan.digits || scan.value < 0 || scan.value > 255)
            return std::nullopt;
        bytes[size_t(i)] = int(scan.value);
        pos += scan.end;
    }
    return bytes;
}

}  // namespace

std::optional<LanAddress> ParseLanAddress(const QString& address)
{
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    LanAddress lan;
    const QStringView host = QStringView(address).first(colon);
    if (const std::optional<std::array<int, 4>> bytes = parseAddressBytes(host))
        lan.bytes = *bytes;
    else if (IsHostName(host))
        lan.host = host.toString();
    else
        return std::nullopt;
    lan.port = CDecimal(QStringView(address).sliced(colon + 1));
    if (lan.port < kMinLanPort || lan.port > kMaxLanPort)
        return std::nullopt;
    return lan;
}

}  // namespace vormex
