#include "pages/PrinterSettingsModel.h"

#include "base/StringIds.h"
#include "comm/ParameterReadBack.h"
#include "comm/PrinterLink.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace vormex {
namespace {

const SerialOptions kSerial{
    {"2400", "4800", "9600", "19200", "38400", "57600", "115200"}, {"7", "8"}, {"none", "odd", "even"}, {"1", "2"}};

TEST(DeviceInfoText, ComposedForEachInterface)
{
    struct Case {
        const char* entry;
        const char* expected;
    };
    const Case cases[] = {
        {"LAN", "LAN:10.0.0.7:9100"},
        {"USB", "USB:"},
        {"COM3", "COM3:115200,8,even,1"},
        {"COM12", "COM12:115200,8,even,1"},
        {"LPT1", "LPT1:"},
    };
    for (const Case& c : cases) {
        InterfaceChoice choice;
        choice.entryText = QString::fromLatin1(c.entry);
        choice.ipBytes = {10, 0, 0, 7};
        choice.port = 9100;
        choice.baudRate = "115200";
        choice.dataBits = "8";
        choice.parity = "even";
        choice.stopBits = "1";
        EXPECT_EQ(ComposeDeviceInfo(choice), QString::fromLatin1(c.expected)) << c.entry;
    }
}

TEST(DeviceInfoText, InterfaceListOrder)
{
    EXPECT_EQ(BuildInterfaceList(false, {"COM1"}, {"LPT1"}), (QStringList{"LAN", "COM1", "LPT1"}));
    EXPECT_EQ(BuildInterfaceList(true, {"COM1", "COM2"}, {}), (QStringList{"LAN", "USB", "COM1", "COM2"}));
}

TEST(DeviceInfoText, StoredComSettingsSelectExactlyThoseEntries)
{
    const QStringList interfaces{"LAN", "COM1", "COM3", "LPT1"};
    const InterfaceSelection s = SelectInterface("COM3:9600,7,odd,2", interfaces, false, kSerial);
    EXPECT_EQ(s.interfaceIndex, 2);
    EXPECT_EQ(kSerial.baudRates[s.baudIndex], "9600");
    EXPECT_EQ(kSerial.dataBits[s.dataBitsIndex], "7");
    EXPECT_EQ(kSerial.parities[s.parityIndex], "odd");
    EXPECT_EQ(kSerial.stopBits[s.stopBitsIndex], "2");
    EXPECT_TRUE(s.replacementDeviceInfo.isEmpty());
}

TEST(DeviceInfoText, StoredLanAddressAndPort)
{
    const InterfaceSelection s = SelectInterface("LAN:127.0.0.1:9100", {"LAN", "COM1"}, false, kSerial);
    EXPECT_EQ(s.interfaceIndex, 0);
    EXPECT_EQ(s.ipBytes, (std::array<int, 4>{127, 0, 0, 1}));
    EXPECT_EQ(s.port, 9100);
    EXPECT_TRUE(s.replacementDeviceInfo.isEmpty());
}

TEST(DeviceInfoText, StoredHostNameIsKeptAndComposedAgain)
{
    const InterfaceSelection s = SelectInterface("LAN:printer-07.example:9100", {"LAN", "COM1"}, false, kSerial);
    EXPECT_EQ(s.host, QStringLiteral("printer-07.example"));
    EXPECT_EQ(s.ipBytes, DefaultIpBytes());
    EXPECT_EQ(s.port, 9100);
    EXPECT_TRUE(s.replacementDeviceInfo.isEmpty());
    InterfaceChoice choice{QStringLiteral("LAN"), {10, 0, 0, 7}, s.host, s.port, {}, {}, {}, {}};
    EXPECT_EQ(ComposeDeviceInfo(choice), QStringLiteral("LAN:printer-07.example:9100"));
    choice.host.clear();
    EXPECT_EQ(ComposeDeviceInfo(choice), QStringLiteral("LAN:10.0.0.7:9100"));
}

TEST(DeviceInfoText, DamagedLanAddressKeepsTheDefaults)
{
    // Port 0 is refused as the port layer refuses it: the page never shows an address it cannot open.
    for (const char* text : {"LAN:300.1.1.1:80", "LAN:1.2.3:80", "LAN:1.2.3.4:70000", "LAN:1.2.3.4:0", "LAN:"}) {
        const InterfaceSelection s = SelectInterface(QString::fromLatin1(text), {"LAN"}, false, kSerial);
        EXPECT_EQ(s.ipBytes, DefaultIpBytes()) << text;
        EXPECT_EQ(s.port, 8000) << text;
    }
}

TEST(DeviceInfoText, ParityShownIsTheParityThePortOpensWith)
{
    struct Case {
        const char* word;
        const char* shown;
    };
    // Any word but "none" and "even" opens the port with odd parity.
    const Case cases[] = {{"none", "none"}, {"even", "even"}, {"odd", "odd"}, {"Odd", "odd"}, {"mark", "odd"}, {"", "odd"}};
    for (const Case& c : cases) {
        const InterfaceSelection s =
            SelectInterface(QStringLiteral("COM1:9600,8,%1,1").arg(QLatin1String(c.word)), {"LAN", "COM1"}, false, kSerial);
        EXPECT_EQ(kSerial.parities[s.parityIndex], QLatin1String(c.shown)) << c.word;
    }
}

TEST(DeviceInfoText, UsbWithoutPrinterAndUnknownTextsFallBackToLanAndAreReplaced)
{
    const QStringList interfaces{"LAN", "COM1"};
    for (const char* text : {"USB:", "nonsense", "", "COM0:9600,8,none,1", "COM257:", "LPT10:", "COM03:", "LPT1",
                             "XYZ:1"}) {
        const InterfaceSelection s = SelectInterface(QString::fromLatin1(text), interfaces, false, kSerial);
        EXPECT_EQ(s.interfaceIndex, 0) << text;
        EXPECT_EQ(s.replacementDeviceInfo, DefaultDeviceInfo()) << text;
        EXPECT_TRUE(s.missingPort.isEmpty()) << text;
        EXPECT_EQ(s.port, 8000) << text;
    }
    // USB with a connected printer stays.
    const InterfaceSelection usb = SelectInterface("USB:", {"LAN", "USB"}, true, kSerial);
    EXPECT_EQ(usb.interfaceIndex, 1);
    EXPECT_TRUE(usb.replacementDeviceInfo.isEmpty());
}

// A port that is not on the system now (an adapter unplugged) keeps its stored text: the page
// lists it where it belongs and selects it with its serial settings.
TEST(DeviceInfoText, MissingComOrLptPortIsKeptAndListed)
{
    struct Case {
        const char* stored;
        QStringList interfaces;
        int index;
    };
    const Case cases[] = {
        {"COM9:19200,7,even,2", {"LAN", "COM1", "COM3", "LPT1"}, 3},
        {"COM2:9600,8,none,1", {"LAN", "USB", "COM1", "COM3", "LPT1"}, 3},
        {"COM2:9600,8,none,1", {"LAN", "COM10", "LPT1"}, 1},
        {"COM9:9600,8,none,1", {"LAN", "LPT1"}, 1},
        {"COM9:9600,8,none,1", {"LAN"}, 1},
        {"LPT1:", {"LAN", "COM1"}, 2},
        {"LPT3:", {"LAN", "COM1", "LPT1", "LPT4"}, 3},
        {"LPT2:", {"LAN", "COM1", "LPT1"}, 3},
    };
    for (const Case& c : cases) {
        const QString stored = QString::fromLatin1(c.stored);
        const InterfaceSelection s = SelectInterface(stored, c.interfaces, false, kSerial);
        EXPECT_EQ(s.missingPort, stored.section(':', 0, 0)) << c.stored;
        EXPECT_EQ(s.interfaceIndex, c.index) << c.stored;
        EXPECT_TRUE(s.replacementDeviceInfo.isEmpty()) << c.stored;
    }
    const InterfaceSelection com = SelectInterface("COM9:19200,7,even,2", {"LAN"}, false, kSerial);
    EXPECT_EQ(kSerial.baudRates[com.baudIndex], "19200");
    EXPECT_EQ(kSerial.dataBits[com.dataBitsIndex], "7");
    EXPECT_EQ(kSerial.parities[com.parityIndex], "even");
    EXPECT_EQ(kSerial.stopBits[com.stopBitsIndex], "2");
    // A port that is there is not missing.
    EXPECT_TRUE(SelectInterface("COM1:9600,8,none,1", {"LAN", "COM1"}, false, kSerial).missingPort.isEmpty());
}

// The kept text of a missing port reaches the port layer unchanged, and an action on it fails
// the way it fails on any port that cannot be opened.
TEST(DeviceInfoText, ActionsOnAMissingPortFailAsOnAPortThatCannotBeOpened)
{
    QTemporaryDir noDevices;  // a device folder without serial or parallel nodes
    LinkSettings link;
    link.portMap = PortMap(nullptr, noDevices.path());
    link.deviceInfo = QStringLiteral("COM9:9600,8,none,1");
    const ReadBackResult readBack = ReadParameterFileBack(ParameterFileKind::SystemParameters, link, {});
    EXPECT_EQ(readBack.result, 0);
    EXPECT_EQ(readBack.messageId, strings::kDeviceOpenError);

    for (const char* text : {"COM9:9600,8,none,1", "LPT1:"}) {
        link.deviceInfo = QString::fromLatin1(text);
        PrinterLink printer(link);
        EXPECT_EQ(printer.Connect(false), 0) << text;  // the download logs 8023 for it
    }
}

TEST(DeviceInfoText, PortNamesThePortLayerOpens)
{
    for (const char* name : {"COM1", "COM9", "COM256", "LPT1", "LPT9"})
        EXPECT_TRUE(IsPortName(QString::fromLatin1(name))) << name;
    for (const char* name : {"COM0", "COM257", "COM", "COM01", "COM1x", "LPT0", "LPT10", "LAN", "USB", "com1", ""})
        EXPECT_FALSE(IsPortName(QString::fromLatin1(name))) << name;
}

TEST(IpAddressText, FaultsAreNamed)
{
    struct Case {
        const char* text;
        IpAddressProblem problem;
        int position;
        const char* number;
    };
    const Case cases[] = {
        {"999.300..1", IpAddressProblem::TooLarge, 0, "999"},
        {"10.300..1", IpAddressProblem::TooLarge, 0, "300"},
        {"10.3..1", IpAddressProblem::MissingNumber, 3, ""},
        {".1.2.3", IpAddressProblem::MissingNumber, 1, ""},
        {"1.2.3.", IpAddressProblem::MissingNumber, 4, ""},
        {"10.1.2", IpAddressProblem::WrongForm, 0, ""},
        {"1.2.3.4.5", IpAddressProblem::WrongForm, 0, ""},
        {"1.2.3.x", IpAddressProblem::WrongForm, 0, ""},
        {"", IpAddressProblem::WrongForm, 0, ""},
        {"1.2.3.99999999999", IpAddressProblem::TooLarge, 0, "99999999999"},
    };
    for (const Case& c : cases) {
        const IpAddressCheck check = CheckIpAddress(QString::fromLatin1(c.text));
        EXPECT_EQ(check.problem, c.problem) << c.text;
        EXPECT_FALSE(check.ok()) << c.text;
        if (c.problem == IpAddressProblem::MissingNumber) {
            EXPECT_EQ(check.position, c.position) << c.text;
        }
        if (c.problem == IpAddressProblem::TooLarge) {
            EXPECT_EQ(check.number, QString::fromLatin1(c.number)) << c.text;
        }
    }
    const IpAddressCheck good = CheckIpAddress("10.0.255.7");
    EXPECT_TRUE(good.ok());
    EXPECT_EQ(good.bytes, (std::array<int, 4>{10, 0, 255, 7}));
    EXPECT_EQ(CheckIpAddress("010.0.0.1").bytes[0], 10);
}

TEST(ManualCodes, FormatAndParse)
{
    EXPECT_EQ(FormatManualCode(0x1B), "HEX(1B)");
    EXPECT_EQ(FormatManualCode(0x0A), "HEX(0A)");
    EXPECT_EQ(FormatManualCode(0xFF), "HEX(FF)");
    EXPECT_EQ(ParseManualCode("HEX(1B)"), 0x1B);
    EXPECT_EQ(ParseManualCode("HEX(7e)"), 0x7E);
    EXPECT_EQ(ParseManualCode("2C"), 0x2C);
    EXPECT_EQ(ParseManualCode("HEX(1 )"), 0x01);  // leading digits only, as "%X" reads them
    EXPECT_EQ(ParseManualCode("HEX(  )"), 0x00);
}

TEST(ManualCodes, CodesFromThePage)
{
    ControlCodeChoice choice{true, 3, "HEX(02)", "HEX(03)", "HEX(04)"};
    EXPECT_EQ(ControlCodesFromPage(choice), (ControlCodes{3, 0x02, 0x03, 0x04}));
    choice.typeIndex = 2;
    EXPECT_EQ(ControlCodesFromPage(choice), (ControlCodes{2, '{', '|', '}'}));
    choice.typeIndex = 1;
    EXPECT_EQ(ControlCodesFromPage(choice), (ControlCodes{1, 0x1B, 0x0A, 0x00}));
    // A printer without the choice always frames with ESC, LF, NUL.
    choice.variableControlCodes = false;
    choice.typeIndex = 3;
    EXPECT_EQ(ControlCodesFromPage(choice), (ControlCodes{0, 0x1B, 0x0A, 0x00}));
}

TEST(ManualCodes, ConflictsNameTheCodeToFix)
{
    EXPECT_EQ(FindControlCodeConflict({3, 0x1B, 0x0A, 0x1B}), ControlCodeConflict::FirstCode);
    EXPECT_EQ(FindControlCodeConflict({3, 0x1B, 0x1B, 0x00}), ControlCodeConflict::FirstCode);
    EXPECT_EQ(FindControlCodeConflict({3, 0x1B, 0x0A, 0x0A}), ControlCodeConflict::SecondCode);
    EXPECT_EQ(FindControlCodeConflict({3, 0x1B, 0x0A, 0x00}), ControlCodeConflict::None);
    // Only manual codes are checked.
    EXPECT_EQ(FindControlCodeConflict({2, 0x7B, 0x7B, 0x7B}), ControlCodeConflict::None);
}

TEST(HeaderText, NameAndDeviceInfoAroundTheBackspace)
{
    const QString text = ComposeHeaderText("ORN Q-KA5", "LAN:10.0.0.7:9100");
    EXPECT_EQ(text, QString("ORN Q-KA5") + QChar(0x0008) + "LAN:10.0.0.7:9100");
    EXPECT_EQ(SplitHeaderText(text), (std::pair<QString, QString>("ORN Q-KA5", "LAN:10.0.0.7:9100")));
    EXPECT_EQ(SplitHeaderText("alone").second, QString());
}

}  // namespace
}  // namespace vormex
