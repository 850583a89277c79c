// What vormexctl writes, on a disk that takes no more (a file-size limit, which holds for root as
// well) and on a standard output that takes nothing (/dev/full): the command fails naming the
// file and the system's reason, and the file that was there before stays whole.
#include "FleetFixture.h"

#include "base/SettingsStore.h"

#include <QDir>
#include <QJsonArray>

namespace vormex::test {
namespace {

class FailedWrites : public FleetFixture {
protected:
    void SetUp() override
    {
        FleetFixture::SetUp();
        writeFile(path(QStringLiteral("main.bas")), "10 PRINT \"A\"\r\n");
    }
    // vormexctl whose files may not grow beyond `limit` bytes, or whose standard output is `out`.
    static ProcessResult limited(const QStringList& arguments, qint64 limit, const QString& out = {})
    {
        RunOptions options;
        options.timeoutMs = 180000;
        options.fileSizeLimit = limit;
        options.standardOutputFile = out;
        return runProgram(QStringLiteral("vormexctl"), ctlArguments(arguments), options);
    }
};

TEST_F(FailedWrites, NothingIsReportedDoneAndNoGoodFileIsLost)
{
    Simulator sim({"--file", QStringLiteral("QUILLPRM.TXT=") + path("system.txt"), "--file", QStringLiteral("ZDEFAULT.TXT=") + path("initial.txt")});
    writeFile(path("printers.csv"), "name,device\r\nkept," + sim.device().toUtf8() + "\r\n");
    const QString manifest = writeManifest({{"job", QJsonObject{{"system-params", "system.txt"}}},
                                            {"targets", QJsonArray{QJsonObject{{"name", "kept"}, {"device", sim.device()}}}}});
    const QString backup = path(QStringLiteral("backup"));
    ASSERT_EQ(ctl({"backup", path("printers.csv"), "-o", backup}).exitCode, 0);
    // The printer's system parameters change before the second backup, which must not mix them
    // with the older backup's initial values.
    QByteArray changed = systemText();
    changed.replace(0, 5, "01000");
    writeFile(path("changed.txt"), changed);
    Simulator changedSim({"--file", QStringLiteral("QUILLPRM.TXT=") + path("changed.txt"), "--file",
                          QStringLiteral("ZDEFAULT.TXT=") + path("initial.txt")});
    writeFile(path("printers.csv"), "name,device\r\nkept," + changedSim.device().toUtf8() + "\r\n");
    const QString settings = SettingsStore().filePath();
    ASSERT_EQ(ctl({"config", "set", "wait-time", "1000"}).exitCode, 0);
    // A plan that finds drift (exit status 3) and cannot write its metrics has failed.
    const QString driftManifest = writeManifest({{"job", QJsonObject{{"system-params", "system.txt"}}},
                                                 {"targets", QJsonArray{QJsonObject{{"name", "drifted"}, {"device", changedSim.device()}}}}},
                                                "drift.json");

    const QString out = path(QStringLiteral("out"));
    const struct {
        const char* name;
        QStringList arguments;
        QString file;  // the file named in the message, which keeps what it held
        qint64 limit;  // the file-size limit: below the file's new size
    } cases[] = {
        {"export text", {"export", "--kind", "system", "--format", "txt", "-o", out}, out, 16},
        {"export XML", {"export", "--kind", "initial", "--format", "xml", "-o", out}, out, 16},
        {"get", {"get", "initial", "--device", sim.device(), "-o", out}, out, 16},
        {"encode", {"encode", path("main.bas"), "--program", "main", "-o", out}, out, 16},
        {"report", {"apply", manifest, "--plan", "--report", out}, out, 16},
        {"metrics", {"apply", manifest, "--plan", "--metrics", out}, out, 16},
        {"metrics of a drift", {"apply", driftManifest, "--plan", "--metrics", out}, out, 16},
        // QUILLPRM.TXT fits under the limit, ZDEFAULT.TXT does not: the older backup stays whole.
        {"backup over a good backup", {"backup", path("printers.csv"), "-o", backup}, backup + "/kept/ZDEFAULT.TXT", 1000},
        {"config set", {"config", "set", "wait-time", "1500"}, settings, 16},
    };
    const QByteArray keptSystem = readFile(backup + "/kept/QUILLPRM.TXT");
    for (const auto& c : cases) {
        if (c.file == out)
            writeFile(out, "previous");
        const QByteArray before = readFile(c.file);
        ASSERT_FALSE(before.isEmpty()) << c.name;
        const ProcessResult result = limited(c.arguments, c.limit);
        EXPECT_EQ(result.exitCode, 1) << c.name << ": " << result.err.toStdString();
        const QString err = QString::fromUtf8(result.err);
        EXPECT_TRUE(err.contains(c.file + QStringLiteral(": File too large")) || err.contains(c.file + QStringLiteral(": the settings")))
            << c.name << ": " << err.toStdString();
        EXPECT_EQ(readFile(c.file), before) << c.name;
    }
    EXPECT_EQ(readFile(backup + "/kept/QUILLPRM.TXT"), keptSystem);
    EXPECT_EQ(QDir(backup).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"kept"});
    EXPECT_TRUE(ctl({"config"}).out.contains("\nwait-time 1000\n"));

    // Standard output that takes nothing.
    const struct {
        const char* name;
        QStringList arguments;
    } toStandardOutput[] = {
        {"export", {"export", "--kind", "system", "--format", "txt", "-o", "-"}},
        {"get", {"get", "system", "--device", sim.device()}},
        {"encode", {"encode", path("main.bas"), "--program", "main", "-o", "-"}},
        {"report", {"apply", manifest, "--plan", "--report", "-"}},
        {"metrics", {"backup", path("printers.csv"), "-o", path("backup-2"), "--metrics", "-"}},
        {"printers", {"printers"}},
    };
    for (const auto& c : toStandardOutput) {
        const ProcessResult result = limited(c.arguments, -1, QStringLiteral("/dev/full"));
        EXPECT_EQ(result.exitCode, 1) << c.name << ": " << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("standard output: No space left on device")) << c.name << ": " << result.err.toStdString();
    }
}

// The report's and the metrics' folders are looked at before any printer is reached.
TEST_F(FailedWrites, AReportThatCannotBeWrittenIsAUsageError)
{
    Simulator sim({});
    const QString manifest = writeManifest({{"job", QJsonObject{{"system-params", "system.txt"}}},
                                            {"targets", QJsonArray{QJsonObject{{"name", "a"}, {"device", sim.device()}}}}});
    for (const char* option : {"--report", "--metrics"}) {
        for (const QString& file : {path("no/such/folder/r.json"), path(QString())}) {
            for (const QStringList& command : {QStringList{"apply", manifest}, QStringList{"backup", manifest, "-o", path("backup")}}) {
                const ProcessResult result = ctl(command + QStringList{QLatin1String(option), file});
                EXPECT_EQ(result.exitCode, 2) << option << " " << file.toStdString() << ": " << result.err.toStdString();
                EXPECT_TRUE(result.err.contains(option)) << result.err.toStdString();
            }
        }
    }
    EXPECT_EQ(sim.countInLog(QStringLiteral("connection opened")), 0);
}

}  // namespace
}  // namespace vormex::test
