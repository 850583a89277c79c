#include "base/SettingsStore.h"
#include "comm/DeviceAccess.h"
#include "comm/DeviceInfo.h"
#include "comm/DeviceText.h"
#include "comm/PortListing.h"
#include "comm/PortMap.h"
#include "comm/PrinterPort.h"
#include "comm/SerialSettings.h"
#include "comm/UsbEnumeration.h"
#include "comm/VormexSwitch.h"
#include "support/PseudoTerminal.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

using namespace vormex;
using vormex::test::PseudoTerminal;

namespace {

class PortFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    // A store whose "Ports" group maps `name` to `device`.
    std::unique_ptr<SettingsStore> storeWith(const QMap<QString, QString>& ports)
    {
        const QString path = folder_.filePath(QStringLiteral("settings.ini"));
        {
            QSettings ini(path, QSettings::IniFormat);
            ini.clear();
            for (auto it = ports.begin(); it != ports.end(); ++it)
                ini.setValue(QStringLiteral("Ports/") + it.key(), it.value());
        }
        return std::make_unique<SettingsStore>(path);
    }
    void touch(const QString& relative) { test::writeFile(folder_.filePath(relative), {}); }

    QTemporaryDir folder_;
};

TEST(SerialAddress, ReadsTheFourSettings)
{
    struct Case {
        const char* address;
        bool ok;
        int baud, dataBits;
        SerialSettings::Parity parity;
        int stopBits, intervalMs;
    };
    using P = SerialSettings::Parity;
    for (const Case& c : {Case{"9600,7,odd,2", true, 9600, 7, P::Odd, 2, 100}, Case{"19200,8,none,1", true, 19200, 8, P::None, 1, 10},
                          Case{"9600,8,mark,1", true, 9600, 8, P::Odd, 1, 100}, Case{"115200,8,even,1", true, 115200, 8, P::Even, 1, 10},
                          Case{"2400,8,none,1", true, 2400, 8, P::None, 1, 100}, Case{"14400,8,none,1", false, 0, 0, P::None, 0, 0},
                          Case{"9600,6,none,1", false, 0, 0, P::None, 0, 0}, Case{"9600,8,none,3", false, 0, 0, P::None, 0, 0},
                          Case{"9600,8,none", false, 0, 0, P::None, 0, 0}, Case{"", false, 0, 0, P::None, 0, 0}}) {
        const std::optional<SerialSettings> settings = ParseSerialAddress(QString::fromLatin1(c.address));
        ASSERT_EQ(settings.has_value(), c.ok) << c.address;
        if (!c.ok)
            continue;
        EXPECT_EQ(settings->baudRate, c.baud) << c.address;
        EXPECT_EQ(settings->dataBits, c.dataBits) << c.address;
        EXPECT_EQ(settings->parity, c.parity) << c.address;
        EXPECT_EQ(settings->stopBits, c.stopBits) << c.address;
        EXPECT_EQ(settings->readIntervalMs(), c.intervalMs) << c.address;
    }
}

TEST(LanAddress, ReadsFourBytesAndAPortTheSocketCanUse)
{
    struct Case {
        const char* address;
        std::optional<LanAddress> expected;
    };
    const auto lan = [](int a, int b, int c, int d, int port) { return LanAddress{{a, b, c, d}, port}; };
    const Case cases[] = {
        {"127.0.0.1:9100", lan(127, 0, 0, 1, 9100)},
        {"127.0.0.001:65535", lan(127, 0, 0, 1, 65535)},
        {" 10. 0.0.7:8000", lan(10, 0, 0, 7, 8000)},  // each number read as the C library reads it
        {"10.0.0.7x:80abc", lan(10, 0, 0, 7, 80)},     // what follows the digits is ignored
        {"1.2.3.4:0", std::nullopt},                  // a port the socket cannot connect to
        {"1.2.3.4:65536", std::nullopt},
        {"1.2.3.4:-1", std::nullopt},
        {"256.1.1.1:80", std::nullopt},
        {"-1.2.3.4:80", std::nullopt},
        {"1.2.3:80", std::nullopt},
        {"1.2.3.4", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<LanAddress> parsed = ParseLanAddress(QString::fromLatin1(c.address));
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.address;
        if (parsed) {
            EXPECT_EQ(parsed->bytes, c.expected->bytes) << c.address;
            EXPECT_EQ(parsed->port, c.expected->port) << c.address;
        }
    }
}

TEST(SerialAddress, GivesRawTermiosWithDataBitsParityAndFlowControl)
{
    termios tio{};
    ApplySerialSettings(tio, *ParseSerialAddress(QStringLiteral("9600,7,even,1")), true);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_TRUE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & (PARODD | CSTOPB));
    EXPECT_TRUE(tio.c_iflag & INPCK);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
    EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B9600));

    ApplySerialSettings(tio, *ParseSerialAddress(QStringLiteral("57600,8,none,2")), false);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & (PARENB | CRTSCTS));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | INPCK));
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B57600));
}

TEST_F(PortFixture, PortMapNumbersTheSerialDevicesInAStableOrder)
{
    for (const char* node : {"ttyS10", "ttyS0", "ttyS2", "ttyS1", "ttyUSB0", "ttyACM0", "ttyUSB1", "lp0", "lp2", "ttySX", "null"})
        touch(QString::fromLatin1(node));
    const PortMap map(nullptr, folder_.path());
    const QStringList expected = {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB0", "ttyUSB1", "ttyACM0"};
    const QList<PortName> serial = ListSerialPorts(map);
    ASSERT_EQ(serial.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(serial[i].name, QStringLiteral("COM%1").arg(i + 1));
        EXPECT_EQ(serial[i].devicePath, folder_.filePath(expected[i]));
    }
    EXPECT_EQ(map.devicePath(QStringLiteral("COM4")), folder_.filePath(QStringLiteral("ttyS10")));
    EXPECT_EQ(map.devicePath(QStringLiteral("COM8")), QString());
    const QList<PortName> parallel = ListParallelPorts(map);
    ASSERT_EQ(parallel.size(), 2);
    EXPECT_EQ(parallel[1].name, QStringLiteral("LPT3"));
    // LPT<n> is lp<n-1> even when the node is missing.
    EXPECT_EQ(map.devicePath(QStringLiteral("LPT2")), folder_.filePath(QStringLiteral("lp1")));
    EXPECT_EQ(map.devicePath(QStringLiteral("LPT10")), QString());
}

TEST_F(PortFixture, PortMapTakesOverridesFromTheSettingsStore)
{
    touch(QStringLiteral("ttyS0"));
    const auto store = storeWith({{QStringLiteral("COM1"), QStringLiteral("/dev/ttyUSB7")},
                                  {QStringLiteral("com12"), QStringLiteral("/tmp/pty")},
                                  {QStringLiteral("LPT2"), QStringLiteral("/tmp/lp")},
                                  {QStringLiteral("COM300"), QStringLiteral("/tmp/no")}});
    const PortMap map(store.get(), folder_.path());
    EXPECT_EQ(map.devicePath(QStringLiteral("COM1")), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_EQ(map.devicePath(QStringLiteral("COM12")), QStringLiteral("/tmp/pty"));
    EXPECT_EQ(map.devicePath(QStringLiteral("LPT2")), QStringLiteral("/tmp/lp"));
    const QList<PortName> serial = map.serialPorts();
    ASSERT_EQ(serial.size(), 2);
    EXPECT_TRUE(serial[0].overridden);
    EXPECT_EQ(serial[1].name, QStringLiteral("COM12"));
}

TEST_F(PortFixture, SerialSettingsReachThePortAndAreRestoredOnClose)
{
    PseudoTerminal line;
    const auto store = storeWith({{QStringLiteral("COM3"), line.path()}});
    const int observer = ::open(line.path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(observer, &before), 0);

    PrinterPort port{PortMap(store.get(), folder_.path())};
    ASSERT_EQ(port.Open(QStringLiteral("COM3"), QStringLiteral("9600,7,odd,2"), false), 1) << port.lastError;
    EXPECT_EQ(port.portKind(), PortKind::Com);
    termios applied{};
    ASSERT_EQ(::tcgetattr(port.handle, &applied), 0);
    // A pseudo-terminal always keeps 8 data bits without parity; the rest it keeps as set.
    EXPECT_EQ(::cfgetospeed(&applied), static_cast<speed_t>(B9600));
    EXPECT_TRUE(applied.c_cflag & PARODD);
    EXPECT_TRUE(applied.c_cflag & CSTOPB);
    EXPECT_TRUE(applied.c_cflag & CRTSCTS);
    EXPECT_TRUE(applied.c_iflag & IXON);
    EXPECT_TRUE(applied.c_iflag & IXOFF);
    EXPECT_FALSE(applied.c_lflag & (ICANON | ECHO));
    EXPECT_EQ(port.Close(), 1);
    EXPECT_EQ(port.Close(), 1);

    termios after{};
    ASSERT_EQ(::tcgetattr(observer, &after), 0);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);

    ASSERT_EQ(port.Open(QStringLiteral("COM3"), QStringLiteral("19200,8,none,1"), true), 1);
    ASSERT_EQ(::tcgetattr(port.handle, &applied), 0);
    EXPECT_EQ(::cfgetospeed(&applied), static_cast<speed_t>(B19200));
    EXPECT_EQ(applied.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(applied.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_FALSE(applied.c_iflag & (IXON | IXOFF | INPCK));
    port.Close();
    ::close(observer);
}

TEST_F(PortFixture, ComOpenRefusesBadNumbersAndSettings)
{
    PseudoTerminal line;
    const auto store = storeWith({{QStringLiteral("COM1"), line.path()}, {QStringLiteral("COM256"), line.path()}});
    PrinterPort port{PortMap(store.get(), folder_.path())};
    for (const char* kind : {"COM0", "COM257", "COM"}) {
        EXPECT_EQ(port.Open(QString::fromLatin1(kind), QStringLiteral("9600,8,none,1"), false), 0) << kind;
        EXPECT_EQ(port.lastError, static_cast<std::uint32_t>(EINVAL));
    }
    EXPECT_EQ(port.Open(QStringLiteral("COM1"), QStringLiteral("14400,8,none,1"), false), 0);
    EXPECT_EQ(port.isOpen, 0);
    EXPECT_EQ(port.handle, -1);
    EXPECT_EQ(port.Open(QStringLiteral("COM2"), QStringLiteral("9600,8,none,1"), false), 0);
    EXPECT_EQ(port.lastError, static_cast<std::uint32_t>(ENOENT));
    EXPECT_EQ(port.Open(QStringLiteral("COM256"), QStringLiteral("9600,8,none,1"), false), 1);
}

TEST_F(PortFixture, ComWritesInChunksWithProgressAndReadsWithinItsTimeOuts)
{
    PseudoTerminal line;
    const auto store = storeWith({{QStringLiteral("COM1"), line.path()}});
    PrinterPort port{PortMap(store.get(), folder_.path())};
    ASSERT_EQ(port.Open(QStringLiteral("COM1"), QStringLiteral("115200,8,none,1"), false), 1);

    QByteArray data(5000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    port.progressPercent = 0;
    EXPECT_EQ(port.Write(data), 1);
    EXPECT_EQ(port.progressPercent, 100);
    EXPECT_EQ(port.bytesDone, 5000);
    EXPECT_EQ(line.receive(5000), data);

    port.progressPercent = -1;
    EXPECT_EQ(port.Write(QByteArray(3000, 'x')), 1);
    EXPECT_EQ(port.progressPercent, -1);
    EXPECT_EQ(line.receive(3000).size(), 3000);
    EXPECT_EQ(port.Write(QByteArray()), 1);

    char buffer[64];
    int count = -1;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, 5000, count), 1);
    EXPECT_EQ(count, 0);
    line.send("abc");
    QElapsedTimer timer;
    timer.start();
    count = 0;
    while (count == 0 && timer.elapsed() < 2000)
        ASSERT_EQ(port.Read(buffer, sizeof buffer, 0, count), 1);
    EXPECT_EQ(QByteArray(buffer, count), QByteArray("abc"));
}

TEST_F(PortFixture, LptIsWriteOnly)
{
    PseudoTerminal line;
    const auto store = storeWith({{QStringLiteral("LPT1"), line.path()}});
    PrinterPort port{PortMap(store.get(), folder_.path())};
    EXPECT_EQ(port.Open(QStringLiteral("LPT10"), QString(), false), 0);
    ASSERT_EQ(port.Open(QStringLiteral("LPT1"), QString(), false), 1);
    EXPECT_EQ(port.portKind(), PortKind::Lpt);
    EXPECT_EQ(port.Write("{!T|}", 5), 1);
    EXPECT_EQ(line.receive(5), QByteArray("{!T|}"));
    char buffer[8];
    int count = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, 100, count), 0);
}

TEST_F(PortFixture, VormexSwitchSendsOneShortCommandAndReadsNothing)
{
    PseudoTerminal line;
    const auto store = storeWith({{QStringLiteral("LPT1"), line.path()}});
    LinkSettings link;
    link.deviceInfo = QStringLiteral("LPT1:");
    link.codes = ControlCodes::forType(2);
    link.portMap = PortMap(store.get(), folder_.path());
    QElapsedTimer timer;
    timer.start();
    const VormexSwitchResult off = SendVormexSwitch(false, link);
    EXPECT_GE(timer.elapsed(), 45);  // the second's pause at the tests' scale
    EXPECT_TRUE(off.opened && off.written);
    EXPECT_EQ(line.receive(5), QByteArray("{!T|}"));

    link.deviceInfo = QStringLiteral("USB:");
    link.usbDevicePath = line.path();
    link.codes = ControlCodes::forType(1);
    EXPECT_TRUE(SendVormexSwitch(true, link).written);
    EXPECT_EQ(line.receive(5), QByteArray("\x1B!Z\x0A\x00", 5));

    // An unusable device text ends the action at once; a port that does not open still pauses.
    link.deviceInfo = QStringLiteral("LPT1");
    timer.restart();
    EXPECT_FALSE(SendVormexSwitch(true, link).usable);
    EXPECT_LT(timer.elapsed(), 20);
    link.deviceInfo = QStringLiteral("LPT9:");
    const VormexSwitchResult missing = SendVormexSwitch(true, link);
    EXPECT_TRUE(missing.usable);
    EXPECT_FALSE(missing.opened);
}

TEST_F(PortFixture, UsbReadThatWaitsInVainSucceedsEmpty)
{
    PseudoTerminal line;
    PrinterPort port;
    EXPECT_EQ(port.Open(QStringLiteral("USB"), QString(), false), 0);
    ASSERT_EQ(port.Open(QStringLiteral("USB"), line.path(), false), 1);
    char buffer[13];
    int count = -1;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(port.Read(buffer, sizeof buffer, 1000, count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_GE(timer.elapsed(), 40);  // a second at the tests' time scale
    line.send("xy");
    EXPECT_EQ(port.Read(buffer, sizeof buffer, 1000, count), 1);
    EXPECT_EQ(QByteArray(buffer, count), QByteArray("xy"));
}

TEST(LanPort, FailsCleanlyAndTimesOutItsReads)
{
    // A listening socket that accepts but never answers, and a port number nobody listens on.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const int port = ntohs(address.sin_port);

    PrinterPort lan;
    EXPECT_EQ(lan.Open(QStringLiteral("LAN"), QStringLiteral("127.0.0.1"), false), 0);
    EXPECT_EQ(lan.Open(QStringLiteral("LAN"), QStringLiteral("127.0.0.1:0"), false), 0);
    ASSERT_EQ(lan.Open(QStringLiteral("LAN"), QStringLiteral("127.0.0.001:%1").arg(port), false), 1) << lan.lastError;
    char buffer[16];
    int count = 0;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(lan.Read(buffer, sizeof buffer, 200, count), 0);
    EXPECT_GE(timer.elapsed(), 8);
    EXPECT_EQ(lan.Write("WS", 2), 1);
    EXPECT_EQ(lan.Close(), 1);
    EXPECT_EQ(lan.Close(), 1);
    ::close(listener);

    EXPECT_EQ(lan.Open(QStringLiteral("LAN"), QStringLiteral("127.0.0.1:%1").arg(port), false), 0);
    EXPECT_EQ(lan.lastError, static_cast<std::uint32_t>(ECONNREFUSED));
    EXPECT_EQ(lan.isOpen, 0);
    EXPECT_EQ(lan.socket, -1);
}

TEST(UsbModelName, KeepsOnlyOurPrinters)
{
    EXPECT_EQ(ModelNameFromDeviceId(QStringLiteral("MFG:KALDERA;CMD:KIRN;MDL:ORN Q-KA5;")), QStringLiteral("ORN Q-KA5"));
    EXPECT_EQ(ModelNameFromDeviceId(QStringLiteral("MDL:KALDERA Q-KB2")), QStringLiteral("KALDERA Q-KB2"));
    EXPECT_EQ(ModelNameFromDeviceId(QStringLiteral("MDL:ORN Q-KA5;;")), QStringLiteral("ORN Q-KA5;"));
    EXPECT_EQ(ModelNameFromDeviceId(QStringLiteral("MFG:Other;MDL:Other Q-1;")), QString());
    EXPECT_EQ(ModelNameFromDeviceId(QStringLiteral("MDL:ORN X-1;")), QString());
    EXPECT_EQ(ModelNameFromDeviceId(QString()), QString());
}

TEST_F(PortFixture, UsbEnumerationReadsAFakeTreeAndReportsNodesItCannotOpen)
{
    const UsbRoots roots{folder_.filePath(QStringLiteral("dev/usb")), folder_.filePath(QStringLiteral("sys/class/usbmisc"))};
    for (int n : {0, 1, 2, 10})
        touch(QStringLiteral("dev/usb/lp%1").arg(n));
    touch(QStringLiteral("dev/usb/hiddev0"));
    ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("dev/usb/lp3")));  // cannot be opened
    const auto id = [&](int n, const QByteArray& text) {
        test::writeFile(roots.classFolder + QStringLiteral("/lp%1/device/ieee1284_id").arg(n), text);
    };
    id(0, "MFG:KALDERA;CMD:KIRN;MDL:ORN Q-KA5;\n");
    id(1, "MFG:Other;MDL:Other Q-1;");
    id(3, "MFG:KALDERA;MDL:KALDERA Q-KB2;");
    id(10, "MFG:KALDERA;MDL:KALDERA Q-KB2;");

    QStringList paths{QStringLiteral("kept")}, names{QStringLiteral("kept")};
    QList<UsbProblem> problems;
    EXPECT_EQ(EnumerateUsbPrinters(paths, names, roots, &problems), 1);
    EXPECT_EQ(paths, (QStringList{"kept", roots.deviceFolder + "/lp0", roots.deviceFolder + "/lp10"}));
    EXPECT_EQ(names, (QStringList{"kept", "ORN Q-KA5", "KALDERA Q-KB2"}));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0].devicePath, roots.deviceFolder + "/lp3");
    EXPECT_EQ(problems[0].modelName, QStringLiteral("KALDERA Q-KB2"));
    EXPECT_NE(problems[0].error, 0);
}

}  // namespace

namespace {

// A port that may not be opened for lack of rights says which group would let the user in, taken
// from the node itself, and what to do: join it, or log in again when only the session lacks it.
TEST(DeviceAccess, LackOfRightsNamesTheGroupAndTheFix)
{
    DeviceAccess access;
    access.path = QStringLiteral("/dev/ttyUSB0");
    access.exists = true;
    access.group = QStringLiteral("dialout");
    const struct {
        const char* name;
        bool mayOpen, listed, session;
        const char* words;  // empty: no advice
    } cases[] = {
        {"may open", true, true, true, ""},
        {"not in the group", false, false, false, "belongs to the group \"dialout\": add yourself with sudo usermod -aG dialout $USER, then log in again"},
        {"listed, session without it", false, true, false, "you are listed in it, but this session does not have it yet: log in again"},
        {"in the group, mode without it", false, true, true, "which you have, but the group may not open it"},
    };
    for (const auto& c : cases) {
        access.mayOpen = c.mayOpen;
        access.userListed = c.listed;
        access.sessionHasGroup = c.session;
        const QString advice = DeviceAccessAdvice(access);
        EXPECT_EQ(advice.isEmpty(), QByteArray(c.words).isEmpty()) << c.name << ": " << advice.toStdString();
        EXPECT_TRUE(advice.contains(QString::fromUtf8(c.words))) << c.name << ": " << advice.toStdString();
        EXPECT_TRUE(advice.isEmpty() || advice.startsWith(QStringLiteral("/dev/ttyUSB0 belongs to the group"))) << c.name;
    }

    // The group comes from the node: an open refused for lack of rights names it.
    QTemporaryDir folder;
    const QString node = folder.filePath(QStringLiteral("lp0"));
    test::writeFile(node, {});
    const DeviceAccess own = DeviceAccessOf(node);
    const group* entry = ::getgrgid(::getegid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(own.group, QString::fromLocal8Bit(entry->gr_name));
    EXPECT_TRUE(own.sessionHasGroup);
    const QString message = DescribeOpenFailure(DeviceInfoParts{QStringLiteral("USB"), node}, EACCES, PortMap());
    EXPECT_TRUE(message.startsWith(node + QStringLiteral(": Permission denied; ") + node
                                   + QStringLiteral(" belongs to the group \"%1\"").arg(own.group)))
        << message.toStdString();
    EXPECT_FALSE(DescribeOpenFailure(DeviceInfoParts{QStringLiteral("USB"), node}, ENOENT, PortMap()).contains(QStringLiteral("group")));
}

}  // namespace
