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

std::optional<LanAddress> ParseLanAddress(const QString& address)
{
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    LanAddress lan;
    const QStringView host = QStringView(address).first(colon);
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
        lan.bytes[size_t(i)] = int(scan.value);
        pos += scan.end;
    }
    lan.port = CDecimal(QStringView(address).sliced(colon + 1));
    if (lan.port < kMinLanPort || lan.port > kMaxLanPort)
        return std::nullopt;
    return lan;
}

}  // namespace vormex
