// vormexctl scan and status against a site of simulated printers on a loopback range of its
// own, with a listener that answers garbage and one that stays silent among them. The listeners
// are the simulator's too: no thread of this process may run while it starts a program (a
// program started from a process with threads is not followed by the thread checker).
#include "LoopbackSite.h"
#include "link/Simulator.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

#include <gtest/gtest.h>

using namespace vormex;
using vormex::test::Simulator;

namespace {

test::ProcessResult vormexctl(const QStringList& arguments)
{
    return test::runProgram(QStringLiteral("vormexctl"),
                            QStringList{"--definitions", test::shippedDefinitionFile(), "--language", "eng"} + arguments);
}

QStringList lines(const QByteArray& bytes) { return QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

// 127.A.B.10 to .17: eight printers at one port, printer 3 in KIRN mode, printer 5 with status 7;
// .18 answers noise, .19 is silent.
class ScanSite : public ::testing::Test {
protected:
    void SetUp() override
    {
        subnet_ = test::randomLoopbackSubnet();
        port_ = test::freePortOn(subnet_ | 10);
        sim_ = std::make_unique<Simulator>(QStringList{"--count", "10", "--bind", test::ipv4(subnet_ | 10), "--port", QString::number(port_),
                                                       "--same-port", "--mode", "3:kirn", "--status", "5:7", "--fault", "9:noise",
                                                       "--fault", "10:silence"});
        ASSERT_EQ(sim_->devices().size(), 10) << sim_->log().toStdString();
    }
    QString range() const { return test::ipv4(subnet_) + QStringLiteral("/27"); }
    QString device(int last) const { return QStringLiteral("LAN:%1:%2").arg(test::ipv4(subnet_ | std::uint32_t(last))).arg(port_); }
    QStringList scan(const QStringList& more = {}) const { return QStringList{"scan", range(), "--port", QString::number(port_)} + more; }

    std::uint32_t subnet_ = 0;
    int port_ = 0;
    std::unique_ptr<Simulator> sim_;
};

TEST_F(ScanSite, ListsExactlyThePrintersWithModesAndStatusesAskingNothingElse)
{
    const test::ProcessResult result = vormexctl(scan());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QStringList expected;
    for (int k = 1; k <= 8; ++k) {
        expected << device(9 + k) + (k == 3 ? QStringLiteral("  KIRN") : QStringLiteral("  VORMEX"))
                        + (k == 5 ? QStringLiteral("  07 Communication error (hardware error)") : QStringLiteral("  00 Ready"));
    }
    EXPECT_EQ(lines(result.out), expected);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^8 printers found among 30 addresses in \\d+\\.\\d\\d s$"))
                    .match(lines(result.err).value(lines(result.err).size() - 1)).hasMatch())
        << result.err.toStdString();

    // Every listener was asked the mode and the status, and nothing else.
    const QStringList received = sim_->log().split(QLatin1Char('\n')).filter(QStringLiteral("sim: <- "));
    EXPECT_EQ(received.filter(QStringLiteral("(mode query)")).size(), 10);
    EXPECT_EQ(received.filter(QStringLiteral("(status request)")).size(), 10);
    EXPECT_EQ(received.size(), 20) << sim_->log().toStdString();

    const test::ProcessResult all = vormexctl(scan({"--all"}));
    EXPECT_EQ(lines(all.out).mid(8), QStringList({device(18) + QStringLiteral("  not a printer"), device(19) + QStringLiteral("  silent")}));
}

TEST_F(ScanSite, JsonAndTheTargetsFileThatBackupTakesAsItIs)
{
    const test::ProcessResult json = vormexctl(scan({"--json"}));
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(root.value(QStringLiteral("addresses")).toInt(), 30);
    EXPECT_TRUE(root.value(QStringLiteral("seconds")).isDouble());
    const QJsonArray printers = root.value(QStringLiteral("printers")).toArray();
    ASSERT_EQ(printers.size(), 8);
    EXPECT_EQ(printers[2].toObject(), (QJsonObject{{"device", device(12)}, {"mode", "KIRN"}, {"status", 0}, {"status_text", "Ready"},
                                                   {"model", QJsonValue::Null}}));
    EXPECT_EQ(printers[4].toObject().value(QStringLiteral("status")).toInt(), 7);

    QTemporaryDir folder;
    const QString csv = folder.filePath(QStringLiteral("site.csv"));
    const test::ProcessResult written = vormexctl(scan({"--csv", csv}));
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_EQ(lines(written.out).size(), 8);
    const QStringList rows = lines(test::readFile(csv));
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0], QStringLiteral("name,device,printer"));
    EXPECT_EQ(rows[1], QStringLiteral("p-%1,%2,").arg(test::ipv4(subnet_ | 10).replace(QLatin1Char('.'), QLatin1Char('-')), device(10)));

    const QString backups = folder.filePath(QStringLiteral("backups"));
    const test::ProcessResult backup = vormexctl({"--printer", "ORN Q-KA5", "backup", csv, "-o", backups});
    EXPECT_EQ(backup.exitCode, 0) << backup.err.toStdString();
    EXPECT_EQ(QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 8);
}

// No listener threads of the test here: the terminal's program is forked from this process.
TEST(ScanCommand, OnATerminalRedrawsAProgressLineAndClearsItBeforeTheResults)
{
    Simulator sim({"--count", "2"});
    ASSERT_EQ(sim.devices().size(), 2);
    const test::ProcessResult terminal = test::runOnTerminal(
        QStringLiteral("vormexctl"), {"--definitions", test::shippedDefinitionFile(), "--language", "eng", "scan", "127.0.0.1", "--port",
                                      sim.devices()[0].section(QLatin1Char(':'), 2), "--port", sim.devices()[1].section(QLatin1Char(':'), 2)});
    EXPECT_EQ(terminal.exitCode, 0);
    EXPECT_TRUE(terminal.out.contains("\r\033[Kscanning: 2 of 2 probed, 2 printers found")) << terminal.out.toStdString();
    // The results come after the cleared line, by port, the summary last.
    QStringList devices = sim.devices();
    std::sort(devices.begin(), devices.end(), [](const QString& a, const QString& b) {
        return a.section(QLatin1Char(':'), 2).toInt() < b.section(QLatin1Char(':'), 2).toInt();
    });
    const qsizetype cleared = terminal.out.lastIndexOf("\r\033[K");
    EXPECT_EQ(QString::fromUtf8(terminal.out.mid(cleared + 4)).section(QLatin1Char('\n'), 0, 1),
              devices[0] + QStringLiteral("  VORMEX  00 Ready\n") + devices[1] + QStringLiteral("  VORMEX  00 Ready"))
        << terminal.out.toStdString();
    EXPECT_TRUE(terminal.out.contains("\n2 printers found among 1 addresses in ")) << terminal.out.toStdString();
}

TEST(ScanCommand, RefusesTargetsAndOptionsThatDoNotFitAndFailsWhenItCannotWrite)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* said;
    };
    const QList<Case> cases = {
        {{"scan", "127.0.0.0/8"}, 2, "at most a /16"},
        {{"scan", "127.0.0.1", "--port", "0"}, 2, "--port"},
        {{"scan", "127.0.0.1", "--jobs", "0"}, 2, "--jobs"},
        {{"scan", "127.0.0.1", "--timeout", "x"}, 2, "--timeout"},
        {{"scan", "127.0.0.1", "--json", "--csv", "-"}, 2, "standard output"},
        {{"scan", "127.0.0.1", "--port", "1", "--csv", "/dev/full"}, 1, "/dev/full"},
    };
    for (const Case& c : cases) {
        const test::ProcessResult result = vormexctl(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString() << "\n" << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.said)) << result.err.toStdString();
    }
}

TEST(StatusCommand, SaysTheLineOrWhyThePrinterDidNotAnswer)
{
    Simulator printer({"--status", "7"});
    Simulator silent({"--fault", "silence"});
    Simulator noise({"--fault", "noise"});
    const std::uint32_t subnet = test::randomLoopbackSubnet();
    const int port = test::freePortOn(subnet | 1);
    const QString printerPort = printer.device().section(QLatin1Char(':'), 2);
    struct Case {
        QString device;
        int exitCode;
        QString out;
        const char* reason;  // on the line before the message
        const char* message;
    };
    const QList<Case> cases = {
        {printer.device(), 0, printer.device() + QStringLiteral("  VORMEX  07 Communication error (hardware error)\n"), "", ""},
        // A host name the hosts file answers, resolved when the port opens.
        {QStringLiteral("LAN:localhost:") + printerPort, 0,
         QStringLiteral("LAN:localhost:%1  VORMEX  07 Communication error (hardware error)\n").arg(printerPort), "", ""},
        {QStringLiteral("LAN:%1:%2").arg(test::ipv4(subnet | 1)).arg(port), 1, {}, "connection refused by", "Cannot open the device"},
        {silent.device(), 1, {}, "is silent", "Timeout"},
        {noise.device(), 1, {}, "", "without a valid answer frame: not a printer"},
    };
    for (const Case& c : cases) {
        const test::ProcessResult result = vormexctl({"status", "--device", c.device});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.device.toStdString() << "\n" << result.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(result.out), c.out) << c.device.toStdString();
        const QStringList said = lines(result.err);
        if (c.exitCode == 0)
            continue;
        EXPECT_TRUE(said.value(said.size() - 1).contains(QLatin1String(c.message))) << result.err.toStdString();
        if (*c.reason)
            EXPECT_TRUE(said.value(said.size() - 2).contains(QLatin1String(c.reason))) << result.err.toStdString();
    }
}

}  // namespace
