// The strict reading of typed device texts and the one comparison of where two texts lead.
#include "comm/DeviceText.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vormex;

namespace {

TEST(DeviceText, RefusesWhatThePortLayerWouldMisread)
{
    const struct {
        const char* text;
        const char* words;  // part of the problem; nullptr: accepted
    } cases[] = {
        {"LAN:127.0.0.1:9100", nullptr},
        {"LAN:127.000.000.001:038299", nullptr},  // leading zeros are the same numbers
        {"COM3:9600,8,none,1", nullptr},
        {"COM256:115200,7,even,2", nullptr},
        {"LPT9:", nullptr},
        {"USB:", nullptr},
        {"USB:/dev/usb/lp0", nullptr},
        {"LAN:300.1.1.1:9100", "300 is not a number of an IPv4 address"},
        {"LAN:127.0.0.1", "four numbers separated by dots, or a host name, a colon and a port"},
        {"LAN:printer-07.example:8000", nullptr},  // a host name, resolved when the port opens
        {"LAN:printer_07:8000", "or a host name"},
        {"LAN:127.0.0.1:0", "port 0 is out of range (1 to 65535)"},
        {"LAN:127.0.0.1:65536", "port 65536 is out of range (1 to 65535)"},
        {"LAN:127.0.0.1:99999999999999999999", "is out of range (1 to 65535)"},
        {"LAN:127.0.0.1:٩١٠٠", "four numbers separated by dots"},  // digits of another script
        {"COM3:9601,8,none,1", "9601 is not a baud rate"},
        {"COM0:9600,8,none,1", "unknown interface \"COM0\""},
        {"COM257:9600,8,none,1", "COM ports are numbered 1 to 256"},
        {"LPT10:", "LPT ports are numbered 1 to 9"},
        {"FOO:bar", "unknown interface \"FOO\""},
        {"lan:127.0.0.1:9100", "unknown interface \"lan\""},
        {"LAN:127.0.0.1:9100 ", "begins or ends with a blank"},
        {" LPT1:", "begins or ends with a blank"},
        {"USB:lp0", "a USB device is a path"},
        {"", "no colon"},
    };
    for (const auto& c : cases) {
        QString problem;
        const std::optional<DeviceEndpoint> endpoint = ParseDeviceText(QString::fromUtf8(c.text), &problem);
        EXPECT_EQ(endpoint.has_value(), c.words == nullptr) << c.text << ": " << problem.toStdString();
        if (c.words) {
            EXPECT_TRUE(problem.contains(QString::fromUtf8(c.words))) << c.text << ": " << problem.toStdString();
            EXPECT_EQ(CheckDeviceText(QString::fromUtf8(c.text)), problem) << c.text;
        }
    }
}

TEST(DeviceText, TwoTextsLeadToTheSamePrinterByTheirNumbersAndNodes)
{
    QTemporaryDir dir;
    const QString node = dir.filePath(QStringLiteral("lp0"));
    QFile(node).open(QIODevice::WriteOnly);
    const QString link = dir.filePath(QStringLiteral("printer"));
    ASSERT_TRUE(QFile::link(node, link));
    const struct {
        QString a, b;
        bool same;
    } cases[] = {
        {"LAN:127.0.0.1:38299", "LAN:127.0.0.1:038299", true},
        {"LAN:127.0.0.1:38299", "LAN:127.000.000.001:38299", true},
        {"LAN:127.0.0.1:38299", "LAN:127.0.0.1:38300", false},
        {"LAN:127.0.0.1:38299", "LAN:127.0.0.2:38299", false},
        {"LAN:Printer-07.example:8000", "LAN:printer-07.example:08000", true},  // names know no case
        {"LAN:printer-07.example:8000", "LAN:printer-08.example:8000", false},
        {"COM3:9600,8,none,1", "COM3:19200,7,odd,2", true},  // one port, whatever its settings
        {"COM3:9600,8,none,1", "COM4:9600,8,none,1", false},
        {"LPT1:", "LPT1:", true},
        {"LPT1:", "COM1:9600,8,none,1", false},
        {"USB:" + node, "USB:" + link, true},
        {"USB:" + node, "USB:" + dir.path() + "/./lp0", true},
        {"USB:" + node, "USB:" + dir.filePath(QStringLiteral("lp1")), false},
    };
    for (const auto& c : cases) {
        const std::optional<DeviceEndpoint> a = ParseDeviceText(c.a);
        const std::optional<DeviceEndpoint> b = ParseDeviceText(c.b);
        ASSERT_TRUE(a && b) << c.a.toStdString() << " " << c.b.toStdString();
        EXPECT_EQ(SameEndpoint(*a, *b), c.same) << c.a.toStdString() << " " << c.b.toStdString();
        EXPECT_EQ(SameEndpoint(*b, *a), c.same) << c.b.toStdString() << " " << c.a.toStdString();
    }
}

}  // namespace
