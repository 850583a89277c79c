#pragma once

#include <QString>

#include <array>
#include <optional>

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

// The address of a LAN device text: "192.168.1.100:8000", or a host name resolved when the port
// opens: "printer-07.example:8000".
struct LanAddress {
    std::array<int, 4> bytes{};
    int port = 0;
    QString host;  // empty when the address is given as four numbers

    // The host name, or the four numbers "192.168.1.100".
    QString hostText() const;
};
inline constexpr int kMinLanPort = 1;
inline constexpr int kMaxLanPort = 65535;

// Reads the part before the first colon as four numbers 0..255 separated by dots, or else as a
// host name, and the part after it as the TCP port 1..65535, each number as the C library reads
// an integer (text after the fourth number or after the port's digits is ignored). Nothing when a
// number is missing or out of range and the part is no host name either.
std::optional<LanAddress> ParseLanAddress(const QString& address);

// A host name as the resolver takes it: labels of letters, digits and hyphens (1 to 63, neither
// beginning nor ending with a hyphen) separated by dots, at most 253 characters, the last label
// not all digits (so a mistyped address such as "192.168.1" is not taken for a name).
bool IsHostName(QStringView text);

}  // namespace vormex
