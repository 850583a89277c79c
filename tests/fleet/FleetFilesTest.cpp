// Manifests refused before any printer is reached; diff; backup and its restore; --verify of
// download and send-file.
#include "FleetFixture.h"

#include "base/StringTable.h"
#include "comm/DeviceText.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

namespace vormex::test {
namespace {

class FleetFiles : public FleetFixture {};

TEST_F(FleetFiles, AWrongManifestIsRefusedBeforeAnyPrinterIsReached)
{
    Simulator sim({});
    const QString device = sim.device();
    const QJsonObject good{{QStringLiteral("name"), QStringLiteral("a")}, {QStringLiteral("device"), device}};
    const QJsonObject job{{QStringLiteral("system-params"), QStringLiteral("system.txt")}};
    writeFile(path("dup.csv"), "name,device\r\na,\"" + device.toUtf8() + "\"\r\n");
    writeFile(path("short.csv"), "name,device,printer\r\nb,\"" + device.toUtf8() + "\"\r\n");
    writeFile(path("port0.csv"), "name,device\r\nb,LAN:127.0.0.1:0\r\n");
    writeFile(path("dot.csv"), "name,device\r\n.,LAN:127.0.0.1:9\r\n");
    writeFile(path("latin1.csv"), "name,device\r\nb,LAN:127.0.0.1:9\r\nd\xE9p\xF4t,LAN:127.0.0.1:8\r\n");
    writeFile(path("quote.csv"), "name,device\r\nb,LAN:127.0.0.1:\"9\"\r\n");
    writeFile(path("unclosed.csv"), "name,device\r\nb,\"LAN:127.0.0.1:9\r\n");
    // The simulator's port written with leading zeros: the same printer.
    const QString port = device.section(QLatin1Char(':'), 2);
    const QString zeros = QStringLiteral("LAN:127.000.000.001:0") + port;
    struct Case {
        const char* name;
        QByteArray manifest;  // the file's bytes; empty: `object` as JSON
        QJsonObject object;
        QString message;      // part of stderr
        QStringList more;     // more arguments
    };
    const auto with = [&](std::initializer_list<QPair<QString, QJsonValue>> pairs) {
        QJsonObject object{{QStringLiteral("job"), job}, {QStringLiteral("targets"), QJsonArray{good}}};
        for (const auto& [key, value] : pairs)
            object.insert(key, value);
        return object;
    };
    QList<Case> cases = {
        {"bad JSON", "{\"targets\": [\n  {\"name\": \"a\",}\n]}", {}, QStringLiteral("site.json:2:"), {}},
        {"unknown key", {}, with({{"targts", QJsonArray{}}}), QStringLiteral("site.json: targts: unknown key"), {}},
        {"unknown key of a target", {}, with({{"targets", QJsonArray{QJsonObject{{"name", "a"}, {"devcie", device}}}}}),
         QStringLiteral("site.json: targets[0].devcie: unknown key"), {}},
        {"unknown job key", {}, with({{"job", QJsonObject{{"basic", "x.bas"}}}}), QStringLiteral("site.json: job.basic: unknown key"), {}},
        {"wrong type", {}, with({{"verify", "yes"}}), QStringLiteral("site.json: verify: must be true or false, not a string"), {}},
        {"wrong type of a job value", {}, with({{"job", QJsonObject{{"allocate", 8}}}}), QStringLiteral("site.json: job.allocate: must be a string"), {}},
        {"missing file", {}, with({{"job", QJsonObject{{"initial-table", "none.txt"}}}}),
         QStringLiteral("site.json: job.initial-table: %1: ").arg(path("none.txt")), {}},
        {"missing device", {}, with({{"targets", QJsonArray{QJsonObject{{"name", "a"}}}}}), QStringLiteral("site.json: targets[0].device: missing"), {}},
        {"duplicate name", {}, with({{"targets", QJsonArray{good, good}}}), QStringLiteral("site.json: targets[1].name: \"a\" is given twice"), {}},
        {"one device for two targets", {}, with({{"targets", QJsonArray{good, QJsonObject{{"name", "b"}, {"device", device}}}}}),
         QStringLiteral("site.json: targets[1].device: \"%1\" is the printer of ").arg(device), {}},
        {"duplicate name in the targets file", {}, with({{"targets-file", "dup.csv"}}),
         QStringLiteral("dup.csv: row 2: name: \"a\" is given twice"), {}},
        {"a row short of the header", {}, with({{"targets-file", "short.csv"}}), QStringLiteral("short.csv: row 2: 2 fields where the header has 3"), {}},
        {"a name that cannot be a folder", {}, with({{"targets", QJsonArray{QJsonObject{{"name", "../x"}, {"device", device}}}}}),
         QStringLiteral("site.json: targets[0].name: \"../x\""), {}},
        {"unknown printer model", {}, with({{"targets", QJsonArray{QJsonObject{{"name", "a"}, {"device", device}, {"printer", "Q-XX"}}}}}),
         QStringLiteral("site.json: targets[0].printer: no printer named \"Q-XX\""), {}},
        {"a value out of the model's range", {}, with({{"job", QJsonObject{{"allocate", "17,4,14"}}}}),
         QStringLiteral("site.json: job.allocate: TrueType area: ") + StringTable::builtIn().text(61714).arg(0).arg(16), {}},
        {"a file the job cannot take", {}, with({{"job", QJsonObject{{"system-params", "initial.txt"}}}}), QStringLiteral("site.json: job.system-params: %1: ").arg(path("initial.txt")), {}},
        {"no targets", {}, QJsonObject{{"job", job}}, QStringLiteral("site.json: no targets"), {}},
        {"jobs out of range", {}, with({}), QStringLiteral("--jobs"), {"--jobs", "0"}},
        {"one printer under two spellings", {}, with({{"targets", QJsonArray{good, QJsonObject{{"name", "b"}, {"device", zeros}}}}}),
         QStringLiteral("site.json: targets[1].device: \"%1\" is the printer of %2: targets[0] as well").arg(zeros, path("site.json")), {}},
        {"port 0 in the targets file", {}, with({{"targets-file", "port0.csv"}}),
         QStringLiteral("port0.csv: row 2: device: port 0 is out of range (1 to 65535)"), {}},
        {"a name of two dots", {}, with({{"targets", QJsonArray{QJsonObject{{"name", ".."}, {"device", device}}}}}),
         QStringLiteral("site.json: targets[0].name: \"..\" cannot name a folder"), {}},
        {"a row named by a dot", {}, with({{"targets-file", "dot.csv"}}), QStringLiteral("dot.csv: row 2: name: \".\" cannot name a folder"), {}},
        {"a name too long", {}, with({{"targets", QJsonArray{QJsonObject{{"name", QString(65, QLatin1Char('n'))}, {"device", device}}}}}),
         QStringLiteral("site.json: targets[0].name: \"%1\" is longer than 64 characters").arg(QString(65, QLatin1Char('n'))), {}},
        {"a name with a blank", {}, with({{"targets", QJsonArray{QJsonObject{{"name", "dock 1"}, {"device", device}}}}}),
         QStringLiteral("site.json: targets[0].name: \"dock 1\" holds \" \""), {}},
        {"the template entry as a target's model", {}, with({{"targets", QJsonArray{QJsonObject{{"name", "a"}, {"device", device}, {"printer", "standard"}}}}}),
         QStringLiteral("site.json: targets[0].printer: no printer named \"standard\""), {}},
        {"the template entry as the manifest's model", {}, with({{"printer", "standard"}}), QStringLiteral("site.json: printer: no printer named \"standard\""), {}},
        {"a key of a target given twice", "{\"targets\": [{\"name\": \"a\", \"device\": \"" + device.toUtf8() + "\", \"name\": \"b\"}]}", {},
         QStringLiteral("site.json: targets[0].name: given twice"), {}},
        {"a job key given twice, once escaped", "{\"job\": {\"allocate\": \"8,4,14\", \"\\u0061llocate\": \"9,4,14\"}, \"targets\": []}", {},
         QStringLiteral("site.json: job.allocate: given twice"), {}},
        {"a targets file not in UTF-8", {}, with({{"targets-file", "latin1.csv"}}), QStringLiteral("latin1.csv: row 3, column 1: not UTF-8 text"), {}},
        {"a quote inside a field", {}, with({{"targets-file", "quote.csv"}}),
         QStringLiteral("quote.csv: row 2, column 2: a quote inside a field that does not begin with one"), {}},
        {"a quote never closed", {}, with({{"targets-file", "unclosed.csv"}}),
         QStringLiteral("unclosed.csv: row 2, column 2: a quoted field is not closed"), {}},
    };
    // Device texts that the port layer would misread: refused with the grammar, the target named.
    for (const char* text : {"LAN:300.1.1.1:9100", "LAN:127.0.0.1", "LAN:127.0.0.1:0", "LAN:127.0.0.1:65536", "COM3:9601,8,none,1",
                             "LPT10:", "FOO:bar", "lan:127.0.0.1:9100", "LAN:127.0.0.1:9100 "}) {
        const QString problem = *CheckDeviceText(QLatin1String(text));
        cases.append({text, {}, with({{"targets", QJsonArray{good, QJsonObject{{"name", "b"}, {"device", QLatin1String(text)}}}}}),
                      QStringLiteral("site.json: targets[1].device: %1\n%2").arg(problem, DeviceTextGrammar()), {}});
    }
    for (const Case& c : cases) {
        if (c.manifest.isEmpty())
            writeManifest(c.object);
        else
            writeFile(path("site.json"), c.manifest);
        const ProcessResult result = ctl(QStringList{"apply", path("site.json")} + c.more);
        EXPECT_EQ(result.exitCode, 2) << c.name << ": " << result.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.message)) << c.name << ": " << result.err.toStdString();
    }
    EXPECT_EQ(sim.countInLog(QStringLiteral("connection opened")), 0) << sim.log().toStdString();
}

TEST_F(FleetFiles, DiffExitsAsDiffDoes)
{
    QByteArray other = systemText();
    other.replace(0, 5, "01000");
    writeFile(path("other.txt"), other);
    Simulator sim({"--file", QStringLiteral("QUILLPRM.TXT=") + path("system.txt")});
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        QByteArray out;
        QString err;  // stderr: what failed, and why on the last line
    };
    const StringTable strings = StringTable::builtIn();
    const QList<Case> cases = {
        {"the same", {"system", path("system.txt"), "--device", sim.device()}, 0, "", {}},
        {"a different item", {"system", path("other.txt"), "--device", sim.device()}, 1, "LABEL LENGTH: printer 00600, file 01000\n", {}},
        {"no file in the printer", {"initial", path("initial.txt"), "--device", sim.device()}, 1,
         QStringLiteral("ZDEFAULT.TXT: printer NO FILE, file %1 bytes\n").arg(initialText().size()).toUtf8(), {}},
        {"a file that cannot be read", {"system", path("none.txt"), "--device", sim.device()}, 2, "",
         QStringLiteral("vormexctl: %1: ").arg(path("none.txt"))},
        {"a file of the other kind", {"system", path("initial.txt"), "--device", sim.device()}, 2, "",
         QStringLiteral("vormexctl: %1\n%2\n").arg(path("initial.txt"), strings.text(8050))},
        {"a printer that cannot be reached", {"system", path("system.txt"), "--device", "LAN:127.0.0.1:1"}, 2, "",
         QStringLiteral("vormexctl: connection refused by 127.0.0.1:1 (nothing listens there)\n%1\n").arg(strings.text(8023))},
    };
    for (const Case& c : cases) {
        const ProcessResult result = ctl(QStringList{"diff"} + c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.err.toStdString();
        EXPECT_EQ(result.out, c.out) << c.name;
        EXPECT_TRUE(QString::fromUtf8(result.err).startsWith(c.err)) << c.name << ": " << result.err.toStdString();
    }
}

TEST_F(FleetFiles, ABackupAppliedRestoresThePrinter)
{
    QByteArray original = systemText();
    original.replace(0, 5, "01000");
    writeFile(path("original.txt"), original);
    const QString dump = path(QStringLiteral("dump"));
    Simulator kept({"--dump-dir", dump, "--file", QStringLiteral("QUILLPRM.TXT=") + path("original.txt"), "--file",
                    QStringLiteral("ZDEFAULT.TXT=") + path("initial.txt")});
    Simulator empty({});
    writeFile(path("printers.csv"), "name,device\r\nkept," + kept.device().toUtf8() + "\r\nempty," + empty.device().toUtf8() + "\r\n");
    const QString backup = path(QStringLiteral("backup"));
    const ProcessResult saved = ctl({"backup", path("printers.csv"), "-o", backup, "--report", path("r.json")});
    EXPECT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_EQ(readFile(backup + "/kept/QUILLPRM.TXT"), original);
    EXPECT_EQ(readFile(backup + "/kept/ZDEFAULT.TXT"), initialText());
    EXPECT_TRUE(QDir(backup + "/empty").isEmpty());
    const QJsonObject report = readReport(path("r.json"));
    EXPECT_EQ(targetOf(report, "empty").value(QStringLiteral("verify")).toObject().value(QStringLiteral("system")).toString(),
              QStringLiteral("no file"));
    EXPECT_EQ(targetOf(report, "empty").value(QStringLiteral("result")).toString(), QStringLiteral("ok"));
    for (const char* name : {"kept", "empty"}) {  // a backup's steps are its two read-backs
        EXPECT_EQ(targetOf(report, name).value(QStringLiteral("steps_done")).toInt(), 2) << name;
        EXPECT_EQ(targetOf(report, name).value(QStringLiteral("steps_total")).toInt(), 2) << name;
    }

    // Something else is sent, then the backup brings the printer back.
    const QJsonArray targets{QJsonObject{{"name", "kept"}, {"device", kept.device()}}};
    const ProcessResult changed = ctl({"apply", writeManifest({{"job", QJsonObject{{"system-params", "system.txt"}}}, {"targets", targets}})});
    ASSERT_EQ(changed.exitCode, 0) << changed.err.toStdString();
    ASSERT_EQ(readFile(dump + "/QUILLPRM.TXT"), systemText());
    const ProcessResult restored = ctl({"apply", writeManifest({{"job", QJsonObject{{"system-params", "backup/kept/QUILLPRM.TXT"},
                                                                                      {"initial-table", "backup/kept/ZDEFAULT.TXT"}}},
                                                                 {"targets", targets}})});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(restored.err).contains(QStringLiteral("kept: verify system: same"))) << restored.err.toStdString();
    EXPECT_EQ(readFile(dump + "/QUILLPRM.TXT"), original);
    EXPECT_EQ(readFile(dump + "/ZDEFAULT.TXT"), initialText());
}

// A printer file that fails its check is not a backup: nothing is saved for it and the target
// fails, while the other file is read back as usual.
TEST_F(FleetFiles, ABackupSavesNoFileThatFailsItsCheck)
{
    QByteArray bad = systemText();
    bad.replace(0, 5, "006a0");
    writeFile(path("bad.txt"), bad);
    Simulator sim({"--file", QStringLiteral("QUILLPRM.TXT=") + path("bad.txt")});
    writeFile(path("one.csv"), "name,device\r\nbad," + sim.device().toUtf8() + "\r\n");
    const ProcessResult result = ctl({"backup", path("one.csv"), "-o", path("backup"), "--report", path("r.json")});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    const QJsonObject entry = targetOf(readReport(path("r.json")), "bad");
    EXPECT_EQ(entry.value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
    EXPECT_EQ(entry.value(QStringLiteral("verify")).toObject(),
              QJsonObject({{QStringLiteral("system"), QStringLiteral("unread")}, {QStringLiteral("initial"), QStringLiteral("no file")}}));
    EXPECT_EQ(entry.value(QStringLiteral("steps_done")).toInt(), 1);
    EXPECT_TRUE(entry.value(QStringLiteral("message")).toString().startsWith(QStringLiteral("QUILLPRM.TXT: "))) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("backup/bad/QUILLPRM.TXT")));
}

TEST_F(FleetFiles, VerifyOfDownloadAndSendFile)
{
    struct Case {
        const char* name;
        QStringList simArguments;
        QStringList arguments;  // the device is added
        int exitCode;
        QString message;        // part of stderr
    };
    const QList<Case> cases = {
        {"send-file kept as sent", {}, {"send-file", "system", path("system.txt"), "--no-vormex-on", "--verify"}, 0,
         QStringLiteral("verify system: same")},
        {"send-file kept changed", {"--fault", "alter"}, {"send-file", "system", path("system.txt"), "--no-vormex-on", "--verify"}, 1,
         QStringLiteral("vormexctl: verify failed: the printer's system parameters differ from what was sent: LABEL LENGTH")},
        {"download kept as sent", {}, {"download", "--initial-table", path("initial.txt"), "--verify"}, 0,
         QStringLiteral("verify initial: same")},
        {"download not kept", {"--fault", "forget"}, {"download", "--initial-table", path("initial.txt"), "--verify"}, 1,
         QStringLiteral("verify initial: ZDEFAULT.TXT: printer NO FILE")},
        {"without --verify nothing is read back", {"--fault", "alter"}, {"download", "--system-params", path("system.txt")}, 0, {}},
    };
    for (const Case& c : cases) {
        Simulator sim(c.simArguments);
        const ProcessResult result = ctl(c.arguments + QStringList{"--device", sim.device()});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.message)) << c.name << ": " << result.err.toStdString();
        if (c.message.isEmpty()) {
            EXPECT_EQ(sim.countInLog(QStringLiteral("send system parameter file")), 0) << c.name;
        }
    }
}

}  // namespace
}  // namespace vormex::test
