// vormexctl apply against several simulated printers: concurrent jobs, verify by read-back,
// failures that stay with their printer, the plan, Ctrl-C.
#include "FleetFixture.h"
#include "TerminalScreen.h"

#include "app/AppSettings.h"
#include "base/SettingsStore.h"
#include "base/StringTable.h"
#include "support/PseudoTerminal.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vormex::test {
namespace {

QJsonObject parameterJob(bool vormexOn = false)
{
    QJsonObject job{{QStringLiteral("system-params"), QStringLiteral("system.txt")},
                    {QStringLiteral("initial-table"), QStringLiteral("initial.txt")}};
    if (vormexOn)
        job.insert(QStringLiteral("vormex"), QStringLiteral("on"));
    return job;
}

QJsonObject difference(const char* file, const char* where, const QJsonValue& printer, const QJsonValue& wanted)
{
    return QJsonObject{{QStringLiteral("file"), QLatin1String(file)}, {QStringLiteral("where"), QLatin1String(where)},
                       {QStringLiteral("printer"), printer}, {QStringLiteral("wanted"), wanted}};
}

// The columns `line` takes at least: kana, kanji and full-width forms take two.
int leastColumns(const QString& line)
{
    int columns = 0;
    for (const QChar c : line)
        columns += (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) || (c.unicode() >= 0xFF00 && c.unicode() <= 0xFF60) ? 2 : 1;
    return columns;
}

class FleetApply : public FleetFixture {};

TEST_F(FleetApply, ThreeTargetsOfTwoModelsStoreTheirFilesAndVerify)
{
    const QString dump = path(QStringLiteral("dump"));
    Simulator sim({"--count", "3", "--dump-dir", dump});
    ASSERT_EQ(sim.devices().size(), 3);
    // The third target comes from the spreadsheet's CSV, its device quoted.
    writeFile(path(QStringLiteral("more.csv")), "device,name\r\n\"" + sim.devices()[2].toUtf8() + "\",c\r\n");
    const QString manifest = writeManifest({
        {QStringLiteral("printer"), QStringLiteral("ORN Q-KA5")},
        {QStringLiteral("job"), parameterJob(true)},
        {QStringLiteral("targets"), QJsonArray{target("a", sim.devices()[0]), target("b", sim.devices()[1], "Q-KA4S")}},
        {QStringLiteral("targets-file"), QStringLiteral("more.csv")},
    });
    const ProcessResult result = ctl({"apply", manifest, "--report", path("r.json")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();

    const QJsonObject report = readReport(path("r.json"));
    ASSERT_EQ(report.value(QStringLiteral("targets")).toArray().size(), 3);
    EXPECT_GT(report.value(QStringLiteral("seconds")).toDouble(), 0);
    for (const char* name : {"a", "b", "c"}) {
        const QJsonObject entry = targetOf(report, QLatin1String(name));
        EXPECT_EQ(entry.value(kResult).toString(), QStringLiteral("ok")) << name;
        EXPECT_EQ(entry.value(QStringLiteral("steps_done")).toInt(), 3) << name;
        EXPECT_EQ(entry.value(QStringLiteral("steps_total")).toInt(), 3) << name;
        EXPECT_EQ(entry.value(QStringLiteral("verify")).toObject(),
                  QJsonObject({{QStringLiteral("system"), QStringLiteral("same")}, {QStringLiteral("initial"), QStringLiteral("same")}}))
            << name;
        EXPECT_TRUE(entry.value(QStringLiteral("differences")).toArray().isEmpty()) << name;
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(QLatin1String(name) + QStringLiteral(": ") + StringTable::builtIn().text(8022)))
            << name;
    }
    EXPECT_EQ(targetOf(report, "b").value(QStringLiteral("printer")).toString(), QStringLiteral("Q-KA4S"));
    EXPECT_EQ(targetOf(report, "c").value(QStringLiteral("device")).toString(), sim.devices()[2]);
    // Each model got the file as its own preparation made it: Q-KA4S has no label shift field.
    const QByteArray system = systemText();
    const QByteArray withoutShift = system.size() > 66 ? system.left(64) + "\r\n" : system;
    EXPECT_EQ(readFile(dump + "/1/QUILLPRM.TXT"), system);
    EXPECT_EQ(readFile(dump + "/2/QUILLPRM.TXT"), withoutShift);
    EXPECT_EQ(readFile(dump + "/3/QUILLPRM.TXT"), system);
    for (const char* k : {"1", "2", "3"})
        EXPECT_EQ(readFile(dump + "/" + k + "/ZDEFAULT.TXT"), initialText()) << k;
}

// Stored codes of the user's own: a model with variable control codes is framed with them, a model
// with fixed codes with ESC LF NUL, both in one apply.
TEST_F(FleetApply, AMixedFleetWithCustomCodesRunsInOneApply)
{
    const QString settings = SettingsStore().filePath();
    const QByteArray keptSettings = readFile(settings);
    {
        SettingsStore store;
        saveControlCodes(store, ControlCodes::forType(3, 0x02, 0x03, 0x04));
        ASSERT_TRUE(store.sync());
    }
    Simulator variable({"--codes", "2,3,4"});
    Simulator fixed({});
    const QJsonArray targets{target("kb", variable.device(), "Q-KB4"), target("ka", fixed.device(), "ORN Q-KA5")};
    const ProcessResult result =
        ctl({"apply", writeManifest({{"job", QJsonObject{{"vormex", "off"}}}, {"targets", targets}}), "--report", path("r.json")});
    writeFile(settings, keptSettings);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    for (const char* name : {"kb", "ka"})
        EXPECT_EQ(targetOf(readReport(path("r.json")), name).value(kResult).toString(), QStringLiteral("ok")) << name;
}

TEST_F(FleetApply, AFailingPrinterFailsAloneAndTheOthersEndOk)
{
    struct Case {
        const char* fault;
        QString system;  // the verify words of printer 2
        QString initial;
        QJsonArray differences;
    };
    const QList<Case> cases = {
        {"2:silence", "skipped", "skipped", {}},
        {"2:alter", "different", "different",
         {difference("system", "LABEL LENGTH", "00601", "00600"),
          difference("initial", "BARCODE Default line 1", "011,02,3.0", "010,02,3.0")}},
        {"2:forget", "different", "different",
         {difference("system", "QUILLPRM.TXT", "NO FILE", QStringLiteral("%1 bytes").arg(systemText().size())),
          difference("initial", "ZDEFAULT.TXT", "NO FILE", QStringLiteral("%1 bytes").arg(initialText().size()))}},
    };
    for (const Case& c : cases) {
        Simulator sim({"--count", "3", "--fault", c.fault});
        ASSERT_EQ(sim.devices().size(), 3);
        const QString manifest = writeManifest({
            {QStringLiteral("job"), parameterJob()},
            {QStringLiteral("targets"), QJsonArray{target("a", sim.devices()[0]), target("b", sim.devices()[1]), target("c", sim.devices()[2])}},
        });
        const ProcessResult result = ctl({"apply", manifest, "--report", path("r.json")});
        EXPECT_EQ(result.exitCode, 1) << c.fault << result.err.toStdString();
        const QJsonObject report = readReport(path("r.json"));
        for (const char* name : {"a", "c"})
            EXPECT_EQ(targetOf(report, QLatin1String(name)).value(kResult).toString(), QStringLiteral("ok")) << c.fault << name;
        const QJsonObject failed = targetOf(report, "b");
        EXPECT_EQ(failed.value(kResult).toString(), QStringLiteral("failed")) << c.fault;
        const QString message = failed.value(QStringLiteral("message")).toString();
        EXPECT_FALSE(message.isEmpty()) << c.fault;
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(QStringLiteral("): ") + message)) << c.fault << result.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(QStringLiteral("b: failed ("))) << c.fault << result.err.toStdString();
        const QJsonObject verify = failed.value(QStringLiteral("verify")).toObject();
        EXPECT_EQ(verify.value(QStringLiteral("system")).toString(), c.system) << c.fault;
        EXPECT_EQ(verify.value(QStringLiteral("initial")).toString(), c.initial) << c.fault;
        EXPECT_EQ(failed.value(QStringLiteral("differences")).toArray(), c.differences) << c.fault;
    }
}

// A failed target's message says what the single command says: the step, the file or the device,
// and the reason.
TEST_F(FleetApply, AFailedTargetSaysWhy)
{
    const StringTable strings = StringTable::builtIn();
    struct Case {
        const char* name;
        QStringList simArguments;  // empty: nothing listens
        QStringList command;       // the manifest and the report are added
        QString message;           // the report's message, with DEVICE for the target's device
    };
    const QList<Case> cases = {
        {"refused", {}, {"apply"}, strings.text(8023) + QStringLiteral(": connection refused by 127.0.0.1:1 (nothing listens there)")},
        {"silent", {"--fault", "silence"}, {"apply"}, strings.text(8011) + QStringLiteral(": no answer from DEVICE within 18 s")},
        {"status 57", {"--fault", "bad-checksum"}, {"apply"}, strings.text(8014) + QStringLiteral(": %1: %2").arg(path("system.txt"), strings.text(8031))},
        {"silent read-back", {"--fault", "silence"}, {"backup", "-o", path("backup")},
         QStringLiteral("QUILLPRM.TXT: %1: no answer from DEVICE").arg(strings.text(8042))},
        {"refused read-back", {}, {"backup", "-o", path("backup")},
         QStringLiteral("QUILLPRM.TXT: %1: connection refused by 127.0.0.1:1 (nothing listens there)").arg(strings.text(8023))},
    };
    for (const Case& c : cases) {
        std::optional<Simulator> sim;
        if (!c.simArguments.isEmpty())
            sim.emplace(c.simArguments);
        const QString device = sim ? sim->device() : QStringLiteral("LAN:127.0.0.1:1");
        const QJsonObject job{{QStringLiteral("system-params"), QStringLiteral("system.txt")}};
        const QString manifest = writeManifest({{QStringLiteral("job"), job}, {QStringLiteral("targets"), QJsonArray{target("a", device)}}});
        const ProcessResult result = ctl(c.command + QStringList{manifest, "--report", path("r.json")});
        EXPECT_EQ(result.exitCode, 1) << c.name << ": " << result.err.toStdString();
        const QString message = QString(c.message).replace(QStringLiteral("DEVICE"), device);
        // A backup asks for both files; the message names each that could not be read.
        EXPECT_TRUE(targetOf(readReport(path("r.json")), "a").value(QStringLiteral("message")).toString().startsWith(message))
            << c.name << ": " << result.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(QStringLiteral("a: failed (")) && QString::fromUtf8(result.err).contains(message))
            << c.name << ": " << result.err.toStdString();
    }
}

TEST_F(FleetApply, PlanSendsNothingAndShowsWhatWouldChange)
{
    QByteArray held = systemText();
    held.replace(0, 5, "01000");
    writeFile(path(QStringLiteral("held.txt")), held);
    Simulator sim({"--count", "2", "--file", QStringLiteral("QUILLPRM.TXT=") + path("held.txt")});
    ASSERT_EQ(sim.devices().size(), 2);
    struct Case {
        const char* name;
        QJsonArray targets;
        int exitCode;
    };
    const QList<Case> cases = {
        {"every printer reached, and they differ", {target("a", sim.devices()[0]), target("b", sim.devices()[1])}, 3},
        {"one printer not reached", {target("a", sim.devices()[0]), target("gone", QStringLiteral("LAN:127.0.0.1:1"))}, 1},
    };
    for (const Case& c : cases) {
        const QString manifest = writeManifest({{QStringLiteral("job"), parameterJob(true)}, {QStringLiteral("targets"), c.targets}});
        const ProcessResult result = ctl({"apply", manifest, "--plan", "--report", path("r.json")});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << result.err.toStdString();
        const QString out = QString::fromUtf8(result.out);
        EXPECT_TRUE(out.contains(QStringLiteral("a: system: LABEL LENGTH: printer 01000, file 00600\n"))) << c.name << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("a: initial: ZDEFAULT.TXT: printer NO FILE, file %1 bytes\n").arg(initialText().size())))
            << c.name << out.toStdString();
        const QJsonObject a = targetOf(readReport(path("r.json")), "a");
        EXPECT_EQ(a.value(kResult).toString(), QStringLiteral("ok")) << c.name;
        EXPECT_EQ(a.value(QStringLiteral("differences")).toArray().size(), 2) << c.name;
        EXPECT_TRUE(a.value(QStringLiteral("drift")).toBool()) << c.name;
    }
    EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), 0);
    EXPECT_EQ(sim.countInLog(QStringLiteral("LDB")), 0);
    EXPECT_EQ(targetOf(readReport(path("r.json")), "gone").value(kResult).toString(), QStringLiteral("failed"));
}

TEST_F(FleetApply, OnATerminalTheProgressLinesNeverWrap)
{
    // Long names and the Japanese log lines (full-width "VORMEX OFF") make lines wider than 80
    // columns unless they are cut by their width on the screen.
    Simulator sim({"--count", "2"}, "0.1");
    ASSERT_EQ(sim.devices().size(), 2);
    const QString a = QStringLiteral("dock-long-name-01");
    const QString b = QStringLiteral("dock-long-name-02");
    const QString manifest = writeManifest({
        {QStringLiteral("job"), parameterJob(true)},
        {QStringLiteral("targets"), QJsonArray{target(a, sim.devices()[0]), target(b, sim.devices()[1])}},
    });
    PseudoTerminal terminal;
    winsize size{};
    size.ws_col = 80;
    size.ws_row = 24;
    ASSERT_EQ(::ioctl(terminal.printerEnd(), TIOCSWINSZ, &size), 0);
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORMEX_TIME_SCALE"), QStringLiteral("0.1"));
    tool.setProcessEnvironment(environment);
    tool.setStandardErrorFile(terminal.path());
    tool.start(programPath(QStringLiteral("vormexctl")), ctlArguments({"apply", manifest}));
    ASSERT_TRUE(tool.waitForStarted(5000));
    QByteArray screen;
    while (!tool.waitForFinished(50))
        screen += terminal.receive(1, 50);
    screen += terminal.receive(1, 200);
    EXPECT_EQ(tool.exitCode(), 0) << screen.toStdString();

    static const QRegularExpression escape(QStringLiteral("\\x1b\\[[0-9]*[A-Za-z]"));
    static const QRegularExpression lineEnd(QStringLiteral("[\\r\\n]"));
    static const QRegularExpression progressBar(QStringLiteral("\\[[#.]{20}\\]"));
    const QStringList pieces = QString::fromUtf8(screen).replace(escape, QStringLiteral("\n")).split(lineEnd, Qt::SkipEmptyParts);
    int progressLines = 0, wideProgressLines = 0;
    for (const QString& piece : pieces) {
        if (!piece.contains(progressBar))
            continue;
        ++progressLines;
        if (leastColumns(piece) > piece.size())
            ++wideProgressLines;
        EXPECT_LT(leastColumns(piece), 80) << piece.toStdString();
    }
    EXPECT_GT(progressLines, 0) << screen.toStdString();
    EXPECT_GT(wideProgressLines, 0) << screen.toStdString();
    EXPECT_FALSE(pieces.filter(QRegularExpression(QStringLiteral("^fleet +[0-2]/2 ended"))).isEmpty()) << screen.toStdString();
    // On a terminal the log lines show in the progress lines; each target's closing line stays.
    EXPECT_FALSE(pieces.contains(a + QStringLiteral(": ") + StringTable::builtIn().text(8022))) << screen.toStdString();
    for (const QString& name : {a, b})
        EXPECT_EQ(pieces.filter(QRegularExpression(QStringLiteral("^%1: ok \\(").arg(name))).size(), 1) << name.toStdString();
}

// More targets than the terminal has rows, with long names: the progress block fills the screen.
// Only the targets' end lines stay in the scrollback (a terminal such as tmux keeps what is
// cleared from its top corner), and the fleet line shows its counts before anything is cut.
TEST_F(FleetApply, AFullScreenOfProgressLeavesOnlyTheEndLines)
{
    constexpr int kTargets = 8, kColumns = 80, kRows = 8;
    Simulator sim({"--count", QString::number(kTargets)});
    ASSERT_EQ(sim.devices().size(), kTargets);
    QJsonArray targets;
    QStringList names;
    for (int i = 0; i < kTargets; ++i) {
        names << QStringLiteral("dock-with-a-rather-long-name-for-the-yard-%1").arg(i);
        targets.append(target(names.last(), sim.devices()[i]));
    }
    const QString manifest = writeManifest({{QStringLiteral("job"), parameterJob()}, {QStringLiteral("targets"), targets}});

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    winsize size{};
    size.ws_col = kColumns;
    size.ws_row = kRows;
    ASSERT_EQ(::ioctl(master, TIOCSWINSZ, &size), 0);
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORMEX_TIME_SCALE"), QStringLiteral("0.05"));
    tool.setProcessEnvironment(environment);
    tool.setStandardErrorFile(QString::fromLocal8Bit(::ptsname(master)));  // a terminal as a user has it (LF becomes CR LF)
    tool.start(programPath(QStringLiteral("vormexctl")), ctlArguments({"apply", manifest}));
    ASSERT_TRUE(tool.waitForStarted(5000));
    QByteArray written;
    const auto drain = [&] {
        pollfd waiting{master, POLLIN, 0};
        char buffer[8192];
        while (::poll(&waiting, 1, 20) > 0) {
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got <= 0)
                break;
            written.append(buffer, got);
        }
    };
    while (!tool.waitForFinished(20))
        drain();
    drain();
    ::close(master);
    EXPECT_EQ(tool.exitCode(), 0) << written.toStdString();

    TerminalScreen terminal(kColumns, kRows);
    terminal.write(written);
    const QStringList lines = terminal.lines();
    static const QRegularExpression progressBar(QStringLiteral("\\[[#.]{20}\\]"));
    EXPECT_TRUE(lines.filter(progressBar).isEmpty()) << lines.join('\n').toStdString();
    for (const QString& name : names)
        EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^%1: ok \\(").arg(name))).size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.size(), kTargets) << lines.join('\n').toStdString();

    static const QRegularExpression pieceEnd(QStringLiteral("\\x1b\\[[0-9]*[A-Za-z]|[\\r\\n]"));
    const QStringList fleetLines = QString::fromUtf8(written).split(pieceEnd, Qt::SkipEmptyParts).filter(QRegularExpression(QStringLiteral("^fleet ")));
    EXPECT_FALSE(fleetLines.isEmpty());
    for (const QString& line : fleetLines)
        EXPECT_TRUE(line.contains(QRegularExpression(QStringLiteral("[0-8]/8 ended  ok [0-8]  failed 0  running [0-8]  waiting [0-8]")))) << line.toStdString();
}

// SIGINT and SIGTERM in every mode, at the printer's real timing and against silent printers: the
// waits and read-backs under way are abandoned at once, the report says "cancelled", and the exit
// status tells which signal it was.
TEST_F(FleetApply, SignalsCancelEveryModeAtOnceAndTheReportSaysSo)
{
    struct Case {
        const char* name;
        QStringList arguments;  // the manifest and the report are added
        int signal;
        QString under;          // what shows the targets are waiting: a line on stderr or in the printer's log
        bool inPrinterLog;
        QString neverSent;      // what the printer must not be asked after the signal
    };
    const QString vormexOff = QStringLiteral("b: ") + StringTable::builtIn().text(8041);
    const QString readBack = QStringLiteral("send system parameter file");
    const QList<Case> cases = {
        {"apply, SIGINT", {"apply"}, SIGINT, vormexOff, false, QStringLiteral("LDB")},
        {"apply, SIGTERM", {"apply"}, SIGTERM, vormexOff, false, QStringLiteral("LDB")},
        {"plan, SIGINT", {"apply", "--plan"}, SIGINT, readBack, true, QStringLiteral("send default file")},
        {"plan, SIGTERM", {"apply", "--plan"}, SIGTERM, readBack, true, QStringLiteral("send default file")},
        {"backup, SIGINT", {"backup", "-o", path("backup")}, SIGINT, readBack, true, QStringLiteral("send default file")},
        {"backup, SIGTERM", {"backup", "-o", path("backup")}, SIGTERM, readBack, true, QStringLiteral("send default file")},
    };
    for (const Case& c : cases) {
        Simulator sim({"--count", "2", "--fault", "silence"});
        ASSERT_EQ(sim.devices().size(), 2);
        const QString manifest = writeManifest({
            {QStringLiteral("job"), parameterJob()},
            {QStringLiteral("targets"), QJsonArray{target("a", sim.devices()[0]), target("b", sim.devices()[1])}},
        });
        QFile::remove(path("r.json"));
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VORMEX_TIME_SCALE"), QStringLiteral("1"));  // waits and read-backs of seconds
        tool.setProcessEnvironment(environment);
        tool.start(programPath(QStringLiteral("vormexctl")), ctlArguments(c.arguments + QStringList{manifest, "--report", path("r.json")}));
        ASSERT_TRUE(tool.waitForStarted(5000)) << c.name;
        QByteArray err;
        for (int i = 0; i < 100 && (c.inPrinterLog ? sim.countInLog(c.under) < 2 : !QString::fromUtf8(err).contains(c.under)); ++i) {
            tool.waitForReadyRead(100);
            err += tool.readAllStandardError();
        }
        ASSERT_TRUE(c.inPrinterLog ? sim.countInLog(c.under) == 2 : QString::fromUtf8(err).contains(c.under)) << c.name << err.toStdString();
        ::kill(static_cast<pid_t>(tool.processId()), c.signal);
        // At real speed a silent printer's read-back takes 5 s and a wait 18 s; a cancel takes well under one.
        ASSERT_TRUE(tool.waitForFinished(3000)) << c.name;
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit) << c.name;
        EXPECT_EQ(tool.exitCode(), 128 + c.signal) << c.name;
        const QJsonObject report = readReport(path("r.json"));
        for (const char* name : {"a", "b"})
            EXPECT_EQ(targetOf(report, QLatin1String(name)).value(kResult).toString(), QStringLiteral("cancelled")) << c.name << name;
        EXPECT_EQ(sim.countInLog(c.neverSent), 0) << c.name;
        EXPECT_FALSE(QFile::exists(path("backup/a/QUILLPRM.TXT"))) << c.name;
    }
}

}  // namespace
}  // namespace vormex::test
