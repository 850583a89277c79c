#pragma once

#include <QString>

namespace vormex {

// The stored interface text ("Device Info"): the interface name, a colon and an address, e.g.
// "LAN:192.168.1.100:8000", "COM3:9600,8,none,1", "LPT1:" or "USB:".
struct DeviceInfoParts {
    QString kind;     // everything before the first colon: "LAN", "COM3", "LPT1", "USB"
    QString address;  // everything after it
};

// Splits the text at its first colon. Fails (false) when the text is empty, has no colon, or the
// colon stands at index 0 or 1.
bool SplitDeviceInfo(const QString& deviceInfo, DeviceInfoParts& parts);

// The interface a kind text names, by its first three characters (case-sensitive); every
// other text means USB.
enum class PortKind { Closed = 0, Com = 1, Lan = 2, Lpt = 3, Usb = 4 };
PortKind PortKindOf(const QString& kindText);

}  // namespace vormex
