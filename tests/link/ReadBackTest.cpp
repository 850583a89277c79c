// Reading the parameter files back: every way the exchange ends.
#include "ScriptedPrinter.h"
#include "Simulator.h"

#include "app/Application.h"
#include "app/ApplicationContext.h"
#include "app/AppSettings.h"
#include "base/SettingsStore.h"
#include "base/StringIds.h"
#include "comm/ParameterReadBack.h"
#include "definitions/ParameterCheck.h"
#include "timing/PacingClock.h"
#include "files/WorkFiles.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

using namespace vormex;
using vormex::test::ScriptedPrinter;
using vormex::test::Simulator;

namespace {

QByteArray reply(const QByteArray& content) { return QByteArray("\x01\x02", 2) + content + QByteArray("\x03\x04\r\n", 4); }

// An initial value & table text that the test definitions accept: fifteen sections.
QByteArray initialTableText()
{
    QByteArray text;
    for (int i = 0; i < 15; ++i) {
        text += "S" + QByteArray::number(i) + "\r\n";
        const int lines = i == 13 ? 43 : i == 14 ? 30 : 1;
        for (int n = 0; n < lines; ++n)
            text += QByteArray::number(n % 100) + "\r\n";
    }
    return text;
}

class ReadBack : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        store_ = std::make_unique<SettingsStore>(folder_.filePath(QStringLiteral("settings.ini")));
        StartupOptions options;
        options.definitionFile = test::sourcePath(QStringLiteral("tests/link/test-definitions.xml"));
        options.printerName = QStringLiteral("ORN Q-KA5");
        StartApplication(app_, *store_, options);
        ASSERT_NE(app_.selectedPrinter(), nullptr);
    }
    LinkSettings link(const QString& deviceInfo, const QString& usbPath = {}, PortMap ports = PortMap())
    {
        LinkSettings settings = LinkForDevice(app_, *store_, deviceInfo, usbPath);
        settings.portMap = std::move(ports);
        return settings;
    }
    ReadBackResult system(const QList<QByteArray>& pieces)
    {
        ScriptedPrinter printer(pieces);
        const ReadBackResult result = ReadSystemParametersBack(app_, *store_, link(printer.device()));
        EXPECT_EQ(printer.received(), QByteArray("\x1B!B\x0A\x00", 5));
        return result;
    }
    void expectFailure(const ReadBackResult& result, int messageId, const char* what)
    {
        EXPECT_EQ(result.result, 0) << what;
        EXPECT_FALSE(result.silent) << what;
        EXPECT_EQ(result.messageId, messageId) << what;
        EXPECT_EQ(result.message, app_.strings.text(messageId)) << what;
    }

    // A file for the simulator's --file option.
    QString textFile(const char* name, const QByteArray& text)
    {
        const QString path = folder_.filePath(QLatin1String(name));
        test::writeFile(path, text);
        return path;
    }

    QTemporaryDir folder_;
    std::unique_ptr<SettingsStore> store_;
    Application app_;
};

TEST_F(ReadBack, SystemLineArrivesInPiecesWithoutItsLineEnd)
{
    const QByteArray whole = QByteArray("\x01\x02\x01") + reply("QUILLPRM.TXT,12,34,-5\r\n");
    const ReadBackResult result = system({whole.left(7), whole.mid(7, 9), whole.mid(16)});
    EXPECT_EQ(result.result, 1);
    EXPECT_EQ(result.messageId, strings::kParameterGetDone);
    EXPECT_EQ(result.message, app_.strings.text(strings::kParameterGetDone));
    EXPECT_EQ(result.text, QStringLiteral("12,34,-5"));
    EXPECT_EQ(result.received, whole);
}

TEST_F(ReadBack, StaleStatusAnswerBeforeTheReplyIsSkipped)
{
    const ReadBackResult result = system({reply("001    ") + reply("QUILLPRM.TXT;1,2,+3")});
    EXPECT_EQ(result.result, 1);
    EXPECT_EQ(result.text, QStringLiteral("1,2,+3"));
}

TEST_F(ReadBack, SystemFailuresGiveTheirMessages)
{
    struct Case {
        const char* what;
        QList<QByteArray> pieces;
        int messageId;
    };
    const QList<Case> cases = {
        {"no file", {reply("NO FILE")}, strings::kParameterNotInPrinter},
        {"no file with a blank", {reply("NO FILE ")}, strings::kParameterGetFailed},
        {"another file", {reply("ZDEFAULT.TXT,1,2,3")}, strings::kParameterGetFailed},
        {"no frame", {QByteArray("QUILLPRM.TXT,1,2,3\x03\x04\r\n")}, strings::kParameterGetFailed},
        {"buffer full without the tail", {QByteArray("\x01\x02") + QByteArray(200, '1')}, strings::kParameterGetFailed},
        {"silent printer", {}, strings::kParameterGetFailed},
    };
    for (const Case& c : cases)
        expectFailure(system(c.pieces), c.messageId, c.what);
}

TEST_F(ReadBack, LineThatFailsItsCheckGivesTheCheckMessage)
{
    const ReadBackResult result = system({reply("QUILLPRM.TXT,12,x,1\r\n")});
    EXPECT_EQ(result.result, 0);
    EXPECT_EQ(result.messageId, 0);
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_EQ(result.message, ParameterErrorMessage(ParameterFileKind::SystemParameters, app_.parameterCheck, app_.strings));
}

TEST_F(ReadBack, DeviceProblemsEndBeforeAnyExchange)
{
    // Nothing listens on the port of a printer that was just stopped.
    QString closedDevice;
    {
        ScriptedPrinter gone({});
        closedDevice = gone.device();
    }
    expectFailure(ReadSystemParametersBack(app_, *store_, link(closedDevice)), strings::kDeviceOpenError, "closed port");
    expectFailure(ReadSystemParametersBack(app_, *store_, link(QStringLiteral("USB:"))), strings::kDeviceOpenError, "no USB device");
    for (const char* silent : {"LPT1:", "LAN", "", "PRN:/dev/null", "usb:/dev/null"}) {
        const ReadBackResult result = ReadInitialTableBack(app_, *store_, link(QLatin1String(silent)));
        EXPECT_TRUE(result.silent) << silent;
        EXPECT_EQ(result.result, 0);
        EXPECT_TRUE(result.message.isEmpty());
    }
}

TEST_F(ReadBack, RawAnswerIsKeptAsAWorkFileWhenSwitchedOn)
{
    ASSERT_TRUE(QDir().mkpath(documentsFolder()));
    store_->writeInt(QStringLiteral("LogoutSystemParam"), 1);
    const QByteArray answer = reply("QUILLPRM.TXT,1,2,-3\r\n");
    ASSERT_EQ(system({answer}).result, 1);
    const QStringList files = QDir(documentsFolder()).entryList({QStringLiteral("GET_SYSPARAM *.ZZZ")});
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(test::readFile(QDir(documentsFolder()).filePath(files[0])), answer);
    QDir(documentsFolder()).remove(files[0]);

    // The initial values' switch is off: nothing is written for them.
    Simulator sim({QStringLiteral("--file"), QStringLiteral("ZDEFAULT.TXT=") + test::sourcePath(QStringLiteral("tests/link/test-definitions.xml"))});
    ReadInitialTableBack(app_, *store_, link(sim.device()));
    EXPECT_TRUE(QDir(documentsFolder()).entryList({QStringLiteral("*.ZZZ")}).isEmpty());
}

TEST_F(ReadBack, InitialTableOverComKeepsTheTextUnchanged)
{
    const QByteArray text = initialTableText();
    Simulator sim({QStringLiteral("--pty"), QStringLiteral("--file"), QStringLiteral("ZDEFAULT.TXT=") + textFile("z.txt", text)});
    {
        QSettings ini(store_->filePath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Ports/COM3"), sim.ptyPath());
    }
    const ReadBackResult result = ReadInitialTableBack(app_, *store_, link(QStringLiteral("COM3:9600,8,none,1"), {}, PortMap(store_.get())));
    EXPECT_EQ(result.result, 1) << result.message.toStdString();
    EXPECT_EQ(result.text, QString::fromLatin1(text));
    EXPECT_TRUE(result.text.endsWith(QStringLiteral("\r\n")));
    EXPECT_EQ(sim.countInLog(QStringLiteral("(send default file)")), 1);
}

TEST_F(ReadBack, InitialTableThatFailsTheFileCheckGivesItsMessage)
{
    Simulator sim({QStringLiteral("--file"), QStringLiteral("ZDEFAULT.TXT=") + test::sourcePath(QStringLiteral("tests/link/test-definitions.xml"))});
    const ReadBackResult result = ReadInitialTableBack(app_, *store_, link(sim.device()));
    EXPECT_EQ(result.result, 0);
    EXPECT_EQ(result.message, ParameterErrorMessage(ParameterFileKind::InitialTable, app_.parameterCheck, app_.strings));
}

TEST_F(ReadBack, SilentPrinterOnComOrUsbEndsAfterTheReadTimeOut)
{
    Simulator sim({QStringLiteral("--pty"), QStringLiteral("--fault"), QStringLiteral("silence")});
    {
        QSettings ini(store_->filePath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Ports/COM1"), sim.ptyPath());
    }
    QElapsedTimer timer;
    timer.start();
    expectFailure(ReadSystemParametersBack(app_, *store_, link(QStringLiteral("COM1:9600,8,none,1"), {}, PortMap(store_.get()))),
                  strings::kParameterGetFailed, "silent COM");
    EXPECT_GE(timer.elapsed(), 240);  // 5000 ms at the tests' scale
    expectFailure(ReadInitialTableBack(app_, *store_, link(QStringLiteral("USB:"), sim.ptyPath())), strings::kParameterGetFailed,
                  "silent USB");
}

// The silence time-out of a COM or USB read-back starts again with every byte that arrives: a
// slow line brings a large table in many pieces, each gap shorter than the time-out and the whole
// reply much longer.
TEST_F(ReadBack, SlowComReplyIsReadCompletelyWhileBytesKeepComing)
{
    const QByteArray whole = reply("QUILLPRM.TXT,12,34,-5\r\n");
    QList<QByteArray> pieces;
    for (qsizetype at = 0; at < whole.size(); at += 4)
        pieces << whole.mid(at, 4);
    const int silenceMs = int(pacing::scaled(kSystemParameterExchange.readTimeoutMs) / std::chrono::milliseconds(1));
    ScriptedPrinter printer(pieces, ScriptedPrinter::Line::Pty, silenceMs / 3);
    ASSERT_GT(pieces.size() * silenceMs / 3, 2 * silenceMs);
    {
        QSettings ini(store_->filePath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Ports/COM2"), printer.ptyPath());
    }
    const ReadBackResult result =
        ReadSystemParametersBack(app_, *store_, link(QStringLiteral("COM2:9600,8,none,1"), {}, PortMap(store_.get())));
    EXPECT_EQ(result.result, 1) << result.message.toStdString();
    EXPECT_EQ(result.text, QStringLiteral("12,34,-5"));
    EXPECT_EQ(result.received, whole);
}

TEST_F(ReadBack, GarbledAndSplitRepliesStillRead)
{
    for (const char* fault : {"garbage", "split"}) {
        Simulator sim({QStringLiteral("--fault"), QLatin1String(fault), QStringLiteral("--file"),
                       QStringLiteral("QUILLPRM.TXT=") + textFile("q.txt", "7,8,-9\r\n")});
        const ReadBackResult result = ReadSystemParametersBack(app_, *store_, link(sim.device()));
        EXPECT_EQ(result.result, 1) << fault;
        EXPECT_EQ(result.text, QStringLiteral("7,8,-9")) << fault;
    }
}

}  // namespace
