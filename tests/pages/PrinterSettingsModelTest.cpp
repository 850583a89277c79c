#include "pages/PrinterSettingsModel.h"

#include <gtest/gtest.h>

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

TEST(DeviceInfoText, MissingInterfacesFallBackToLanAndAreReplaced)
{
    const QStringList interfaces{"LAN", "COM1"};
    for (const char* text : {"USB:", "COM7:9600,8,none,1", "LPT1:", "nonsense", ""}) {
        const InterfaceSelection s = SelectInterface(QString::fromLatin1(text), interfaces, false, kSerial);
        EXPECT_EQ(s.interfaceIndex, 0) << text;
        EXPECT_EQ(s.replacementDeviceInfo, DefaultDeviceInfo()) << text;
        EXPECT_EQ(s.port, 8000) << text;
    }
    // USB with a connected printer stays.
    const InterfaceSelection usb = SelectInterface("USB:", {"LAN", "USB"}, true, kSerial);
    EXPECT_EQ(usb.interfaceIndex, 1);
    EXPECT_TRUE(usb.replacementDeviceInfo.isEmpty());
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
