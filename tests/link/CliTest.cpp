// vormexctl get, vormex, list-ports and list-usb against the simulator.
#include "Simulator.h"

#include "base/SettingsStore.h"
#include "base/StringTable.h"
#include "comm/PrinterLink.h"

#include <QSettings>
#include <QTemporaryDir>

using namespace vormex;
using vormex::test::Simulator;

namespace {

QStringList cli(const QStringList& arguments)
{
    return QStringList{QStringLiteral("--definitions"), test::sourcePath(QStringLiteral("tests/link/test-definitions.xml")),
                       QStringLiteral("--printer"), QStringLiteral("ORN Q-KA5"), QStringLiteral("--language"), QStringLiteral("jpn")}
         + arguments;
}

QString stderrText(const test::ProcessResult& result) { return QString::fromUtf8(result.err).trimmed(); }
QString lastLine(const test::ProcessResult& result) { return stderrText(result).section(QLatin1Char('\n'), -1); }

// The user's store that vormexctl reads (in the tests' own home).
void setPort(const QString& name, const QString& device)
{
    QSettings ini(SettingsStore().filePath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Ports/") + name, device);
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    QString textFile(const char* name, const QByteArray& text)
    {
        const QString path = folder_.filePath(QLatin1String(name));
        test::writeFile(path, text);
        return path;
    }
    QTemporaryDir folder_;
    const StringTable strings_ = StringTable::builtIn();
};

TEST_F(Cli, GetSystemWritesOnlyTheLineOverLan)
{
    Simulator sim({QStringLiteral("--file"), QStringLiteral("QUILLPRM.TXT=") + textFile("q.txt", "12,34,-5\r\n")});
    const test::ProcessResult result = test::runProgram(QStringLiteral("vormexctl"), cli({"get", "system", "--device", sim.device()}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    // Data on standard output ends with a newline; the file keeps the printer's bytes.
    EXPECT_EQ(result.out, QByteArray("12,34,-5\n"));
    EXPECT_EQ(stderrText(result), strings_.text(8045));
    const test::ProcessResult dash = test::runProgram(QStringLiteral("vormexctl"), cli({"get", "system", "--device", sim.device(), "-o", "-"}));
    EXPECT_EQ(dash.out, QByteArray("12,34,-5\n"));

    const QString output = folder_.filePath(QStringLiteral("out.txt"));
    const test::ProcessResult toFile = test::runProgram(QStringLiteral("vormexctl"), cli({"get", "system", "--device", sim.device(), "-o", output}));
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_TRUE(toFile.out.isEmpty());
    EXPECT_EQ(test::readFile(output), QByteArray("12,34,-5"));
}

TEST_F(Cli, GetSystemOverAPseudoTerminalAsCom)
{
    Simulator sim({QStringLiteral("--pty"), QStringLiteral("--file"), QStringLiteral("QUILLPRM.TXT=") + textFile("q.txt", "1,2,+3\r\n")});
    setPort(QStringLiteral("COM3"), sim.ptyPath());
    const test::ProcessResult result =
        test::runProgram(QStringLiteral("vormexctl"), cli({"get", "system", "--device", "COM3:9600,8,none,1"}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QByteArray("1,2,+3\n"));
}

TEST_F(Cli, GetFailuresGoToStandardError)
{
    Simulator sim({});
    struct Case {
        QStringList arguments;
        QString message;  // the last line
        QString context;  // in the line before it
    };
    const QList<Case> cases = {
        {{"get", "initial", "--device", sim.device()}, strings_.text(8043), {}},
        {{"get", "system", "--device", "USB:"}, strings_.text(8023), QStringLiteral("no USB printer chosen")},
        {{"get", "system", "--device", "COM200:9600,8,none,1"}, strings_.text(8023), QStringLiteral("COM200 is not a serial port here")},
    };
    for (const Case& c : cases) {
        const test::ProcessResult result = test::runProgram(QStringLiteral("vormexctl"), cli(c.arguments));
        EXPECT_EQ(result.exitCode, 1) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(lastLine(result), c.message) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(stderrText(result).section(QLatin1Char('\n'), 0, -2).contains(c.context)) << stderrText(result).toStdString();
    }
    // A reply that fails its line check: the field and its item before the check's message.
    Simulator holding({QStringLiteral("--file"), QStringLiteral("QUILLPRM.TXT=") + textFile("bad.txt", "12,3a,-5\r\n")});
    const test::ProcessResult checked =
        test::runProgram(QStringLiteral("vormexctl"), cli({"get", "system", "--device", holding.device()}));
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_EQ(stderrText(checked), QStringLiteral("vormexctl: the printer's QUILLPRM.TXT: field 2, LABEL WIDTH\n")
                                       + QString(strings_.text(8052)).replace(QStringLiteral("%d"), QStringLiteral("2")));

    const test::ProcessResult lpt = test::runProgram(QStringLiteral("vormexctl"), cli({"get", "system", "--device", "LPT1:"}));
    EXPECT_EQ(lpt.exitCode, 1);
    EXPECT_EQ(test::runProgram(QStringLiteral("vormexctl"), cli({"get", "everything"})).exitCode, 2);
}

// A device text that does not parse is a usage error with the grammar; one that parses but
// reaches nothing fails with the device and the reason before the open error.
TEST_F(Cli, DeviceTextsAreCheckedAndTheirFailuresExplained)
{
    const QString missing = folder_.filePath(QStringLiteral("lp9"));
    const struct {
        QString device;
        int exitCode;
        QString words;
    } cases[] = {
        {QStringLiteral("LAM:127.0.0.1:9100"), 2, QStringLiteral("unknown interface \"LAM\"")},
        {QStringLiteral("LAN:127.0.0.1:99999"), 2, QStringLiteral("port 99999 is out of range (1 to 65535)")},
        {QStringLiteral("LAN:127.0.0.1:0"), 2, QStringLiteral("port 0 is out of range (1 to 65535)")},
        {QStringLiteral("LAN:127.0.0.1:abc"), 2, QStringLiteral("four numbers separated by dots")},
        {QStringLiteral("LAN:127.0.0.256:9100"), 2, QStringLiteral("256 is not a number of an IPv4 address")},
        {QStringLiteral("COM3:9600,8,nne,1"), 2, QStringLiteral("parity must be none, odd or even, not \"nne\"")},
        {QStringLiteral("COM3:9600,8,none,1,7"), 2, QStringLiteral("four settings")},
        {QStringLiteral("COM3:14400,8,none,1"), 2, QStringLiteral("14400 is not a baud rate")},
        {QStringLiteral("COM300:9600,8,none,1"), 2, QStringLiteral("numbered 1 to 256")},
        {QStringLiteral("LPT1:x"), 2, QStringLiteral("takes nothing after the colon")},
        {QStringLiteral("LAN"), 2, QStringLiteral("no colon")},
        {QStringLiteral("LAN:127.0.0.1:1"), 1, QStringLiteral("connection refused by 127.0.0.1:1")},
        {QStringLiteral("COM250:9600,8,none,1"), 1, QStringLiteral("COM250 is not a serial port here (known: ")},
        {QStringLiteral("USB:") + missing, 1, missing + QStringLiteral(": No such file or directory")},
    };
    for (const auto& c : cases) {
        const test::ProcessResult result =
            test::runProgram(QStringLiteral("vormexctl"), cli({"vormex", "on", "--device", c.device}));
        const QString err = stderrText(result);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.device.toStdString() << ": " << err.toStdString();
        EXPECT_TRUE(err.contains(c.words)) << c.device.toStdString() << ": " << err.toStdString();
        if (c.exitCode == 2) {
            EXPECT_TRUE(err.contains(QStringLiteral("COMn:BAUD,DATA,PARITY,STOP"))) << "the grammar is shown";
        } else {
            EXPECT_EQ(lastLine(result), strings_.text(8023));
        }
    }
}

TEST_F(Cli, VormexSwitchesTheMode)
{
    Simulator sim({});
    for (const char* word : {"off", "on"}) {
        const test::ProcessResult result = test::runProgram(QStringLiteral("vormexctl"), cli({"vormex", word, "--device", sim.device()}));
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        LinkSettings settings;
        settings.deviceInfo = sim.device();
        PrinterLink link(settings);
        ASSERT_EQ(link.Connect(false), 1);
        EXPECT_EQ(link.QueryUntilAnswer(3000, true), 1);
        EXPECT_EQ(link.answer(), QLatin1String(word) == QLatin1String("on") ? kAnswerVormex : kAnswerKirn);
    }
    EXPECT_EQ(sim.countInLog(QStringLiteral("(VORMEX off)")), 1);
    EXPECT_EQ(sim.countInLog(QStringLiteral("(VORMEX on)")), 1);
    EXPECT_EQ(test::runProgram(QStringLiteral("vormexctl"), cli({"vormex", "on", "--device", "LAN"})).exitCode, 2);
    EXPECT_EQ(test::runProgram(QStringLiteral("vormexctl"), cli({"vormex", "maybe"})).exitCode, 2);
}

TEST_F(Cli, ListsPortsWithTheirDevices)
{
    setPort(QStringLiteral("COM42"), QStringLiteral("/dev/pts/99"));
    const QString node = folder_.filePath(QStringLiteral("ttyFAKE"));
    test::writeFile(node, {});
    setPort(QStringLiteral("COM43"), node);
    const test::ProcessResult ports = test::runProgram(QStringLiteral("vormexctl"), {QStringLiteral("list-ports")});
    EXPECT_EQ(ports.exitCode, 0);
    // Whether the user may open each: ok, missing, or no access with the group to join.
    EXPECT_TRUE(ports.out.contains("COM42\t/dev/pts/99\tmissing\t(settings)\n")) << ports.out.toStdString();
    EXPECT_TRUE(ports.out.contains(("COM43\t" + node + "\tok\t(settings)\n").toUtf8())) << ports.out.toStdString();
    EXPECT_EQ(test::runProgram(QStringLiteral("vormexctl"), {QStringLiteral("list-usb")}).exitCode, 0);
}

}  // namespace
