// How a scan's findings are shown: the line of each device, the JSON, the targets file, and the
// USB printers as sysfs names them.
#include "base/StringTable.h"
#include "definitions/DefinitionReader.h"
#include "discovery/ScanReport.h"
#include "discovery/UsbScan.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vormex;

namespace {

FoundDevice lan(const char* device, std::uint32_t last, int port, int mode, int status)
{
    FoundDevice found;
    found.device = QString::fromLatin1(device);
    found.ipv4 = (127u << 24) | last;
    found.port = port;
    found.mode = mode;
    found.status = status;
    return found;
}

FoundDevice usb(int number, const char* model)
{
    FoundDevice found;
    found.kind = FoundDevice::Kind::Usb;
    found.usbNumber = number;
    found.device = QStringLiteral("USB:/dev/usb/lp%1").arg(number);
    found.model = QString::fromLatin1(model);
    return found;
}

FoundDevice listener(const char* device, ProbeOutcome outcome)
{
    FoundDevice found = lan(device, 30, 8000, kNoAnswer, kNoAnswer);
    found.outcome = outcome;
    return found;
}

StringTable english()
{
    StringTable strings = StringTable::builtIn();
    EXPECT_TRUE(strings.loadOverlay(test::programPath(QStringLiteral("VORMEX Setting Tool US-RES.tsv"))));
    return strings;
}

TEST(ScanReport, OneLinePerDeviceWithTheFieldsTwoBlanksApart)
{
    const StringTable strings = english();
    struct Case {
        FoundDevice device;
        const char* line;
    };
    const Case cases[] = {
        {lan("LAN:127.0.0.21:8000", 21, 8000, kAnswerVormex, 0), "LAN:127.0.0.21:8000  VORMEX  00 Ready"},
        {lan("LAN:127.0.0.22:8000", 22, 8000, kAnswerKirn, 7), "LAN:127.0.0.22:8000  KIRN  07 Communication error (hardware error)"},
        {lan("LAN:127.0.0.23:8000", 23, 8000, kAnswerVormex, 42), "LAN:127.0.0.23:8000  VORMEX  42 Printer error (42)"},
        {lan("LAN:localhost:8000", 1, 8000, kNoAnswer, 0), "LAN:localhost:8000  -  00 Ready"},
        {usb(0, "ORN Q-KA5"), "USB:/dev/usb/lp0  -  -  ORN Q-KA5"},
        {listener("LAN:127.0.0.30:8000", ProbeOutcome::NotAPrinter), "LAN:127.0.0.30:8000  not a printer"},
        {listener("LAN:127.0.0.30:8000", ProbeOutcome::Silent), "LAN:127.0.0.30:8000  silent"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanLine(c.device, strings), QString::fromLatin1(c.line));
    EXPECT_EQ(ScanLine(lan("LAN:127.0.0.21:8000", 21, 8000, kAnswerVormex, 0), StringTable::builtIn()),
              QStringLiteral("LAN:127.0.0.21:8000  VORMEX  00 準備完了"));
    EXPECT_EQ(ScanSummary(8, 30, 0.432), QStringLiteral("8 printers found among 30 addresses in 0.43 s"));
}

TEST(ScanReport, JsonHasThePrintersWithNullWhereNotKnownAndTheOthersApart)
{
    const QList<FoundDevice> devices = {lan("LAN:127.0.0.21:8000", 21, 8000, kAnswerKirn, 7), usb(0, "ORN Q-KA5"),
                                        listener("LAN:127.0.0.30:8000", ProbeOutcome::Silent)};
    const QJsonObject root = QJsonDocument::fromJson(ScanJson(devices, 31, 0.4321, english())).object();
    EXPECT_EQ(root.value(QStringLiteral("addresses")).toInt(), 31);
    EXPECT_DOUBLE_EQ(root.value(QStringLiteral("seconds")).toDouble(), 0.432);
    const QJsonArray printers = root.value(QStringLiteral("printers")).toArray();
    ASSERT_EQ(printers.size(), 2);
    EXPECT_EQ(printers[0].toObject(), (QJsonObject{{"device", "LAN:127.0.0.21:8000"}, {"mode", "KIRN"}, {"status", 7},
                                                   {"status_text", "Communication error (hardware error)"}, {"model", QJsonValue::Null}}));
    EXPECT_EQ(printers[1].toObject(), (QJsonObject{{"device", "USB:/dev/usb/lp0"}, {"mode", QJsonValue::Null}, {"status", QJsonValue::Null},
                                                   {"status_text", QJsonValue::Null}, {"model", "ORN Q-KA5"}}));
    EXPECT_EQ(root.value(QStringLiteral("others")).toArray(),
              (QJsonArray{QJsonObject{{"device", "LAN:127.0.0.30:8000"}, {"state", "silent"}}}));
    EXPECT_FALSE(QJsonDocument::fromJson(ScanJson({}, 0, 0, english())).object().contains(QStringLiteral("others")));
}

TEST(ScanReport, TargetsFileNamesEachPrinterOnceAndItsModelWhereTheDefinitionsHaveIt)
{
    PrinterDefinitions definitions;
    ASSERT_TRUE(LoadDefinitions(test::shippedDefinitionFile(), definitions));
    FoundDevice named = lan("LAN:printer-07.example:8000", 40, 8000, kAnswerVormex, 0);
    named.host = QStringLiteral("printer-07.example");
    const QList<FoundDevice> devices = {lan("LAN:127.0.0.21:8000", 21, 8000, kAnswerVormex, 0),
                                        lan("LAN:127.0.0.22:8000", 22, 8000, kAnswerVormex, 0),
                                        lan("LAN:127.0.0.22:9100", 22, 9100, kAnswerVormex, 0), named,
                                        listener("LAN:127.0.0.30:8000", ProbeOutcome::NotAPrinter),
                                        usb(0, "ORN Q-KA5"), usb(1, "ORN Q-ZZ9")};
    EXPECT_EQ(ScanTargetsCsv(devices, definitions), QByteArray("name,device,printer\n"
                                                               "p-127-0-0-21,LAN:127.0.0.21:8000,\n"
                                                               "p-127-0-0-22-8000,LAN:127.0.0.22:8000,\n"
                                                               "p-127-0-0-22-9100,LAN:127.0.0.22:9100,\n"
                                                               "p-printer-07-example,LAN:printer-07.example:8000,\n"
                                                               "p-usb-lp0,USB:/dev/usb/lp0,ORN Q-KA5\n"
                                                               "p-usb-lp1,USB:/dev/usb/lp1,\n"));
}

TEST(UsbScan, ReadsTheModelFromSysfsWithoutOpeningTheNode)
{
    QTemporaryDir root;
    const UsbRoots roots{root.filePath(QStringLiteral("dev")), root.filePath(QStringLiteral("class"))};
    // No node files at all: nothing is opened, only the class folder is read.
    const auto id = [&](const char* node, const QByteArray& text) {
        test::writeFile(roots.classFolder + QLatin1Char('/') + QLatin1String(node) + QStringLiteral("/device/ieee1284_id"), text);
    };
    id("lp10", "MFG:KALDERA;CMD:KIRN;MDL:ORN Q-KB4;\n");
    id("lp2", "MFG:KALDERA;CMD:KIRN;MDL:ORN Q-KA5;");
    id("lp3", "MFG:Other;MDL:Other Printer 5;");
    const auto lines = [&](bool others) {
        QStringList found;
        for (const FoundDevice& device : ListUsbPrintersFromSysfs(roots, others))
            found << device.device.section(QLatin1Char('/'), -1) + QLatin1Char(' ') + device.model + (device.isPrinter() ? "" : " other");
        return found;
    };
    EXPECT_EQ(lines(false), QStringList({"lp2 ORN Q-KA5", "lp10 ORN Q-KB4"}));
    EXPECT_EQ(lines(true), QStringList({"lp2 ORN Q-KA5", "lp3  other", "lp10 ORN Q-KB4"}));
    EXPECT_EQ(ListUsbPrintersFromSysfs(roots).first().device, QStringLiteral("USB:") + roots.deviceFolder + QStringLiteral("/lp2"));
    EXPECT_EQ(UsbModelFromSysfs(QStringLiteral("/dev/usb/lp10"), roots), QStringLiteral("ORN Q-KB4"));
}

}  // namespace
