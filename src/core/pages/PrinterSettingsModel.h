#pragma once

#include "base/ControlCodes.h"

#include <QString>
#include <QStringList>

#include <array>

// The rules of the printer settings page that do not depend on widgets: the interface list,
// the device-info text composed from the page's choices and read back into them, the header
// text and the control codes the page sets.
namespace vormex {

// The header pane's text: the printer name, a backspace character, the device-info text.
inline constexpr char16_t kHeaderSeparator = u'\u0008';
QString ComposeHeaderText(const QString& printerName, const QString& deviceInfo);
// The two parts of a header text (the second empty when there is no separator).
std::pair<QString, QString> SplitHeaderText(const QString& headerText);

// The interface list: "LAN", "USB" when a USB printer is connected, the COM ports, the LPT ports.
QStringList BuildInterfaceList(bool usbPresent, const QStringList& comPorts, const QStringList& lptPorts);

// What the interface controls of the page hold.
struct InterfaceChoice {
    QString entryText;                 // the selected interface entry: "LAN", "USB", "COM3", "LPT1"
    std::array<int, 4> ipBytes{};      // the IP address control (LAN)
    QString host;                      // a host name in the address control instead (LAN)
    int port = 8000;                   // the port number (LAN)
    QString baudRate, dataBits, parity, stopBits;  // the selected serial texts (COM)
};

// The device-info text of a choice: "LAN:a.b.c.d:port" (or "LAN:host:port"), "USB:",
// "COM3:9600,8,none,1", "LPT1:".
QString ComposeDeviceInfo(const InterfaceChoice& choice);

// The default device-info text and its parts.
std::array<int, 4> DefaultIpBytes();
QString DefaultDeviceInfo();

// The serial option lists the page offers (from the string table).
struct SerialOptions {
    QStringList baudRates, dataBits, parities, stopBits;
};

// How the page shows a stored device-info text.
struct InterfaceSelection {
    int interfaceIndex = 0;                  // entry of the interface list to select
    std::array<int, 4> ipBytes = DefaultIpBytes();
    QString host;  // a stored host name, shown in the address field in place of the numbers
    int port = 8000;
    int baudIndex = 0, dataBitsIndex = 0, parityIndex = 0, stopBitsIndex = 0;
    // Set when the stored text cannot be shown (USB without a connected USB printer, a text that
    // names no interface): the page shows LAN with the default address, and this text is stored
    // in place of the old one.
    QString replacementDeviceInfo;
    // Set when the stored text names a COM or LPT port that the system does not have now (an
    // adapter unplugged): the page inserts this port name into its list at `interfaceIndex`,
    // marked as not connected, and selects it. The stored text stays, so the port's settings
    // are there again once the port is; actions on it fail as on any port that cannot be opened.
    QString missingPort;
};

// Reads the stored text into the page's choices. A USB text without a connected USB printer, or
// a text that names no interface, falls back to LAN with the default address and 8000 (to be
// stored); a COM or LPT port that is not in the list is kept as a missing port.
InterfaceSelection SelectInterface(const QString& deviceInfo, const QStringList& interfaces, bool usbPresent,
                                   const SerialOptions& options);

// True for the names the port layer can open: "COM1" to "COM256", "LPT1" to "LPT9".
bool IsPortName(const QString& name);

// Where a port that is not in the interface list goes: among the ports of its kind by number,
// the COM ports before the LPT ports.
int MissingPortPosition(const QStringList& interfaces, const QString& portName);

// What is wrong with a typed IPv4 address, the first fault from the left.
enum class IpAddressProblem {
    None,
    WrongForm,      // not four numbers separated by dots (or other characters in it)
    MissingNumber,  // two dots in a row, or a dot at either end: `position` names the number
    TooLarge,       // a number above 255: `number` is its text
};
struct IpAddressCheck {
    IpAddressProblem problem = IpAddressProblem::None;
    std::array<int, 4> bytes{};
    int position = 0;  // 1..4, the missing number
    QString number;    // the number that is too large
    bool ok() const { return problem == IpAddressProblem::None; }
};
IpAddressCheck CheckIpAddress(const QString& text);

// The manual control codes are shown as "HEX(1B)".
QString FormatManualCode(std::uint8_t code);
// The code of a manual-code text: its hexadecimal digits (inside "HEX(...)" or alone), read like
// "%X" (leading digits only); 0 when there are none.
std::uint8_t ParseManualCode(const QString& text);

// What the control-code part of the page holds.
struct ControlCodeChoice {
    bool variableControlCodes = false;  // the printer entry allows a choice
    int typeIndex = 0;                  // the selected type, 0..3
    QString manual1, manual2, manual3;  // the three manual-code texts
};

// The current control codes the page sets: fixed printers always use type 0 (ESC, LF, NUL).
ControlCodes ControlCodesFromPage(const ControlCodeChoice& choice);

// Which manual code is in conflict: none, the first (code1 equals code2 or code3) or the
// second (code2 equals code3). Only type 3 can conflict.
enum class ControlCodeConflict { None, FirstCode, SecondCode };
ControlCodeConflict FindControlCodeConflict(const ControlCodes& codes);

}  // namespace vormex
