// Several printers in one simulator process: each its own device, files, state, faults and log.
#include "Simulator.h"

#include "base/PrinterFileArea.h"
#include "comm/CommandFraming.h"
#include "comm/StoreFileEnvelope.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <ctime>
#include <thread>
#include <unistd.h>

using namespace vormex;
using vormex::test::answerFrame;
using vormex::test::exchange;
using vormex::test::Simulator;

namespace {

const ControlCodes kCodes = ControlCodes::forType(1);
const QByteArray kStatusRequest = FrameShortCommand("WS", kCodes);

// Stores QUILLPRM.TXT with `text` in 1 KB blocks and gives the bytes the printer answered.
QByteArray storeSystemFile(const QString& device, const QByteArray& text)
{
    const QByteArray prepare = FrameBraceCommand(PrepareCommandText(3, 1), kCodes, false);
    return exchange(device, prepare + BuildStoreFileEnvelope(BuildPrinterFileArea("QUILLPRM.TXT", text, 1024).area, kCodes, false));
}

// A TCP port that was free a moment ago.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
                 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(fd);
    return ok ? ntohs(address.sin_port) : 0;
}

TEST(SimulatorCount, EachPrinterHasItsOwnDeviceFilesAndLog)
{
    QTemporaryDir folder;
    const QString held = folder.filePath(QStringLiteral("held.txt"));
    test::writeFile(held, "HELD\r\n");
    const QString dump = folder.filePath(QStringLiteral("dump"));
    Simulator sim({"--count", "3", "--block-kb", "1", "--restart-ms", "100", "--dump-dir", dump, "--file",
                   QStringLiteral("ZDEFAULT.TXT=") + held});
    const QStringList devices = sim.devices();
    ASSERT_EQ(devices.size(), 3);
    EXPECT_EQ(QSet<QString>(devices.begin(), devices.end()).size(), 3);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(storeSystemFile(devices[k - 1], QByteArray::number(k) + ",2,3\r\n"), answerFrame("001    ")) << k;
    for (int k = 1; k <= 3; ++k) {
        const QByteArray text = QByteArray::number(k) + ",2,3\r\n";
        EXPECT_EQ(test::readFile(dump + QStringLiteral("/%1/QUILLPRM.TXT").arg(k)), text) << k;
        EXPECT_EQ(exchange(devices[k - 1], FrameShortCommand("!B", kCodes)), answerFrame("QUILLPRM.TXT," + text)) << k;
        EXPECT_EQ(exchange(devices[k - 1], FrameShortCommand("!D", kCodes)), answerFrame("ZDEFAULT.TXT,HELD\r\n")) << k;
        EXPECT_EQ(sim.countInLog(QStringLiteral("[%1] sim: stored QUILLPRM.TXT").arg(k)), 1) << k;
    }
    EXPECT_EQ(QDir(dump).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"1", "2", "3"}));
    const QRegularExpression prefixed(QStringLiteral("^\\[[123]\\] sim: "));
    for (const QString& line : sim.log().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_TRUE(prefixed.match(line).hasMatch()) << line.toStdString();
}

TEST(SimulatorCount, AFaultOnOnePrinterLeavesTheOthersAlone)
{
    struct Case {
        QStringList faults;
        QByteArray second;  // what printer 2 answers to a status request
    };
    const QList<Case> cases = {
        {{"--fault", "2:silence"}, {}},
        {{"--fault", "2:wrong-status", "--wrong-status-code", "7"}, answerFrame("071    ")},
        {{"--fault", "2:garbage"}, QByteArray("\x05\x01\x02?noise\x01", 9) + answerFrame("001    ")},
        {{"--fault", "2:noise"}, QByteArray("\x05?noise\r\n")},
        // A fault for every printer and another one for printer 2: printer 2's own wins.
        {{"--fault", "silence", "--fault", "1:none", "--fault", "3:none", "--fault", "2:wrong-status"}, answerFrame("501    ")},
    };
    for (const Case& c : cases) {
        Simulator sim(QStringList{"--count", "3"} + c.faults);
        ASSERT_EQ(sim.devices().size(), 3);
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(exchange(sim.devices()[k - 1], kStatusRequest, k == 2 ? 1500 : 4000), k == 2 ? c.second : answerFrame("001    "))
                << c.faults.join(' ').toStdString() << " printer " << k;
    }
}

TEST(SimulatorCount, APausingPrinterDelaysNoOther)
{
    // At four times the printer's timing printer 2 pauses 1.2 s in the middle of every answer.
    Simulator sim({"--count", "2", "--fault", "2:split"}, "4");
    ASSERT_EQ(sim.devices().size(), 2);
    QByteArray slowAnswer;
    std::thread slow([&] { slowAnswer = exchange(sim.devices()[1], kStatusRequest, 8000); });
    EXPECT_TRUE(sim.waitForLog(QStringLiteral("[2] sim: -> <01><02>001 \n")));
    EXPECT_EQ(exchange(sim.devices()[0], kStatusRequest), answerFrame("001    "));
    // Printer 1 has answered while printer 2 was still inside its pause.
    EXPECT_EQ(sim.countInLog(QStringLiteral("[2] sim: ->    <03><04><0D><0A>")), 0) << sim.log().toStdString();
    slow.join();
    EXPECT_EQ(slowAnswer, answerFrame("001    "));
}

TEST(SimulatorCount, ListensOnConsecutivePortsFromTheGivenOne)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int base = freePort();
        ASSERT_GT(base, 0);
        if (base > 65000)
            continue;
        Simulator sim({"--count", "3", "--port", QString::number(base)});
        if (sim.devices().size() != 3)
            continue;  // one of the ports was taken in the meantime
        EXPECT_EQ(sim.devices(), QStringList({QStringLiteral("LAN:127.0.0.1:%1").arg(base), QStringLiteral("LAN:127.0.0.1:%1").arg(base + 1),
                                              QStringLiteral("LAN:127.0.0.1:%1").arg(base + 2)}));
        // A range with a taken port does not start, and says which printer could not listen.
        const test::ProcessResult taken = test::runProgram(QStringLiteral("vormex-printer-sim"),
            {"--count", "2", "--port", QString::number(base - 1), "--exit-after-idle", "5"});
        if (taken.exitCode == 1 && taken.err.contains("printer 1: "))
            continue;  // the port below the range was taken in the meantime (another program's connection)
        if (taken.exitCode == 1) {
            EXPECT_TRUE(taken.out.isEmpty());
            EXPECT_TRUE(taken.err.contains("printer 2: ")) << taken.err.toStdString();
        }
        return;
    }
    FAIL() << "no free range of three ports found";
}

TEST(SimulatorCount, ServesASiteAtOnePortOnConsecutiveAddressesEachWithItsModeAndStatus)
{
    // A loopback range of its own, so that programs running at the same time do not meet.
    const int a = 1 + ::getpid() % 254, b = static_cast<int>(::time(nullptr) % 255);
    const auto lan = [](int second, int third, int last, int port) {
        return QStringLiteral("LAN:127.%1.%2.%3:%4").arg(second).arg(third).arg(last).arg(port);
    };
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int port = freePort();
        Simulator sim({"--count", "3", "--bind", QStringLiteral("127.%1.%2.254").arg(a).arg(b), "--port", QString::number(port),
                       "--same-port", "--mode", "kirn", "--mode", "2:vormex", "--status", "3:7"});
        if (sim.devices().size() != 3)
            continue;  // the port was taken in the meantime
        // Counting on past the last byte of the first address.
        const QStringList expected = {lan(a, b, 254, port), lan(a, b, 255, port), lan(a, b + 1, 0, port)};
        EXPECT_EQ(sim.devices(), expected);
        const QByteArray modeQuery = FrameShortCommand("!Q", kCodes);
        EXPECT_EQ(exchange(expected[0], modeQuery), answerFrame("KIRN   "));
        EXPECT_EQ(exchange(expected[1], modeQuery), answerFrame("VORMEX "));
        EXPECT_EQ(exchange(expected[2], modeQuery), answerFrame("KIRN   "));
        EXPECT_EQ(exchange(expected[0], kStatusRequest), answerFrame("001    "));
        EXPECT_EQ(exchange(expected[2], kStatusRequest), answerFrame("071    "));
        return;
    }
    FAIL() << "no free port found";
}

TEST(SimulatorCount, PseudoTerminalsEachAnswer)
{
    Simulator sim({"--pty", "--count", "2", "--status", "7"});
    ASSERT_EQ(sim.devices().size(), 2);
    EXPECT_NE(sim.devices()[0], sim.devices()[1]);
    for (const QString& device : sim.devices()) {
        EXPECT_TRUE(device.startsWith(QLatin1String("PTY:/dev/"))) << device.toStdString();
        EXPECT_EQ(exchange(device, kStatusRequest), answerFrame("071    ")) << device.toStdString();
    }
}

TEST(SimulatorCount, RefusesCountsAndFaultsThatDoNotFit)
{
    const QList<QStringList> cases = {
        {"--count", "0"},
        {"--count", "257"},
        {"--count", "3", "--fault", "4:silence"},
        {"--count", "3", "--fault", "0:silence"},
        {"--count", "3", "--fault", "x:silence"},
        {"--count", "3", "--fault", "2:nope"},
        {"--count", "3", "--fault", "2:drop", "--fault", "2:silence"},
        {"--fault", "silence", "--fault", "drop"},
        {"--count", "2", "--port", "65535"},
        {"--count", "3", "--mode", "4:kirn"},
        {"--count", "3", "--mode", "2:kirn", "--mode", "2:vormex"},
        {"--mode", "kirn", "--mode", "vormex"},
        {"--count", "3", "--status", "2:100"},
        {"--count", "2", "--same-port"},
        {"--count", "2", "--same-port", "--pty", "--port", "9000"},
        {"--count", "2", "--same-port", "--port", "9000", "--bind", "255.255.255.255"},
    };
    for (const QStringList& arguments : cases) {
        const test::ProcessResult result = test::runProgram(QStringLiteral("vormex-printer-sim"), arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(result.err.isEmpty()) << arguments.join(' ').toStdString();
    }
}

}  // namespace
