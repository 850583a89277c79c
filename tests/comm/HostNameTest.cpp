// Host names in LAN device texts: how they are read, and how the port resolves them through the
// one resolver function, whose lookup the tests replace (no test sends a query to a name server).
#include "comm/DeviceInfo.h"
#include "comm/DeviceText.h"
#include "comm/HostResolver.h"
#include "comm/PrinterPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace vormex;

namespace {

TEST(HostName, ATextNamesAHostOrFourNumbersButNoMistypedAddress)
{
    struct Case {
        const char* text;  // after "LAN:"
        const char* host;  // nullptr: not usable
    };
    const QString longLabel = QString(64, QLatin1Char('a'));
    const Case cases[] = {
        {"printer-07.example:9100", "printer-07.example"},
        {"localhost:8000", "localhost"},
        {"7printer:8000", "7printer"},
        {"127.0.0.1:8000", ""},
        {"1.2.3:8000", nullptr},          // a mistyped address is no name
        {"300.1.1.1:8000", nullptr},
        {"-printer.example:8000", nullptr},
        {"printer-.example:8000", nullptr},
        {"printer..example:8000", nullptr},
        {"printer_07:8000", nullptr},
        {"printer-07.example:0", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<LanAddress> lan = ParseLanAddress(QString::fromLatin1(c.text));
        const std::optional<QString> problem = CheckDeviceText(QStringLiteral("LAN:") + QLatin1String(c.text));
        EXPECT_EQ(lan.has_value(), c.host != nullptr) << c.text;
        EXPECT_EQ(!problem.has_value(), c.host != nullptr) << c.text << ": " << problem.value_or(QString()).toStdString();
        if (lan && c.host)
            EXPECT_EQ(lan->host, QString::fromLatin1(c.host)) << c.text;
    }
    EXPECT_FALSE(ParseLanAddress(longLabel + QStringLiteral(".example:80")));
}

// A listening socket on loopback: connects succeed without anyone accepting.
struct Listener {
    Listener()
    {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd, 4);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd); }
    int fd = -1;
    int port = 0;
};

TEST(HostName, ThePortResolvesTheNameWhenItOpensAndSaysTheResolversMessageWhenItCannot)
{
    Listener listener;
    QStringList asked;
    const HostLookup lookup = [&asked](const QString& host) {
        asked << host;
        return host == QLatin1String("printer-07.example") ? HostLookupAnswer{0, INADDR_LOOPBACK} : HostLookupAnswer{EAI_NONAME, 0};
    };
    PrinterPort port;
    port.setHostLookup(lookup);
    EXPECT_EQ(port.Open(QStringLiteral("LAN"), QStringLiteral("printer-07.example:%1").arg(listener.port), false), 1);
    port.Close();

    const DeviceInfoParts unknown{QStringLiteral("LAN"), QStringLiteral("printer-99.example:9100")};
    EXPECT_EQ(port.Open(unknown.kind, unknown.address, false), 0);
    EXPECT_EQ(port.describeOpenFailure(unknown), QStringLiteral("cannot resolve the host name \"printer-99.example\": %1")
                                                     .arg(QString::fromLocal8Bit(::gai_strerror(EAI_NONAME))));
    EXPECT_EQ(asked, QStringList({"printer-07.example", "printer-99.example"}));

    // A name that resolves to where nothing listens is named in the system's reason.
    const DeviceInfoParts closed{QStringLiteral("LAN"), QStringLiteral("printer-07.example:%1").arg(listener.port)};
    ::close(listener.fd);
    listener.fd = ::socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_EQ(port.Open(closed.kind, closed.address, false), 0);
    EXPECT_EQ(port.describeOpenFailure(closed),
              QStringLiteral("connection refused by printer-07.example:%1 (nothing listens there)").arg(listener.port));
}

}  // namespace
