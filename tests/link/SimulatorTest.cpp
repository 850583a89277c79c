// The simulator's printer side as the download engines will meet it.
#include "Simulator.h"

#include "base/ImageChecksum.h"
#include "base/PrinterFileArea.h"
#include "base/StringTable.h"
#include "comm/CommandFraming.h"
#include "comm/PrinterLink.h"
#include "comm/StoreFileEnvelope.h"
#include "download/DownloadJob.h"
#include "download/PrepareItem.h"

#include <QDir>

#include <functional>

using namespace vormex;
using vormex::test::Simulator;

namespace {

// A data area of `blockBytes` bytes holding a file, as the printer stores it.
QByteArray fileArea(const QByteArray& name, const QByteArray& text, int blockBytes)
{
    return BuildPrinterFileArea(name, text, blockBytes).area;
}

LinkSettings lan(const QString& device, ControlCodes codes = ControlCodes::forType(1), bool variable = false)
{
    LinkSettings settings;
    settings.deviceInfo = device;
    settings.codes = codes;
    settings.variableControlCodes = variable;
    return settings;
}

// Sends the prepare command and the envelope; gives the status the printer answered (-1 none).
int store(const QString& device, const QByteArray& prepare, const QByteArray& envelope)
{
    PrinterLink link(lan(device));
    if (link.Connect(false) != 1)
        return kNoAnswer;
    link.port().Write(prepare);
    link.setAnswer(kNoAnswer);
    link.port().Write(envelope);
    link.WaitForStatus(0, 3000, 1);
    return link.answer();
}

QStringList cli(const QStringList& arguments)
{
    return QStringList{QStringLiteral("--definitions"), test::sourcePath(QStringLiteral("data/VORMEX Setting Tool Parameter-JPN.XML")),
                       QStringLiteral("--printer"), QStringLiteral("ORN Q-KA5"), QStringLiteral("--language"), QStringLiteral("jpn")}
         + arguments;
}

TEST(Simulator, DumpKeepsAStoredNameInsideItsFolder)
{
    QTemporaryDir outer;
    const QString dump = outer.filePath(QStringLiteral("dump"));
    const ControlCodes codes;
    Simulator sim({"--block-kb", "1", "--restart-ms", "200", "--dump-dir", dump});
    PrinterLink link(lan(sim.device(), codes, false));
    ASSERT_EQ(link.Connect(false), 1);
    ASSERT_EQ(link.SendBraceCommand(PrepareCommandText(3, 1)), 1);
    link.setAnswer(kNoAnswer);
    ASSERT_EQ(link.port().Write(BuildStoreFileEnvelope(fileArea("../ESCAPE.TX", "1\r\n", 1024), codes, false)), 1);
    EXPECT_EQ(link.WaitForPrinter(20000, false), 1);
    link.Disconnect();
    EXPECT_FALSE(QFile::exists(outer.filePath(QStringLiteral("ESCAPE.TX"))));
    EXPECT_EQ(test::readFile(QDir(dump).filePath(QStringLiteral(".._ESCAPE.TX"))), QByteArray("1\r\n"));
}

TEST(Simulator, HugePrepareCountIsIgnored)
{
    Simulator sim({"--status", "7"});
    PrinterLink link(lan(sim.device(), ControlCodes{}, false));
    ASSERT_EQ(link.Connect(false), 1);
    ASSERT_EQ(link.SendBraceCommand(PrepareCommandText(0, 99999999)), 1);
    EXPECT_EQ(link.QueryUntilAnswer(3000, false), 1);
    EXPECT_EQ(link.answer(), 7);
}

TEST(Simulator, StoresAnEnvelopeAndSendsTheFileBack)
{
    QTemporaryDir dump;
    const ControlCodes codes = ControlCodes::forType(3, 2, 3, 4);
    Simulator sim({"--codes", "2,3,4", "--block-kb", "1", "--restart-ms", "200", "--dump-dir", dump.path()});
    PrinterLink link(lan(sim.device(), codes, true));
    ASSERT_EQ(link.Connect(false), 1);
    ASSERT_EQ(link.SendBraceCommand(PrepareCommandText(3, 2)), 1);
    const QByteArray text = "12,34,-5\r\n";
    link.setAnswer(kNoAnswer);
    ASSERT_EQ(link.port().Write(BuildStoreFileEnvelope(fileArea("QUILLPRM.TXT", text, 2048), codes, true)), 1);
    EXPECT_EQ(link.WaitForPrinter(20000, false), 1);
    link.setAnswer(kNoAnswer);
    link.Disconnect();
    EXPECT_EQ(test::readFile(dump.filePath(QStringLiteral("QUILLPRM.TXT"))), text);

    PrinterPort port;
    ASSERT_EQ(port.Open(QStringLiteral("LAN"), sim.device().mid(4), false), 1);
    ASSERT_EQ(port.Write(FrameShortCommand("!B", codes)), 1);
    QByteArray reply;
    char buffer[256];
    for (int i = 0; i < 20 && !reply.endsWith("\x03\x04\r\n"); ++i) {
        int count = 0;
        port.Read(buffer, sizeof buffer, 200, count);
        reply.append(buffer, count);
    }
    EXPECT_EQ(reply, QByteArray("\x01\x02QUILLPRM.TXT,") + text + QByteArray("\x03\x04\r\n"));
    EXPECT_EQ(sim.countInLog(QStringLiteral("prepared 2 block(s) of 1 KB from block 3")), 1);
}

TEST(Simulator, RefusesEnvelopesThatDoNotMatchThePreparedBlocks)
{
    struct Case {
        const char* what;
        int preparedBlocks;
        int areaBytes;
        int expected;
    };
    for (const Case& c : {Case{"no prepare command", 0, 1024, 51}, Case{"fewer blocks than prepared", 2, 1024, 51},
                          Case{"more blocks than prepared", 1, 2048, 51}}) {
        Simulator sim({"--block-kb", "1", "--firmware-gap-ms", "300"});
        PrinterLink link(lan(sim.device()));
        ASSERT_EQ(link.Connect(false), 1);
        if (c.preparedBlocks > 0)
            link.SendBraceCommand(PrepareCommandText(3, c.preparedBlocks));
        link.setAnswer(kNoAnswer);
        link.port().Write(BuildStoreFileEnvelope(fileArea("ZDEFAULT.TXT", "x", c.areaBytes), ControlCodes::forType(1), false));
        EXPECT_EQ(link.WaitForStatus(0, 3000, 1), 0) << c.what;
        EXPECT_EQ(link.answer(), c.expected) << c.what;
        EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), 0) << c.what;
    }
}

TEST(Simulator, FirmwareWithoutHandshakeEndsWithStatus56OnLan)
{
    Simulator sim({"--firmware-gap-ms", "200"});
    PrinterLink link(lan(sim.device()));
    ASSERT_EQ(link.Connect(true), 1);
    link.setAnswer(kNoAnswer);
    link.port().Write(QByteArray("\x1BLD;\x00\x10\x00\x00,\x00\x01\x0A\x00", 13));
    link.port().Write(QByteArray("\x1BLP;", 4));
    ASSERT_EQ(link.WaitForStatus(52, 90000, 1000), 1);
    link.setListenerPaused(true);
    link.setAnswer(kNoAnswer);
    for (int block = 0; block < 3; ++block)
        ASSERT_EQ(link.port().Write(QByteArray(65536, static_cast<char>(block))), 1);
    link.setListenerPaused(false);
    EXPECT_EQ(link.WaitForStatus(56, 12000, 1), 1);
    EXPECT_EQ(sim.countInLog(QStringLiteral("firmware block of 196608 bytes")), 1);
}

TEST(Simulator, HelpNamesEveryOption)
{
    const test::ProcessResult help = test::runProgram(QStringLiteral("vormex-printer-sim"), {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--pty", "--port", "--fault", "--file", "--dump-dir", "--exit-after-idle", "--restart-ms",
                               "--firmware-handshake", "--codes", "--block-kb", "--count", "alter", "forget"})
        EXPECT_TRUE(help.out.contains(option)) << option;
    EXPECT_EQ(test::runProgram(QStringLiteral("vormex-printer-sim"), {QStringLiteral("--fault"), QStringLiteral("nope")}).exitCode, 2);
}

// BASIC programs prepared as a download job prepares them: whole blocks of the encoded image.
TEST(Simulator, StoresBasicProgramsAndRefusesBrokenOnes)
{
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("main.bas"));
    test::writeFile(source, "10 PRINT \"HELLO\"\r\n20 END\r\n");
    const auto setChecksum = [](QByteArray& envelope) {
        envelope.chop(1);
        envelope.append(static_cast<char>(ImageChecksum(envelope.mid(4, envelope.size() - 6))));
    };
    struct Case {
        const char* what;
        int type;
        std::function<void(QByteArray&)> spoil;
        int expected;
        const char* logged;
    };
    const QList<Case> cases = {
        {"main program", DownloadItem::BasicMain, [](QByteArray&) {}, 0, "stored main.bas (BASIC main program, 118029 bytes"},
        {"system-mode program", DownloadItem::BasicSystem, [](QByteArray&) {}, 0, "stored main.bas (BASIC system-mode program, 21005 bytes"},
        {"body longer than the blocks", DownloadItem::BasicMain,
         [&](QByteArray& envelope) { envelope[4 + 0x11] = 0x10; setChecksum(envelope); }, 51, "does not fit an area of 131072 bytes"},
        {"bad checksum", DownloadItem::BasicMain, [](QByteArray& envelope) { envelope[envelope.size() - 1] ^= 1; }, 57, "checksum error"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dump;
        Simulator sim({"--restart-ms", "100", "--dump-dir", dump.path()});
        DownloadJob job;
        job.blockSizeKb = 64;
        ASSERT_EQ(PrepareItem(job, c.type, source, {}), 1) << c.what;
        QByteArray envelope = job.item(c.type).bytes;
        c.spoil(envelope);
        EXPECT_EQ(store(sim.device(), BuildPrepareCommand(job, c.type), envelope), c.expected) << c.what;
        EXPECT_EQ(sim.countInLog(QLatin1String(c.logged)), 1) << c.what << sim.log().toStdString();
        EXPECT_EQ(QFile::exists(dump.filePath(QStringLiteral("main.bas"))), c.expected == 0) << c.what;
    }
}

// The drop fault takes exactly N bytes of a transfer, however they arrive, and hangs up at the next.
TEST(Simulator, DropHangsUpAfterTheGivenBytesOfATransfer)
{
    const QByteArray envelope = BuildStoreFileEnvelope(fileArea("QUILLPRM.TXT", "1,2,3\r\n", 1024), ControlCodes::forType(1), false);
    for (const int dropAfter : {0, 10, 600, 1030, 1031}) {
        const bool cut = dropAfter < envelope.size();
        Simulator sim({"--block-kb", "1", "--restart-ms", "100", "--fault", "drop", "--drop-after", QString::number(dropAfter)});
        // The whole envelope in one write: the printer reads far more than N bytes at once.
        const int status = store(sim.device(), FrameBraceCommand(PrepareCommandText(3, 1), ControlCodes::forType(1), false), envelope);
        EXPECT_EQ(status, cut ? kNoAnswer : 0) << dropAfter;
        EXPECT_EQ(sim.waitForLog(QStringLiteral("fault: hanging up after %1 bytes of a transfer\n").arg(dropAfter), cut ? 4000 : 0), cut)
            << dropAfter << sim.log().toStdString();
        EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), cut ? 0 : 1) << dropAfter;
    }

    Simulator sim({"--fault", "drop", "--drop-after", "100", "--firmware-gap-ms", "200"});
    PrinterLink link(lan(sim.device()));
    ASSERT_EQ(link.Connect(true), 1);
    link.port().Write(QByteArray("\x1BLD;\x00\x10\x00\x00,\x00\x01\x0A\x00", 13) + QByteArray("\x1BLP;", 4));
    ASSERT_EQ(link.WaitForStatus(52, 3000, 1000), 1);
    link.port().Write(QByteArray(65536, 'F'));
    EXPECT_TRUE(sim.waitForLog(QStringLiteral("fault: hanging up after 100 bytes of a transfer\n"))) << sim.log().toStdString();
    EXPECT_EQ(link.WaitForStatus(56, 1000, 1), 0);
}

// Every byte the printer writes is in its log, noise and pieces included.
TEST(Simulator, LogsAnswersAsTheyAreSent)
{
    struct Case {
        const char* fault;
        QByteArray received;
        QStringList logged;
    };
    const QList<Case> cases = {
        {"none", QByteArray("\x01\x02" "001    \x03\x04\r\n"), {"sim: -> <01><02>001    <03><04><0D><0A>\n"}},
        {"garbage", QByteArray("\x05\x01\x02?noise\x01\x02" "001    \x03\x04\r\n"),
         {"sim: -> <05><01><02>?noise<01><02>001    <03><04><0D><0A>\n"}},
        {"split", QByteArray("\x01\x02" "001    \x03\x04\r\n"), {"sim: -> <01><02>001 \n", "sim: ->    <03><04><0D><0A>\n"}},
    };
    for (const Case& c : cases) {
        Simulator sim({"--fault", c.fault});
        EXPECT_EQ(test::exchange(sim.device(), FrameShortCommand("WS", ControlCodes::forType(1))), c.received) << c.fault;
        EXPECT_TRUE(sim.log().startsWith(QStringLiteral("sim: serving LAN:127.0.0.1:"))) << c.fault;
        for (const QString& line : c.logged)
            EXPECT_EQ(sim.countInLog(line), 1) << c.fault << " " << line.toStdString() << sim.log().toStdString();
    }
}

// A printer that keeps something other than what it acknowledged, as `vormexctl get` sees it.
TEST(Simulator, AlterAndForgetShowThroughTheReadBack)
{
    QTemporaryDir folder;
    QMap<QString, QByteArray> sent;
    for (const char* kind : {"system", "initial"}) {
        const QString path = folder.filePath(QLatin1String(kind) + QStringLiteral(".txt"));
        const test::ProcessResult exported =
            test::runProgram(QStringLiteral("vormexctl"), cli({"export", "--kind", kind, "--format", "txt", "-o", path}));
        ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        sent.insert(QLatin1String(kind), test::readFile(path));
    }
    // The printer's defaults begin "00600," and "BARCODE Default\r\n010,": the alter fault
    // raises the last digit of the first number by one.
    ASSERT_TRUE(sent[QStringLiteral("system")].startsWith("00600,"));
    ASSERT_TRUE(sent[QStringLiteral("initial")].startsWith("BARCODE Default\r\n010,"));
    // What get writes on standard output: LF line ends, a newline at the end.
    const QByteArray alteredSystem = "00601" + sent[QStringLiteral("system")].mid(5).chopped(2) + "\n";
    const QByteArray alteredInitial = QByteArray("BARCODE Default\r\n011" + sent[QStringLiteral("initial")].mid(20)).replace("\r\n", "\n");
    const QString noFile = StringTable::builtIn().text(8043);
    struct Case {
        const char* fault;
        const char* kind;
        int exitCode;
        QByteArray out;
    };
    const QList<Case> cases = {
        {"alter", "system", 0, alteredSystem},
        {"alter", "initial", 0, alteredInitial},
        {"forget", "system", 1, {}},
        {"forget", "initial", 1, {}},
    };
    for (const Case& c : cases) {
        const QString path = folder.filePath(QLatin1String(c.kind) + QStringLiteral(".txt"));
        // A file held from the start is gone too after a forgotten store.
        const QString held = QLatin1String(c.kind) == QLatin1String("system") ? QStringLiteral("QUILLPRM.TXT=") : QStringLiteral("ZDEFAULT.TXT=");
        Simulator sim({"--fault", c.fault, "--restart-ms", "100", "--file", held + path});
        const test::ProcessResult sentFile =
            test::runProgram(QStringLiteral("vormexctl"), cli({"send-file", c.kind, path, "--device", sim.device(), "--no-vormex-on"}));
        EXPECT_EQ(sentFile.exitCode, 0) << c.fault << c.kind << sentFile.err.toStdString();
        const test::ProcessResult got = test::runProgram(QStringLiteral("vormexctl"), cli({"get", c.kind, "--device", sim.device()}));
        EXPECT_EQ(got.exitCode, c.exitCode) << c.fault << c.kind << got.err.toStdString();
        EXPECT_EQ(got.out, c.out) << c.fault << c.kind;
        if (c.exitCode != 0)
            EXPECT_EQ(QString::fromUtf8(got.err).trimmed(), noFile) << c.fault << c.kind;
    }
}

}  // namespace
