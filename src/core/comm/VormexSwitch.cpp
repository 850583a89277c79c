#include "comm/VormexSwitch.h"

#include "comm/CommandFraming.h"
#include "comm/DeviceInfo.h"
#include "comm/DeviceText.h"
#include "comm/PrinterPort.h"
#include "timing/PacingClock.h"

namespace vormex {

VormexSwitchResult SendVormexSwitch(bool on, const LinkSettings& link)
{
    VormexSwitchResult result;
    DeviceInfoParts parts;
    if (!SplitDeviceInfo(link.deviceInfo, parts)) {
        result.problem = DescribeUnusableDeviceText(link.deviceInfo);
        return result;
    }
    result.usable = true;
    if (PortKindOf(parts.kind) == PortKind::Usb)
        parts.address = link.usbDevicePath;
    PrinterPort port(link.portMap);
    port.progressPercent = -1;
    result.opened = port.Open(parts.kind, parts.address, false) == 1;
    if (!result.opened)
        result.problem = port.describeOpenFailure(parts);
    if (result.opened)
        result.written = port.Write(FrameShortCommand(on ? "!Z" : "!T", link.codes)) == 1;
    if (result.opened && !result.written)
        result.problem = QStringLiteral("%1: the command could not be sent").arg(link.deviceInfo);
    pacing::pause(1000);
    port.Close();
    return result;
}

}  // namespace vormex
