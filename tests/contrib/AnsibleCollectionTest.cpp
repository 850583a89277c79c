// The Ansible collection in contrib/ansible driven by ansible-playbook, as an administrator runs
// it: the examples' site and drift playbooks against ten simulated printers in two sites (one of
// them silent), a backup and a scan. Everything Ansible reads or writes stays in the test's
// folder; the printers are on loopback and every host runs on the local connection.
#include "ExternalTool.h"

#include "link/Simulator.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex::test {
namespace {

constexpr int kPrinters = 10;
const QString kSilent = QStringLiteral("p10");  // the printer that never answers

QString hostName(int printer) { return QStringLiteral("p%1").arg(printer, 2, 10, QLatin1Char('0')); }

// What one ansible-playbook run left: its output and each host's last task result, as the
// callback results_file keeps them ({"task", "status", "result"}).
struct PlaybookRun {
    ToolRun tool;
    QMap<QString, QJsonObject> hosts;

    QJsonObject result(const QString& host) const { return hosts.value(host).value("result").toObject(); }
    QStringList changedHosts() const
    {
        return hostsWhere([](const QJsonObject& r) { return r.value("result").toObject().value("changed").toBool(); });
    }
    QStringList failedHosts() const { return hostsWhere([](const QJsonObject& r) { return r.value("status") == "failed"; }); }
    template <typename Test>
    QStringList hostsWhere(Test test) const
    {
        QStringList found;
        for (auto it = hosts.constBegin(); it != hosts.constEnd(); ++it)
            if (test(*it))
                found << it.key();
        return found;
    }
    std::string describe() const { return tool.describe().toStdString(); }
};

class AnsibleCollection : public ::testing::Test {
protected:
    void SetUp() override
    {
        playbook_ = requireProgram(QStringLiteral("ansible-playbook"), QStringLiteral("ansible-core"));
        ASSERT_FALSE(playbook_.isEmpty());
        // The collection as ANSIBLE_COLLECTIONS_PATH finds it: ansible_collections/NAMESPACE/NAME.
        ASSERT_TRUE(QDir().mkpath(path("collections/ansible_collections/kaldera_orn")));
        ASSERT_TRUE(QFile::link(sourcePath("contrib/ansible"), path("collections/ansible_collections/kaldera_orn/vormex")));
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    // Ansible's settings, all pointing into the test's folder; the examples' ansible.cfg (forks).
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : environment.keys())
            if (name.startsWith(QLatin1String("ANSIBLE_")) || name.startsWith(QLatin1String("PYTHON")))
                environment.remove(name);
        const QList<std::pair<const char*, QString>> settings = {
            {"PATH", QStringLiteral(VORMEX_BIN_DIR) + QStringLiteral(":/usr/bin:/bin")},
            {"LC_ALL", QStringLiteral("C.UTF-8")},
            {"ANSIBLE_CONFIG", sourcePath("contrib/ansible/examples/ansible.cfg")},
            {"ANSIBLE_HOME", path("ansible-home")},
            {"ANSIBLE_LOCAL_TEMP", path("ansible-tmp")},
            {"ANSIBLE_REMOTE_TEMP", path("ansible-tmp")},
            {"ANSIBLE_PERSISTENT_CONTROL_PATH_DIR", path("ansible-tmp/cp")},
            {"ANSIBLE_COLLECTIONS_PATH", path("collections")},
            {"ANSIBLE_COLLECTIONS_SCAN_SYS_PATH", QStringLiteral("false")},
            {"ANSIBLE_INVENTORY_ENABLED", QStringLiteral("yaml")},
            {"ANSIBLE_CALLBACK_PLUGINS", sourcePath("tests/contrib/callback_plugins")},
            {"ANSIBLE_CALLBACKS_ENABLED", QStringLiteral("results_file")},
            {"VORMEX_TEST_RESULTS", path("results.json")},
            {"ANSIBLE_RETRY_FILES_ENABLED", QStringLiteral("false")},
            {"ANSIBLE_NOCOLOR", QStringLiteral("1")},
        };
        for (const auto& [name, value] : settings)
            environment.insert(QLatin1String(name), value);
        return environment;
    }

    // Two sites of five printers each; every printer gets the job of the exported defaults.
    void writeInventory(const QStringList& devices) const
    {
        QJsonObject sites;
        for (int site = 0; site < 2; ++site) {
            QJsonObject hosts;
            for (int i = site * 5; i < site * 5 + 5; ++i)
                hosts.insert(hostName(i + 1), QJsonObject{{"vormex_device", devices.value(i)}});
            sites.insert(site == 0 ? "east" : "west", QJsonObject{{"hosts", hosts}});
        }
        const QJsonObject variables{
            {"ansible_connection", "local"},
            {"ansible_python_interpreter", "{{ ansible_playbook_python }}"},
            {"vormex_model", "ORN Q-KA5"},
            {"vormex_job", QJsonObject{{"system-params", path("files/system.txt")}, {"initial-table", path("files/initial.txt")}, {"vormex", "on"}}},
        };
        const QJsonObject inventory{
            {"all", QJsonObject{{"vars", variables}, {"children", QJsonObject{{"printers", QJsonObject{{"children", sites}}}}}}}};
        writeFile(path("inventory.yml"), QJsonDocument(inventory).toJson());
    }

    void exportJobFiles() const
    {
        ASSERT_TRUE(QDir().mkpath(path("files")));
        for (const char* kind : {"system", "initial"}) {
            const ProcessResult exported = runProgram(
                QStringLiteral("vormexctl"), {"--definitions", shippedDefinitionFile(), "export", "--kind", QLatin1String(kind), "--format",
                                              "txt", "-o", path(QStringLiteral("files/%1.txt").arg(QLatin1String(kind)))});
            ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        }
    }

    PlaybookRun play(const QString& playbook, const QStringList& options = {}) const
    {
        QFile::remove(path("results.json"));
        PlaybookRun run;
        run.tool = runTool(playbook_, QStringList{"-i", path("inventory.yml"), playbook} + options, environment(), dir_.path());
        const QJsonObject hosts = QJsonDocument::fromJson(readFile(path("results.json"))).object();
        for (auto it = hosts.constBegin(); it != hosts.constEnd(); ++it)
            run.hosts.insert(it.key(), it.value().toArray().last().toObject());
        return run;
    }

    static QStringList printersBut(const QString& left)
    {
        QStringList hosts;
        for (int i = 1; i <= kPrinters; ++i)
            if (hostName(i) != left)
                hosts << hostName(i);
        return hosts;
    }

    QTemporaryDir dir_;
    QString playbook_;
};

TEST_F(AnsibleCollection, TheModulesDocumentationRenders)
{
    const QString doc = requireProgram(QStringLiteral("ansible-doc"), QStringLiteral("ansible-core"));
    ASSERT_FALSE(doc.isEmpty());
    const QStringList modules{"kaldera_orn.vormex.vormex_apply", "kaldera_orn.vormex.vormex_backup", "kaldera_orn.vormex.vormex_scan"};
    const ToolRun json = runTool(doc, QStringList{"--json"} + modules, environment(), dir_.path());
    ASSERT_EQ(json.exitCode, 0) << json.describe().toStdString();
    const QJsonObject docs = QJsonDocument::fromJson(json.out).object();
    for (const QString& module : modules) {
        const QJsonObject entry = docs.value(module).toObject();
        EXPECT_FALSE(entry.value("doc").toObject().value("options").toObject().isEmpty()) << module.toStdString();
        EXPECT_FALSE(entry.value("examples").toString().trimmed().isEmpty()) << module.toStdString();
        EXPECT_FALSE(entry.value("return").toObject().isEmpty()) << module.toStdString();
        const ToolRun text = runTool(doc, {module}, environment(), dir_.path());
        EXPECT_EQ(text.exitCode, 0) << text.describe().toStdString();
        EXPECT_FALSE(text.err.contains("WARNING") || text.err.contains("ERROR")) << text.describe().toStdString();
    }
}

// Check mode sends nothing and tells what would change; a real run sends only what differs, and
// the second sends nothing; the silent printer fails its own host every time.
TEST_F(AnsibleCollection, SitePlaybookChangesOnlyWhatDiffersAndTheDriftCheckShowsIt)
{
    exportJobFiles();
    Simulator sim({"--count", QString::number(kPrinters), "--fault", QStringLiteral("%1:silence").arg(kPrinters)});
    ASSERT_EQ(sim.devices().size(), kPrinters);
    writeInventory(sim.devices());
    const QString site = sourcePath("contrib/ansible/examples/site.yml");
    const QString drift = sourcePath("contrib/ansible/examples/drift.yml");
    const auto failsAlone = [](const PlaybookRun& run, const char* what) {
        EXPECT_EQ(run.tool.exitCode, 2) << what << run.describe();  // a host failed
        EXPECT_EQ(run.failedHosts(), QStringList{kSilent}) << what << run.describe();
        EXPECT_TRUE(run.result(kSilent).value("msg").toString().contains("no answer from")) << what << run.describe();
        EXPECT_FALSE(run.tool.err.contains("WARNING")) << what << run.describe();
    };

    const PlaybookRun check = play(site, {"--check", "--diff"});
    failsAlone(check, "check: ");
    EXPECT_EQ(check.changedHosts(), printersBut(kSilent)) << check.describe();
    EXPECT_EQ(sim.countInLog("LDB"), 0);
    EXPECT_EQ(sim.countInLog("stored"), 0);
    const QJsonArray diff = check.result("p03").value("diff").toArray();
    ASSERT_EQ(diff.size(), 1) << check.describe();
    EXPECT_EQ(diff[0].toObject().value("before").toString(), "system: QUILLPRM.TXT: NO FILE\ninitial: ZDEFAULT.TXT: NO FILE\n");
    EXPECT_TRUE(check.tool.out.contains("-system: QUILLPRM.TXT: NO FILE")) << check.describe();

    const PlaybookRun first = play(site);
    failsAlone(first, "first run: ");
    EXPECT_EQ(first.changedHosts(), printersBut(kSilent)) << first.describe();
    EXPECT_EQ(sim.countInLog("stored"), 2 * (kPrinters - 1)) << sim.log().toStdString();

    const PlaybookRun second = play(site);
    failsAlone(second, "second run: ");
    EXPECT_TRUE(second.changedHosts().isEmpty()) << second.describe();
    EXPECT_EQ(sim.countInLog("stored"), 2 * (kPrinters - 1));

    const PlaybookRun inLine = play(drift, {"--check", "--diff"});
    failsAlone(inLine, "drift check: ");
    EXPECT_TRUE(inLine.changedHosts().isEmpty()) << inLine.describe();
    EXPECT_EQ(sim.countInLog("stored"), 2 * (kPrinters - 1));
    // Nothing of Ansible's went to the home folder.
    EXPECT_FALSE(QDir(QDir::home().filePath(".ansible")).exists());
}

TEST_F(AnsibleCollection, BackupIsChangedOnlyWhenAPrintersFilesChangedAndScanFindsThePrinters)
{
    exportJobFiles();
    Simulator sim({"--count", "3", "--file", QStringLiteral("QUILLPRM.TXT=") + path("files/system.txt")});
    ASSERT_EQ(sim.devices().size(), 3);
    writeInventory(sim.devices());
    writeFile(path("backup.yml"), R"(- hosts: p01:p02:p03
  gather_facts: false
  tasks:
    - kaldera_orn.vormex.vormex_backup:
        name: "{{ inventory_hostname }}"
        device: "{{ vormex_device }}"
        dest: "{{ playbook_dir }}/backups"
)");
    const PlaybookRun first = play(path("backup.yml"));
    EXPECT_EQ(first.tool.exitCode, 0) << first.describe();
    EXPECT_EQ(first.changedHosts(), (QStringList{"p01", "p02", "p03"})) << first.describe();
    EXPECT_EQ(readFile(path("backups/p02/QUILLPRM.TXT")), readFile(path("files/system.txt")));
    const PlaybookRun second = play(path("backup.yml"));
    EXPECT_TRUE(second.changedHosts().isEmpty()) << second.describe();

    QStringList ports;
    for (const QString& device : sim.devices())
        ports << device.section(':', 2);
    writeFile(path("scan.yml"), QStringLiteral(R"(- hosts: localhost
  gather_facts: false
  tasks:
    - kaldera_orn.vormex.vormex_scan:
        targets: [127.0.0.1]
        ports: [%1]
)").arg(ports.join(", "))
                                    .toUtf8());
    const PlaybookRun scan = play(path("scan.yml"));
    EXPECT_EQ(scan.tool.exitCode, 0) << scan.describe();
    QStringList found;
    for (const QJsonValue& printer : scan.result("localhost").value("printers").toArray())
        found << printer.toObject().value("device").toString();
    QStringList devices = sim.devices();
    found.sort();
    devices.sort();
    EXPECT_EQ(found, devices) << scan.describe();
    EXPECT_FALSE(scan.result("localhost").value("changed").toBool());
}

}  // namespace
}  // namespace vormex::test
