#pragma once

#include "comm/DeviceInfo.h"
#include "comm/PortMap.h"

#include <QString>

#include <optional>

namespace vormex {

// The device texts a user may type (command line, settings, lists of printers), for messages.
QString DeviceTextGrammar();

// Where a device text leads: the printer behind it, whatever the spelling of its numbers.
struct DeviceEndpoint {
    PortKind kind = PortKind::Closed;
    std::array<int, 4> address{};  // LAN: the IPv4 address
    QString host;                  // LAN: a host name in lower case, resolved when the port opens
    int port = 0;                  // LAN: the TCP port
    int number = 0;                // COM and LPT: the port's number
    QString path;                  // USB: the device path as given; empty for the chosen USB printer
};

// A device text as a user types it, read strictly: "LAN:" with four numbers 0..255 separated by
// dots (or a host name), ":" and a TCP port 1..65535; "COM<1..256>:" with a baud rate (2400, 4800, 9600, 19200,
// 38400, 57600 or 115200), data bits 7 or 8, parity none, odd or even and stop bits 1 or 2,
// separated by commas; "LPT<1..9>:" with nothing after it; "USB:" with nothing or a device path.
// No blanks around it, the interface in capitals. Unlike the port layer, which reads what the
// printer settings page stored and takes any unknown interface for USB, it refuses typing
// errors. Nothing, and why not in `problem`, when the text is not well formed.
std::optional<DeviceEndpoint> ParseDeviceText(const QString& text, QString* problem = nullptr);

// Nothing when the text is well formed, else why not.
std::optional<QString> CheckDeviceText(const QString& text);

// Two parsed texts lead to the same printer: the same address (or host name) and port as numbers, the same COM
// or LPT number, the same USB node once links are resolved. Serial settings do not matter.
bool SameEndpoint(const DeviceEndpoint& a, const DeviceEndpoint& b);

// Why a port did not open, naming the device: "connection refused by 127.0.0.1:9101",
// "COM9 is not a serial port here (known: COM1 = /dev/ttyS0; map names in [Ports])", ...
// `parts` are the kind text and the address the port was opened with, `error` its lastError.
QString DescribeOpenFailure(const DeviceInfoParts& parts, int error, const PortMap& portMap);

// The same for a device text that could not even be split.
QString DescribeUnusableDeviceText(const QString& deviceInfo);

}  // namespace vormex
