// vormexctl download and send-file against the printer simulator.
#include "LinkFixture.h"
#include "link/Simulator.h"

#include "support/TestSupport.h"

#include <QProcess>
#include <QSettings>

#include <QRegularExpression>

#include <csignal>

#include <unistd.h>

namespace vormex::test {
namespace {

const bool kTimeScaleSet = [] { return ::setenv("VORMEX_TIME_SCALE", "0.02", 0) == 0; }();
const QByteArray kScale = "0.02";  // the simulator's pauses run at the tool's scale

const char* const kPrinter = "ORN Q-KA5";  // 64 KB blocks, TrueType 0..16, bitmap 0..8, BASIC 0..20

QStringList cli(const QStringList& arguments)
{
    return QStringList{QStringLiteral("--definitions"), shippedDefinitionFile(), QStringLiteral("--printer"),
                       QLatin1String(kPrinter), QStringLiteral("--language"), QStringLiteral("jpn")}
           + arguments;
}

void setPort(const QString& name, const QString& device)
{
    QSettings ini(SettingsStore().filePath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Ports/") + name, device);
}

// A printer on a pseudo-terminal. It gives up a store whose bytes stop coming after a quiet time
// (the firmware gap, 20 ms at the tests' scale by default); on a loaded machine the tool's writes
// can pause that long, so the quiet time here is 0.4 s.
const QStringList kPtyArguments{QStringLiteral("--pty"), QStringLiteral("--firmware-gap-ms"), QStringLiteral("20000")};

class CliDownload : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        // The printer's own defaults make valid parameter files.
        for (const char* kind : {"system", "initial"}) {
            const ProcessResult exported = runProgram(QStringLiteral("vormexctl"),
                cli({"export", "--kind", kind, "--format", "txt", "-o", path(QLatin1String(kind) + QStringLiteral(".txt"))}));
            ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        }
        writeFile(path(QStringLiteral("main.bas")), "10 PRINT \"HELLO\"\r\n20 END\r\n");
        writeFile(path(QStringLiteral("test.txt")), "TEST FILE\r\n");
    }
    QString dump() const { return path(QStringLiteral("dump")); }
    QStringList simArguments(const QStringList& more = {}) const
    {
        return QStringList{QStringLiteral("--dump-dir"), dump()} + more;
    }
};

TEST_F(CliDownload, AFullJobOverLanStoresByteIdenticalFiles)
{
    Simulator sim(simArguments(), kScale);
    const ProcessResult result = runProgram(QStringLiteral("vormexctl"),
        cli({"download", "--device", sim.device(), "--allocate", "8,4,14", "--basic-main", path("main.bas"),
             "--basic-system", path("main.bas"), "--system-params", path("system.txt"), "--initial-table",
             path("initial.txt"), "--vormex", "on", "--test-file", path("test.txt")}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(result.err).endsWith(StringTable::builtIn().text(8022) + QLatin1Char('\n')))
        << result.err.toStdString();
    EXPECT_EQ(readFile(dump() + QStringLiteral("/QUILLPRM.TXT")), readFile(path("system.txt")));
    EXPECT_EQ(readFile(dump() + QStringLiteral("/ZDEFAULT.TXT")), readFile(path("initial.txt")));
    EXPECT_EQ(sim.countInLog(QStringLiteral("TEST FILE")), 1);
}

TEST_F(CliDownload, AJobOverAPseudoTerminalAsCom)
{
    Simulator sim(simArguments(kPtyArguments), kScale);
    setPort(QStringLiteral("COM3"), sim.ptyPath());
    const ProcessResult result = runProgram(QStringLiteral("vormexctl"),
        cli({"download", "--device", "COM3:9600,8,none,1", "--basic-main", path("main.bas"), "--system-params",
             path("system.txt"), "--initial-table", path("initial.txt"), "--vormex", "on"}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readFile(dump() + QStringLiteral("/QUILLPRM.TXT")), readFile(path("system.txt")));
    EXPECT_EQ(readFile(dump() + QStringLiteral("/ZDEFAULT.TXT")), readFile(path("initial.txt")));
}

TEST_F(CliDownload, SendFileOverAPseudoTerminalAsCom)
{
    Simulator sim(simArguments(kPtyArguments), kScale);
    setPort(QStringLiteral("COM3"), sim.ptyPath());
    const ProcessResult result = runProgram(QStringLiteral("vormexctl"),
        cli({"send-file", "initial", path("initial.txt"), "--device", "COM3:9600,8,none,1", "--no-vormex-on"}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(result.err).endsWith(StringTable::builtIn().text(8016) + QLatin1Char('\n')));
    EXPECT_EQ(readFile(dump() + QStringLiteral("/ZDEFAULT.TXT")), readFile(path("initial.txt")));
}

TEST_F(CliDownload, SendFileOverLanSwitchesVormexOnAfterwards)
{
    Simulator sim(simArguments({QStringLiteral("--mode"), QStringLiteral("kirn")}), kScale);
    const ProcessResult result = runProgram(QStringLiteral("vormexctl"),
        cli({"send-file", "system", path("system.txt"), "--device", sim.device(), "--start-block", "3"}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readFile(dump() + QStringLiteral("/QUILLPRM.TXT")), readFile(path("system.txt")));
    EXPECT_TRUE(QString::fromUtf8(result.err).contains(StringTable::builtIn().text(8047)));
}

TEST_F(CliDownload, AFirmwareJobOverLan)
{
    writeFile(path("fw.rom"), firmwareFile(4 * 65536, 0x100000));
    Simulator sim(simArguments(), kScale);
    const ProcessResult result =
        runProgram(QStringLiteral("vormexctl"), cli({"download", "--firmware", path("fw.rom"), "--device", sim.device()}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(result.err).endsWith(StringTable::builtIn().text(8034) + QLatin1Char('\n')));
    EXPECT_EQ(sim.countInLog(QStringLiteral("firmware request")), 1);
}

// Every file is prepared before anything is sent; values are checked as the download page does.
TEST_F(CliDownload, RefusalsComeBeforeAnythingIsSent)
{
    writeFile(path("bad.bas"), "10 GOTO 99\r\n");
    writeFile(path("bad.txt"), "not a parameter line\r\n");
    const QString range = StringTable::builtIn().text(61714);
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString message;  // part of stderr
    };
    Simulator sim(simArguments(), kScale);
    const QString device = sim.device();
    const QList<Case> cases = {
        {"missing test file", {"download", "--device", device, "--test-file", path("none.txt")}, 1, path("none.txt")},
        {"BASIC that does not encode: file, line and text before the message", {"download", "--device", device, "--basic-main", path("bad.bas")}, 1,
         QStringLiteral("vormexctl: %1:1: 10 GOTO 99\n").arg(path("bad.bas"))},
        {"which of several files fails its check", {"download", "--device", device, "--basic-main", path("main.bas"), "--system-params", path("bad.txt")}, 1,
         QStringLiteral("vormexctl: %1").arg(path("bad.txt"))},
        {"TrueType area too large", {"download", "--device", device, "--allocate", "17,4,14"}, 2, range.arg(0).arg(16)},
        {"BASIC area too large", {"download", "--device", device, "--allocate", "8,4,21"}, 2, range.arg(0).arg(20)},
        {"start block outside the BASIC area", {"download", "--device", device, "--vormex", "on", "--start-blocks", "0,2,3,21"}, 2, range.arg(0).arg(20)},
        {"send-file start block", {"send-file", "system", path("system.txt"), "--device", device, "--start-block", "21"}, 2, range.arg(0).arg(20)},
        {"send-file unreadable", {"send-file", "initial", path("none.txt"), "--device", device}, 1, path("none.txt") + QStringLiteral(": ")},
        {"nothing to do", {"download", "--device", device}, 2, QStringLiteral("nothing to download")},
        {"firmware with other steps", {"download", "--firmware", path("fw.rom"), "--vormex", "on"}, 2, QStringLiteral("--firmware")},
        {"send-file kind", {"send-file", "other", path("system.txt")}, 2, {}},
    };
    for (const Case& c : cases) {
        const ProcessResult result = runProgram(QStringLiteral("vormexctl"), cli(c.arguments));
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.err.toStdString();
        EXPECT_FALSE(result.err.trimmed().isEmpty()) << c.name;
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.message)) << c.name << ": " << result.err.toStdString();
    }
    EXPECT_EQ(sim.countInLog(QStringLiteral("connection opened")), 0);
}

TEST_F(CliDownload, AnUnreachablePrinterFailsWithTheOpenError)
{
    const ProcessResult result =
        runProgram(QStringLiteral("vormexctl"), cli({"download", "--device", "LAN:127.0.0.1:1", "--vormex", "on"}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err).trimmed(),
              QStringLiteral("vormexctl: connection refused by 127.0.0.1:1 (nothing listens there)\n") + StringTable::builtIn().text(8023));
}

// A store the printer answers with an error status fails the step: its status text, then the
// step's failure message, and nothing after it (no VORMEX on).
TEST_F(CliDownload, AStoreThePrinterRefusesFailsTheStep)
{
    const StringTable strings = StringTable::builtIn();
    const struct {
        const char* status;
        int statusText;  // 0: the store succeeds
    } cases[] = {{"6", 8027}, {"7", 8028}, {"50", 8029}, {"51", 8030}, {"57", 8031}, {"0", 0}};
    for (const auto& c : cases) {
        Simulator sim(simArguments({QStringLiteral("--status"), QLatin1String(c.status)}), kScale);
        const ProcessResult result =
            runProgram(QStringLiteral("vormexctl"), cli({"send-file", "system", path("system.txt"), "--device", sim.device()}));
        const QString err = QString::fromUtf8(result.err);
        if (c.statusText == 0) {
            EXPECT_EQ(result.exitCode, 0) << err.toStdString();
            EXPECT_TRUE(err.endsWith(strings.text(8047) + QLatin1Char('\n') + strings.text(8013) + QLatin1Char('\n'))) << err.toStdString();
            continue;
        }
        EXPECT_EQ(result.exitCode, 1) << c.status;
        EXPECT_TRUE(err.endsWith(strings.text(c.statusText) + QLatin1Char('\n') + strings.text(8014) + QLatin1Char('\n')))
            << c.status << ": " << err.toStdString();
        EXPECT_EQ(sim.countInLog(QStringLiteral("(VORMEX on)")), 0) << c.status;
    }
}

// A printer that hangs up in the middle of a store fails that step in download, send-file and
// apply, though it takes a connection again at once and answers the wait's status request, and a
// firmware block the same; one that takes every byte and then restarts (it too closes the
// connection) succeeds.
TEST_F(CliDownload, APrinterThatHangsUpMidStoreFailsTheStep)
{
    const StringTable strings = StringTable::builtIn();
    writeFile(path("fw.rom"), firmwareFile(4 * 65536, 0x100000));
    for (const bool drop : {true, false}) {
        Simulator sim(simArguments(drop ? QStringList{QStringLiteral("--fault"), QStringLiteral("drop")} : QStringList{}), kScale);
        writeFile(path(QStringLiteral("site.json")),
                  QStringLiteral("{\"job\": {\"system-params\": \"system.txt\"}, \"verify\": false,"
                                 " \"targets\": [{\"name\": \"p\", \"device\": \"%1\"}]}")
                      .arg(sim.device())
                      .toUtf8());
        const struct {
            const char* name;
            QStringList arguments;
            int failure;  // the step's failure message
            bool detail;  // the line before it says how far the store came
        } cases[] = {
            {"download", {"download", "--device", sim.device(), "--basic-main", path("main.bas")}, 8005, true},
            {"send-file", {"send-file", "system", path("system.txt"), "--device", sim.device(), "--no-vormex-on"}, 8014, true},
            {"apply", {"apply", path("site.json")}, 8014, false},
            {"firmware", {"download", "--firmware", path("fw.rom"), "--device", sim.device()}, 8035, true},
        };
        for (const auto& c : cases) {
            const ProcessResult result = runProgram(QStringLiteral("vormexctl"), cli(c.arguments));
            const QString err = QString::fromUtf8(result.err);
            EXPECT_EQ(result.exitCode, drop ? 1 : 0) << c.name << (drop ? " drop: " : ": ") << err.toStdString();
            EXPECT_EQ(err.contains(strings.text(c.failure)), drop) << c.name << ": " << err.toStdString();
            if (drop && c.detail) {
                static const QRegularExpression closed(QStringLiteral("the printer closed the connection after (\\d+) of (\\d+) bytes"));
                const QRegularExpressionMatch match = closed.match(err);
                EXPECT_TRUE(match.hasMatch() && match.captured(1).toInt() < match.captured(2).toInt()) << c.name << ": " << err.toStdString();
            }
        }
        EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), drop ? 0 : 3) << sim.log().toStdString();
    }
}

// The same in a download job, for a BASIC program over a pseudo-terminal as COM (the refusal comes
// before the printer restarts and is not lost behind the wait's own query), and over USB.
TEST_F(CliDownload, ARefusedProgramEndsTheJobWithoutVormexOn)
{
    Simulator sim(simArguments(kPtyArguments + QStringList{QStringLiteral("--fault"), QStringLiteral("bad-checksum")}), kScale);
    setPort(QStringLiteral("COM3"), sim.ptyPath());
    const ProcessResult result = runProgram(QStringLiteral("vormexctl"),
        cli({"download", "--device", "COM3:9600,8,none,1", "--basic-main", path("main.bas"), "--vormex", "on"}));
    EXPECT_EQ(result.exitCode, 1);
    const StringTable strings = StringTable::builtIn();
    EXPECT_TRUE(QString::fromUtf8(result.err).endsWith(strings.text(8031) + QLatin1Char('\n') + strings.text(8005) + QLatin1Char('\n')))
        << result.err.toStdString();
    EXPECT_EQ(sim.countInLog(QStringLiteral("(VORMEX on)")), 0);

    // Over USB no status is asked for: the refusal is read while the printer restarts.
    const ProcessResult usb = runProgram(QStringLiteral("vormexctl"),
        cli({"send-file", "system", path("system.txt"), "--device", QStringLiteral("USB:") + sim.ptyPath()}));
    EXPECT_EQ(usb.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(usb.err).endsWith(strings.text(8031) + QLatin1Char('\n') + strings.text(8014) + QLatin1Char('\n')))
        << usb.err.toStdString();
    EXPECT_EQ(sim.countInLog(QStringLiteral("(VORMEX on)")), 0);
}

// An XML system file's line is stored in the printer's own width, so it reads back.
TEST_F(CliDownload, AnXmlSystemFileReadsBackAfterItsDownload)
{
    ASSERT_EQ(runProgram(QStringLiteral("vormexctl"), cli({"export", "--kind", "system", "--format", "xml", "-o", path("system.xml")})).exitCode, 0);
    Simulator sim(simArguments(), kScale);
    ASSERT_EQ(runProgram(QStringLiteral("vormexctl"), cli({"send-file", "system", path("system.xml"), "--device", sim.device()})).exitCode, 0);
    const ProcessResult back = runProgram(QStringLiteral("vormexctl"), cli({"get", "system", "--device", sim.device()}));
    EXPECT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(back.out, readFile(path("system.txt")).replace("\r\n", "\n"));
}

TEST_F(CliDownload, CtrlCCancelsCleanlyWithStatus130)
{
    Simulator sim(simArguments({QStringLiteral("--fault"), QStringLiteral("silence")}), kScale);
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORMEX_TIME_SCALE"), QStringLiteral("1"));  // a wait of many seconds
    tool.setProcessEnvironment(environment);
    tool.start(programPath(QStringLiteral("vormexctl")),
               cli({"download", "--device", sim.device(), "--allocate", "8,4,14"}));
    ASSERT_TRUE(tool.waitForStarted(5000));
    const QString vormexOff = StringTable::builtIn().text(8041);
    QByteArray err;
    for (int i = 0; i < 100 && !QString::fromUtf8(err).contains(vormexOff); ++i) {
        tool.waitForReadyRead(100);
        err += tool.readAllStandardError();
    }
    ASSERT_TRUE(QString::fromUtf8(err).contains(vormexOff)) << err.toStdString();
    QElapsedTimer timer;
    timer.start();
    ::kill(static_cast<pid_t>(tool.processId()), SIGINT);
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 130);
    EXPECT_LT(timer.elapsed(), 2000);
    // It says so, and what the printer may be left in.
    const QString rest = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_TRUE(rest.contains(QStringLiteral("cancelled")) && rest.contains(QStringLiteral("vormexctl vormex on"))) << rest.toStdString();
    EXPECT_EQ(sim.countInLog(QStringLiteral("{XF")), 0);
}

TEST_F(CliDownload, TheProgressBarFitsAnEightyColumnTerminalAndIsRedrawnInPlace)
{
    const QString longName = path("a-basic-program-whose-name-is-far-too-long-to-stand-beside-two-progress-bars.bas");
    writeFile(longName, readFile(path("main.bas")));
    Simulator sim(simArguments(), kScale);
    const ProcessResult screen = runOnTerminal(QStringLiteral("vormexctl"),
                                               cli({"download", "--device", sim.device(), "--basic-main", longName}), 80);
    EXPECT_EQ(screen.exitCode, 0);
    QString text = QString::fromUtf8(screen.out);
    text.remove(QStringLiteral("\033[K"));
    int bars = 0;
    for (const QString& piece : text.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts)) {
        EXPECT_LE(piece.size(), 79) << piece.toStdString();
        if (piece.startsWith(QLatin1Char('['))) {
            ++bars;
            EXPECT_TRUE(piece.contains(QStringLiteral("...")) || !piece.contains(QStringLiteral(".bas"))) << piece.toStdString();
        }
    }
    EXPECT_GT(bars, 0) << text.toStdString();
    // One bar line: it is cleared and redrawn in place, never left behind by a line feed.
    static const QRegularExpression barLeftBehind(QStringLiteral("\\[[#.]+\\][^\r\n]*\n"));
    EXPECT_FALSE(text.contains(barLeftBehind)) << text.toStdString();
    EXPECT_TRUE(text.contains(StringTable::builtIn().text(8022)));
}

}  // namespace
}  // namespace vormex::test
