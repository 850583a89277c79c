#include "comm/DeviceInfo.h"

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

}  // namespace vormex
