// The printer link against the simulator: queries, waits per interface, status waits, faults.
#include "Simulator.h"

#include "base/ImageChecksum.h"
#include "base/PrinterFileArea.h"
#include "base/SettingsStore.h"
#include "base/StringTable.h"
#include "comm/CommandFraming.h"
#include "comm/PrinterLink.h"
#include "comm/StoreFileEnvelope.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <limits>

#include <mutex>
#include <termios.h>

using namespace vormex;
using vormex::test::Simulator;

namespace {

class RecordingObserver : public LinkObserver {
public:
    void log(const QString& line) override
    {
        std::lock_guard lock(mutex_);
        lines_ << line;
    }
    QStringList lines() const
    {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    mutable std::mutex mutex_;
    QStringList lines_;
};

LinkSettings settingsFor(const QString& deviceInfo, const QString& printerName = QStringLiteral("ORN Q-KA5"))
{
    LinkSettings settings;
    settings.deviceInfo = deviceInfo;
    settings.printerName = printerName;
    settings.codes = ControlCodes::forType(1);
    return settings;
}

// A data area of `blockBytes` bytes holding a file, as the printer stores it.
QByteArray fileArea(const QByteArray& name, const QByteArray& text, int blockBytes = 1024)
{
    return BuildPrinterFileArea(name, text, blockBytes).area;
}

// The pseudo-terminal of a simulator as COM1 of a port map.
class PtyPortMap {
public:
    explicit PtyPortMap(const QString& path, const char* name = "COM1")
    {
        {
            QSettings ini(folder_.filePath(QStringLiteral("ports.ini")), QSettings::IniFormat);
            ini.setValue(QStringLiteral("Ports/") + QLatin1String(name), path);
        }
        store_ = std::make_unique<SettingsStore>(folder_.filePath(QStringLiteral("ports.ini")));
    }
    PortMap map() const { return PortMap(store_.get(), folder_.path()); }

private:
    QTemporaryDir folder_;
    std::unique_ptr<SettingsStore> store_;
};

TEST(PrinterLink, QueriesWithEveryControlCodeType)
{
    struct Case {
        const char* simCodes;
        ControlCodes codes;
    };
    for (const Case& c : {Case{"esc", ControlCodes::forType(0)}, Case{"brace", ControlCodes::forType(2)},
                          Case{"2,3,4", ControlCodes::forType(3, 2, 3, 4)}}) {
        Simulator sim({QStringLiteral("--codes"), QLatin1String(c.simCodes), QStringLiteral("--mode"), QStringLiteral("kirn")});
        LinkSettings settings = settingsFor(sim.device());
        settings.codes = c.codes;
        PrinterLink link(settings);
        ASSERT_EQ(link.Connect(false), 1) << c.simCodes;
        EXPECT_EQ(link.QueryUntilAnswer(3000, true), 1) << c.simCodes;
        EXPECT_EQ(link.answer(), kAnswerKirn);
        EXPECT_EQ(link.QueryUntilAnswer(3000, false), 1);
        EXPECT_EQ(link.answer(), 0);
        link.Disconnect();
    }
}

TEST(PrinterLink, QueryUntilAnswerAsksEveryThreeSecondsWithinItsTotal)
{
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("silence")});
    PrinterLink link(settingsFor(sim.device()));
    ASSERT_EQ(link.Connect(false), 1);
    EXPECT_EQ(link.QueryUntilAnswer(0, false), 0);
    EXPECT_EQ(link.QueryUntilAnswer(20000, false), 0);
    link.Disconnect();
    EXPECT_EQ(sim.countInLog(QStringLiteral("(status request)")), 7);
}

TEST(PrinterLink, ListenerJoinsAnswersSplitBetweenReads)
{
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("split")});
    PrinterLink link(settingsFor(sim.device()));
    ASSERT_EQ(link.Connect(false), 1);
    EXPECT_EQ(link.QueryUntilAnswer(3000, true), 1);
    EXPECT_EQ(link.answer(), kAnswerVormex);
    link.Disconnect();
    EXPECT_EQ(sim.countInLog(QStringLiteral("(mode query)")), 1);
}

TEST(PrinterLink, ListenerSkipsNoiseBeforeFrames)
{
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("garbage"), QStringLiteral("--status"), QStringLiteral("7")});
    PrinterLink link(settingsFor(sim.device()));
    ASSERT_EQ(link.Connect(false), 1);
    EXPECT_EQ(link.QueryUntilAnswer(3000, false), 1);
    EXPECT_EQ(link.answer(), 7);
    // The largest stored wait time still counts its attempts without overflowing.
    EXPECT_EQ(link.QueryUntilAnswer(std::numeric_limits<int>::max(), false), 1);
}

TEST(PrinterLink, ConnectFailsForUnusableTextsAndClosedPorts)
{
    EXPECT_EQ(PrinterLink(settingsFor(QStringLiteral("LAN"))).Connect(false), 0);
    EXPECT_EQ(PrinterLink(settingsFor(QStringLiteral("COM9:9600,8,none,1"))).Connect(false), 0);
    EXPECT_EQ(PrinterLink(settingsFor(QStringLiteral("USB:"))).Connect(false), 0);
    PrinterLink unconnected(settingsFor(QStringLiteral("LAN")));
    EXPECT_EQ(unconnected.WaitForPrinter(1000, false), 0);
}

TEST(PrinterLink, WaitForPrinterOnLanReconnectsAfterTheStoreRestart)
{
    // The printer stays away longer than the tool's first sleep, so some reopens fail first.
    Simulator sim({QStringLiteral("--block-kb"), QStringLiteral("1"), QStringLiteral("--restart-ms"), QStringLiteral("9000")});
    RecordingObserver* observer = nullptr;
    auto recording = std::make_shared<RecordingObserver>();
    observer = recording.get();
    PrinterLink link(settingsFor(sim.device()), recording);
    ASSERT_EQ(link.Connect(false), 1);
    const QByteArray area = fileArea("QUILLPRM.TXT", "1,2,3\r\n");
    ASSERT_EQ(link.SendBraceCommand(PrepareCommandText(3, 1)), 1);
    link.setAnswer(kNoAnswer);
    ASSERT_EQ(link.port().Write(BuildStoreFileEnvelope(area, ControlCodes::forType(1), false)), 1);
    EXPECT_EQ(link.WaitForPrinter(20000, false), 1);
    EXPECT_EQ(link.answer(), 0);
    EXPECT_EQ(link.QueryUntilAnswer(3000, true), 1);  // the new connection's listener works
    link.Disconnect();
    EXPECT_EQ(sim.countInLog(QStringLiteral("stored QUILLPRM.TXT")), 1);
    EXPECT_EQ(sim.countInLog(QStringLiteral("listening again")), 1);
    EXPECT_TRUE(observer->lines().isEmpty());
}

TEST(PrinterLink, CancelReachesAWaitQuickly)
{
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("silence")});
    PrinterLink link(settingsFor(sim.device()));
    ASSERT_EQ(link.Connect(false), 1);
    std::thread canceller([&link] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        link.RequestCancel();
    });
    QElapsedTimer timer;
    timer.start();
    // 200 s at the tests' scale is 10 s: the cancel must end it long before.
    EXPECT_EQ(link.QueryUntilAnswer(200000, false), 0);
    EXPECT_LT(timer.elapsed(), 1000);
    canceller.join();
    timer.restart();
    EXPECT_EQ(link.WaitForPrinter(200000, false), 0);
    EXPECT_LT(timer.elapsed(), 200);
}

TEST(PrinterLink, WaitForPrinterOnComQueriesAndOnLptPauses)
{
    Simulator sim({QStringLiteral("--pty")});
    const PtyPortMap ports(sim.ptyPath());
    LinkSettings settings = settingsFor(QStringLiteral("COM1:115200,8,none,1"));
    settings.portMap = ports.map();
    PrinterLink link(settings);
    ASSERT_EQ(link.Connect(false), 1);
    EXPECT_TRUE(link.state()->twoWay);
    EXPECT_EQ(link.WaitForPrinter(6000, true), 1);
    EXPECT_EQ(link.answer(), kAnswerVormex);
    link.Disconnect();

    // The firmware download's override: 115200 baud whatever is stored, no flow control.
    PrinterLink firmware(settings);
    ASSERT_EQ(firmware.Connect(true, QStringLiteral("115200,8,even,1")), 1);
    termios applied{};
    ASSERT_EQ(::tcgetattr(firmware.port().handle, &applied), 0);
    EXPECT_EQ(::cfgetospeed(&applied), static_cast<speed_t>(B115200));
    EXPECT_FALSE(applied.c_cflag & CRTSCTS);
    EXPECT_EQ(firmware.QueryUntilAnswer(3000, false), 1);
    firmware.Disconnect();

    const PtyPortMap lptPorts(sim.ptyPath(), "LPT2");
    LinkSettings lptSettings = settingsFor(QStringLiteral("LPT2:"));
    lptSettings.portMap = lptPorts.map();
    PrinterLink lpt(lptSettings);
    ASSERT_EQ(lpt.Connect(false), 1);
    EXPECT_FALSE(lpt.state()->twoWay);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(lpt.WaitForPrinter(2000, false), 1);
    EXPECT_GE(timer.elapsed(), 95);  // 2000 ms at the tests' scale
}

TEST(PrinterLink, WaitForPrinterOnUsbReopensTheDevice)
{
    Simulator sim({QStringLiteral("--pty")});
    LinkSettings settings = settingsFor(QStringLiteral("USB:"));
    settings.usbDevicePath = sim.ptyPath();
    PrinterLink link(settings);
    ASSERT_EQ(link.Connect(false), 1);
    EXPECT_FALSE(link.state()->twoWay);
    EXPECT_EQ(link.WaitForPrinter(20000, false), 1);
    EXPECT_EQ(link.port().isOpen, 1);
}

TEST(WaitForStatus, FirmwareHandshakeOverLan)
{
    Simulator sim({QStringLiteral("--firmware-handshake"), QStringLiteral("--firmware-gap-ms"), QStringLiteral("200")});
    auto observer = std::make_shared<RecordingObserver>();
    PrinterLink link(settingsFor(sim.device()), observer);
    ASSERT_EQ(link.Connect(true), 1);
    link.setAnswer(kNoAnswer);
    ASSERT_EQ(link.port().Write(QByteArray("\x1BLD;\x00\x7F\x00\x00,\x00\x01\x0A\x00", 13)), 1);
    ASSERT_EQ(link.port().Write(QByteArray("\x1BLP;", 4)), 1);
    EXPECT_EQ(link.WaitForStatus(52, 90000, 1000), 1);
    for (int block = 0; block < 2; ++block) {
        link.setListenerPaused(true);
        link.setAnswer(kNoAnswer);
        ASSERT_EQ(link.port().Write(QByteArray(8192, static_cast<char>(block))), 1);
        link.setListenerPaused(false);
        EXPECT_EQ(link.WaitForStatus(53, 30000, 1), 1) << block;
    }
    link.Disconnect();
    EXPECT_TRUE(observer->lines().isEmpty());
    EXPECT_EQ(sim.countInLog(QStringLiteral("firmware block of 8192 bytes")), 2);
    EXPECT_EQ(sim.countInLog(QStringLiteral("start address 0x7f0000")), 1);
}

TEST(WaitForStatus, FaultsEndTheWaitWithTheirStatusText)
{
    const StringTable strings = StringTable::builtIn();
    struct Case {
        QStringList arguments;
        int expected;
        QString text;
    };
    const QList<Case> cases = {
        {{"--fault", "wrong-status"}, 52, StatusText(50, strings)},
        {{"--fault", "wrong-status", "--wrong-status-code", "6"}, 52, StatusText(6, strings)},
        {{"--fault", "silence"}, 52, StatusText(kNoAnswer, strings)},
        {{"--fault", "bad-checksum", "--firmware-handshake", "--firmware-gap-ms", "200"}, 53, StatusText(57, strings)},
    };
    for (const Case& c : cases) {
        Simulator sim(c.arguments);
        auto observer = std::make_shared<RecordingObserver>();
        PrinterLink link(settingsFor(sim.device()), observer);
        ASSERT_EQ(link.Connect(true), 1);
        link.setAnswer(kNoAnswer);
        link.port().Write(QByteArray("\x1BLD;\x00\x10\x00\x00,\x00\x01\x0A\x00", 13));
        link.port().Write(QByteArray("\x1BLP;", 4));
        if (c.expected == 53) {
            ASSERT_EQ(link.WaitForStatus(52, 90000, 1000), 1);
            link.setAnswer(kNoAnswer);
            link.port().Write(QByteArray(4096, 'f'));
        }
        EXPECT_EQ(link.WaitForStatus(c.expected, 2000, 1), 0) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(observer->lines(), QStringList{c.text}) << c.arguments.join(' ').toStdString();
    }
}

TEST(WaitForStatus, UsbTimeOutIsSuccessOnlyForQkbPrinters)
{
    Simulator sim({QStringLiteral("--pty"), QStringLiteral("--fault"), QStringLiteral("silence")});
    for (const char* name : {"Q-KB1", "ORN Q-KA5"}) {
        LinkSettings settings = settingsFor(QStringLiteral("USB:"), QLatin1String(name));
        settings.usbDevicePath = sim.ptyPath();
        auto observer = std::make_shared<RecordingObserver>();
        PrinterLink link(settings, observer);
        ASSERT_EQ(link.Connect(true), 1);
        link.setAnswer(kNoAnswer);
        QElapsedTimer timer;
        timer.start();
        const int result = link.WaitForStatus(56, 6000, 1);
        if (QLatin1String(name) == QLatin1String("Q-KB1")) {
            EXPECT_EQ(result, 1);
            EXPECT_TRUE(observer->lines().isEmpty());
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(observer->lines(), QStringList{StatusText(kNoAnswer, StringTable::builtIn())});
            EXPECT_GE(timer.elapsed(), 290);  // the full 6000 ms at the tests' scale
        }
    }
}

TEST(WaitForStatus, CancelEndsAUsbWaitInsideItsRead)
{
    Simulator sim({QStringLiteral("--pty"), QStringLiteral("--fault"), QStringLiteral("silence")});
    LinkSettings settings = settingsFor(QStringLiteral("USB:"));
    settings.usbDevicePath = sim.ptyPath();
    auto observer = std::make_shared<RecordingObserver>();
    PrinterLink link(settings, observer);
    ASSERT_EQ(link.Connect(true), 1);
    link.setAnswer(kNoAnswer);
    std::thread canceller([&link] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        link.RequestCancel();
    });
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(link.WaitForStatus(56, 2000000, 1), 0);
    EXPECT_LT(timer.elapsed(), 400);
    canceller.join();
    EXPECT_EQ(observer->lines(), QStringList{StatusText(kNoAnswer, StringTable::builtIn())});
}

TEST(WaitForStatus, UsbReadsTheAnswerItself)
{
    Simulator sim({QStringLiteral("--pty")});
    LinkSettings settings = settingsFor(QStringLiteral("USB:"));
    settings.usbDevicePath = sim.ptyPath();
    PrinterLink link(settings);
    ASSERT_EQ(link.Connect(true), 1);
    link.setAnswer(kNoAnswer);
    link.port().Write(QByteArray("\x1BLD;\x00\x10\x00\x00,\x00\x01\x0A\x00", 13));
    link.port().Write(QByteArray("\x1BLP;", 4));
    EXPECT_EQ(link.WaitForStatus(52, 90000, 1000), 1);
}

TEST(PrinterLink, DroppedConnectionMidTransferFailsTheTransfer)
{
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("drop"), QStringLiteral("--drop-after"), QStringLiteral("100"),
                   QStringLiteral("--block-kb"), QStringLiteral("64")});
    PrinterLink link(settingsFor(sim.device()));
    ASSERT_EQ(link.Connect(false), 1);
    ASSERT_EQ(link.SendBraceCommand(PrepareCommandText(3, 1)), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const QByteArray envelope = BuildStoreFileEnvelope(fileArea("QUILLPRM.TXT", "1,2,3\r\n", 65536), ControlCodes::forType(1), false);
    const int written = link.port().Write(envelope.left(1000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int rest = link.port().Write(envelope.mid(1000));
    EXPECT_FALSE(written && rest && link.QueryUntilAnswer(3000, false));
    EXPECT_EQ(sim.countInLog(QStringLiteral("hanging up")), 1);
    EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), 0);
}

TEST(PrinterLink, StoreWithABadChecksumIsAnsweredWithStatus57)
{
    Simulator sim({QStringLiteral("--block-kb"), QStringLiteral("1")});
    PrinterLink link(settingsFor(sim.device()));
    ASSERT_EQ(link.Connect(false), 1);
    ASSERT_EQ(link.SendBraceCommand(PrepareCommandText(3, 1)), 1);
    QByteArray envelope = BuildStoreFileEnvelope(fileArea("QUILLPRM.TXT", "1,2,3\r\n"), ControlCodes::forType(1), false);
    envelope[envelope.size() - 1] = static_cast<char>(envelope[envelope.size() - 1] + 1);
    link.setAnswer(kNoAnswer);
    ASSERT_EQ(link.port().Write(envelope), 1);
    EXPECT_EQ(link.WaitForStatus(0, 3000, 1), 0);
    EXPECT_EQ(link.answer(), 57);
    EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), 0);
}

}  // namespace
