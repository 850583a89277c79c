// Keeping printers in line with a manifest: apply --if-different sends only what a printer does
// not hold, a plan's exit status tells drift from failure, the metrics say the same for
// monitoring, and a backup says whether its files changed.
#include "FleetFixture.h"

#include "fleet/FleetMetrics.h"

#include <QDateTime>
#include <QJsonArray>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>

namespace vormex::test {
namespace {

// A metrics file: every sample by its name and labels as written ("vormex_printer_up{name=...}"),
// after checking that each family's samples follow its HELP and TYPE lines.
struct Metrics {
    QMap<QString, QString> samples;
    QStringList problems;

    explicit Metrics(const QByteArray& text)
    {
        static const QRegularExpression sample(QStringLiteral("^([a-z_]+)(\\{[^}]*\\})? (\\S+)$"));
        QString help, type;
        for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("# HELP "))) {
                help = line.section(QLatin1Char(' '), 2, 2);
                continue;
            }
            if (line.startsWith(QLatin1String("# TYPE "))) {
                type = line.section(QLatin1Char(' '), 2, 2);
                if (type != help || line.section(QLatin1Char(' '), 3) != QLatin1String("gauge"))
                    problems << line;
                continue;
            }
            const QRegularExpressionMatch match = sample.match(line);
            if (!match.hasMatch() || match.captured(1) != type)
                problems << line;
            samples.insert(match.captured(1) + match.captured(2), match.captured(3));
        }
    }
    // The samples of `family` whose labels hold `label` ("name=\"a\"").
    QStringList of(const QString& family, const QString& label) const
    {
        QStringList found;
        for (auto it = samples.constBegin(); it != samples.constEnd(); ++it)
            if (it.key().startsWith(family + QLatin1Char('{')) && it.key().contains(label))
                found << it.key().mid(it.key().indexOf(QLatin1Char('{'))) + QLatin1Char(' ') + it.value();
        return found;
    }
};

QString labels(const QString& name, const QString& device, const QString& printer, const QString& extra = {})
{
    QString text = QStringLiteral("{name=\"%1\",device=\"%2\",printer=\"%3\"").arg(name, device, printer);
    if (!extra.isEmpty())
        text += QLatin1Char(',') + extra;
    return text + QLatin1Char('}');
}

// Every printer holds the job's two files from the start. A target of "ORN Q-KA5" holds what its
// job sends; one of "Q-KA4S" is sent a system parameter line without the label shift, which its
// printer does not hold: that target differs in its system parameters only.
class FleetSync : public FleetFixture {
protected:
    QStringList holdingTheJob(const QString& count) const
    {
        return {"--count", count, "--file", QStringLiteral("QUILLPRM.TXT=") + path("system.txt"), "--file",
                QStringLiteral("ZDEFAULT.TXT=") + path("initial.txt")};
    }
    static QJsonObject job(bool vormexOn)
    {
        QJsonObject job{{"system-params", "system.txt"}, {"initial-table", "initial.txt"}};
        if (vormexOn)
            job.insert("vormex", "on");
        return job;
    }
};

TEST_F(FleetSync, IfDifferentSendsOnlyWhatAPrinterDoesNotHold)
{
    Simulator sim(holdingTheJob("3"));
    ASSERT_EQ(sim.devices().size(), 3);
    const QString manifest = writeManifest({
        {"printer", "ORN Q-KA5"},
        {"job", job(true)},
        {"targets", QJsonArray{target("a", sim.devices()[0]), target("b", sim.devices()[1], "Q-KA4S"), target("c", sim.devices()[2])}},
    });
    const ProcessResult result = ctl({"apply", manifest, "--if-different", "--report", path("r.json"), "--metrics", path("m.prom")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString err = QString::fromUtf8(result.err);

    // Printers 1 and 3 hold the job: nothing reaches them but the two read-backs, not even the
    // VORMEX switch. Printer 2 gets its system parameters, and the switch around them.
    const QString log = sim.log();
    for (const char* untouched : {"[1] ", "[3] "}) {
        for (const char* command : {"!T", "!Z", "LDB", "stored"})
            EXPECT_EQ(log.count(QLatin1String(untouched) + QStringLiteral("sim: <- ") + QLatin1String(command)) +
                          log.count(QLatin1String(untouched) + QStringLiteral("sim: ") + QLatin1String(command)),
                      0)
                << untouched << command;
    }
    EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), 1) << log.toStdString();
    EXPECT_EQ(sim.countInLog(QStringLiteral("[2] sim: stored QUILLPRM.TXT")), 1);
    EXPECT_EQ(sim.countInLog(QStringLiteral("[2] sim: <- <1B>!Z")), 1);

    const QJsonObject report = readReport(path("r.json"));
    for (const char* name : {"a", "b", "c"}) {
        const QJsonObject entry = targetOf(report, QLatin1String(name));
        const bool sent = QLatin1String(name) == QLatin1String("b");
        EXPECT_EQ(entry.value(kResult).toString(), QStringLiteral("ok")) << name;
        EXPECT_EQ(entry.value(QStringLiteral("changed")).toBool(), sent) << name;
        EXPECT_EQ(entry.value(QStringLiteral("drift")).toBool(), sent) << name;
        EXPECT_EQ(entry.value(QStringLiteral("verify")).toObject(),
                  QJsonObject({{QStringLiteral("system"), QStringLiteral("same")}, {QStringLiteral("initial"), QStringLiteral("same")}}))
            << name;
        EXPECT_TRUE(err.contains(QLatin1String(name) + (sent ? QStringLiteral(": ok (") : QStringLiteral(": unchanged (")))) << err.toStdString();
    }
    // What b held before: its system parameters only.
    const QJsonArray drift = targetOf(report, "b").value(QStringLiteral("drift_differences")).toArray();
    ASSERT_FALSE(drift.isEmpty());
    for (const QJsonValue& difference : drift)
        EXPECT_EQ(difference.toObject().value(QStringLiteral("file")).toString(), QStringLiteral("system"));

    const Metrics metrics(readFile(path("m.prom")));
    EXPECT_TRUE(metrics.problems.isEmpty()) << metrics.problems.join('\n').toStdString();
    EXPECT_EQ(metrics.samples.value("vormex_printer_last_result" + labels("a", sim.devices()[0], "ORN Q-KA5", "result=\"unchanged\"")), "1");
    EXPECT_EQ(metrics.samples.value("vormex_printer_last_result" + labels("a", sim.devices()[0], "ORN Q-KA5", "result=\"ok\"")), "0");
    EXPECT_EQ(metrics.samples.value("vormex_printer_last_result" + labels("b", sim.devices()[1], "Q-KA4S", "result=\"ok\"")), "1");
}

// A job of the VORMEX switch alone has nothing to compare and is always sent.
TEST_F(FleetSync, IfDifferentSendsAJobOfTheSwitchAlone)
{
    Simulator sim(holdingTheJob("1"));
    const QString manifest = writeManifest({{"job", QJsonObject{{"vormex", "on"}}}, {"targets", QJsonArray{target("a", sim.device())}}});
    const ProcessResult result = ctl({"apply", manifest, "--if-different", "--report", path("r.json")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(sim.countInLog(QStringLiteral("<- <1B>!Z")), 1);
    EXPECT_TRUE(targetOf(readReport(path("r.json")), "a").value(QStringLiteral("changed")).toBool());
}

TEST_F(FleetSync, PlanExitStatusTellsDriftFromFailure)
{
    Simulator sim(holdingTheJob("3"));
    ASSERT_EQ(sim.devices().size(), 3);
    const QJsonObject inSync = target("a", sim.devices()[0]);
    const QJsonObject drifted = target("b", sim.devices()[1], "Q-KA4S");
    const QJsonObject unread = target("gone", QStringLiteral("LAN:127.0.0.1:1"));
    struct Case {
        const char* name;
        QJsonArray targets;
        int exitCode;
    };
    const QList<Case> cases = {
        {"every printer holds the job", {inSync, target("c", sim.devices()[2])}, 0},
        {"one printer differs", {inSync, drifted}, 3},
        {"one differs, one cannot be read", {drifted, unread}, 1},
    };
    for (const Case& c : cases) {
        const QString manifest = writeManifest({{"printer", "ORN Q-KA5"}, {"job", job(true)}, {"targets", c.targets}});
        const ProcessResult result = ctl({"apply", manifest, "--plan", "--if-different", "--report", path("r.json")});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.err.toStdString();
        const QJsonObject report = readReport(path("r.json"));
        for (const QJsonValue& value : c.targets) {
            const QString name = value.toObject().value(QStringLiteral("name")).toString();
            const QJsonObject entry = targetOf(report, name);
            const bool differs = name == QLatin1String("b");
            EXPECT_EQ(entry.value(QStringLiteral("drift")).toBool(), differs) << c.name << name.toStdString();
            EXPECT_EQ(entry.value(QStringLiteral("would_change")).toBool(), differs) << c.name << name.toStdString();
            EXPECT_FALSE(entry.value(QStringLiteral("changed")).toBool()) << c.name << name.toStdString();
        }
    }
    EXPECT_EQ(sim.countInLog(QStringLiteral("LDB")), 0);
    EXPECT_EQ(sim.countInLog(QStringLiteral("stored")), 0);
}

TEST_F(FleetSync, PlanMetricsSayWhatEachPrinterHolds)
{
    Simulator sim(holdingTheJob("2"));
    ASSERT_EQ(sim.devices().size(), 2);
    const QString gone = QStringLiteral("LAN:127.0.0.1:1");
    const QString manifest = writeManifest(
        {{"printer", "ORN Q-KA5"},
         {"job", QJsonObject{{"system-params", "system.txt"}, {"initial-table", "initial.txt"}}},
         {"targets", QJsonArray{target("a", sim.devices()[0]), target("b", sim.devices()[1], "Q-KA4S"), target("gone", gone)}}});
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    const ProcessResult result = ctl({"apply", manifest, "--plan", "--metrics", path("m.prom")});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();

    const Metrics metrics(readFile(path("m.prom")));
    EXPECT_TRUE(metrics.problems.isEmpty()) << metrics.problems.join('\n').toStdString();
    const QString a = labels("a", sim.devices()[0], "ORN Q-KA5");
    const QString b = labels("b", sim.devices()[1], "Q-KA4S");
    EXPECT_EQ(metrics.of("vormex_printer_up", "name=\"a\""), QStringList{a + " 1"});
    EXPECT_EQ(metrics.of("vormex_printer_up", "name=\"b\""), QStringList{b + " 1"});
    EXPECT_EQ(metrics.of("vormex_printer_up", "name=\"gone\""), QStringList{labels("gone", gone, "ORN Q-KA5") + " 0"});
    const auto withLabel = [](QString set, const QString& extra) { return set.chopped(1) + QLatin1Char(',') + extra + QLatin1Char('}'); };
    EXPECT_EQ(metrics.of("vormex_printer_in_sync", "name=\"a\""),
              (QStringList{withLabel(a, "file=\"initial\"") + " 1", withLabel(a, "file=\"system\"") + " 1"}));
    EXPECT_EQ(metrics.of("vormex_printer_in_sync", "name=\"b\""),
              (QStringList{withLabel(b, "file=\"initial\"") + " 1", withLabel(b, "file=\"system\"") + " 0"}));
    EXPECT_TRUE(metrics.of("vormex_printer_in_sync", "name=\"gone\"").isEmpty());
    EXPECT_EQ(metrics.of("vormex_printer_last_result", "name=\"a\"").filter(QRegularExpression(" 1$")),
              QStringList{withLabel(a, "result=\"ok\"") + " 1"});
    EXPECT_EQ(metrics.of("vormex_printer_last_result", "name=\"gone\"").filter(QRegularExpression(" 1$")),
              QStringList{withLabel(labels("gone", gone, "ORN Q-KA5"), "result=\"failed\"") + " 1"});
    EXPECT_EQ(metrics.of("vormex_printer_last_result", "name=\"gone\"").size(), 4);
    const double duration = metrics.samples.value("vormex_run_duration_seconds{manifest=\"site.json\"}").toDouble();
    const double timestamp = metrics.samples.value("vormex_run_timestamp_seconds{manifest=\"site.json\"}").toDouble();
    EXPECT_GT(duration, 0.0);
    EXPECT_GE(timestamp, static_cast<double>(before));
    EXPECT_LE(timestamp, static_cast<double>(QDateTime::currentSecsSinceEpoch() + 1));
}

// Label values keep their backslashes, quotes and line feeds escaped; a family without samples
// (no file compared in a backup) is left out whole.
TEST(FleetMetricsText, EscapesLabelValuesAndLeavesOutEmptyFamilies)
{
    TargetReport report;
    report.name = QStringLiteral("a");
    report.device = QStringLiteral("LAN:127.0.0.1:9100");
    report.printer = QStringLiteral("ORN \"Q\\KA\"\nX");
    report.result = TargetResult::Ok;
    report.reached = true;
    report.system = QStringLiteral("saved");
    report.initial = QStringLiteral("no file");
    FleetMetricsRun run;
    run.action = FleetAction::Backup;
    run.manifest = QStringLiteral("site.csv");
    run.reports = {report};
    run.seconds = 1.5;
    run.finished = QDateTime::fromSecsSinceEpoch(1700000000);
    const QString text = QString::fromUtf8(FleetMetricsText(run));
    EXPECT_TRUE(text.contains(QStringLiteral(
        "vormex_printer_up{name=\"a\",device=\"LAN:127.0.0.1:9100\",printer=\"ORN \\\"Q\\\\KA\\\"\\nX\"} 1\n")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("in_sync"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nvormex_run_duration_seconds{manifest=\"site.csv\"} 1.500\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nvormex_run_timestamp_seconds{manifest=\"site.csv\"} 1700000000.000\n"))) << text.toStdString();
}

TEST_F(FleetSync, ABackupSaysWhetherItsFilesChanged)
{
    const QString dump = path(QStringLiteral("dump"));
    Simulator sim(holdingTheJob("1") + QStringList{"--dump-dir", dump});
    writeFile(path("one.csv"), "name,device\r\na," + sim.device().toUtf8() + "\r\n");
    const auto changed = [&] {
        const ProcessResult result = ctl({"backup", path("one.csv"), "-o", path("backup"), "--report", path("r.json")});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return targetOf(readReport(path("r.json")), "a").value(QStringLiteral("changed")).toBool();
    };
    EXPECT_TRUE(changed());
    EXPECT_FALSE(changed());
    QByteArray other = systemText();
    other.replace(0, 5, "01000");
    writeFile(path("other.txt"), other);
    const QString manifest = writeManifest({{"job", QJsonObject{{"system-params", "other.txt"}}}, {"targets", QJsonArray{target("a", sim.device())}}});
    ASSERT_EQ(ctl({"apply", manifest}).exitCode, 0);
    EXPECT_TRUE(changed());
}

// "-" reads the manifest from standard input; its file names are taken from the current folder.
TEST_F(FleetSync, AManifestFromStandardInputTakesItsFilesFromTheCurrentFolder)
{
    Simulator sim(holdingTheJob("1"));
    const QByteArray manifest =
        QJsonDocument(QJsonObject{{"job", job(false)}, {"targets", QJsonArray{target("a", sim.device())}}}).toJson();
    struct Case {
        QString folder;
        int exitCode;
        QString err;
    };
    const QList<Case> cases = {
        {path(QString()), 0, QString()},
        {QStringLiteral("/"), 2, QStringLiteral("standard input: job.initial-table: /initial.txt: ")},
    };
    for (const Case& c : cases) {
        QProcess tool;
        tool.setWorkingDirectory(c.folder);
        tool.start(programPath(QStringLiteral("vormexctl")), ctlArguments({"apply", "-", "--plan"}));
        ASSERT_TRUE(tool.waitForStarted(5000));
        tool.write(manifest);
        tool.closeWriteChannel();
        ASSERT_TRUE(tool.waitForFinished(60000));
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        EXPECT_EQ(tool.exitCode(), c.exitCode) << c.folder.toStdString() << ": " << err.toStdString();
        EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
    }
}

}  // namespace
}  // namespace vormex::test
