// The metrics files of apply, a plan and a backup are what Prometheus's own checker accepts
// without a remark (names, HELP and TYPE lines, labels, values).
#include "ExternalTool.h"

#include "link/Simulator.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex::test {
namespace {

TEST(PrometheusMetrics, EveryRunsMetricsPassPromtool)
{
    const QString promtool = requireProgram(QStringLiteral("promtool"), QStringLiteral("prometheus"));
    ASSERT_FALSE(promtool.isEmpty());
    QTemporaryDir folder;
    const auto path = [&folder](const QString& name) { return folder.filePath(name); };
    for (const char* kind : {"system", "initial"}) {
        const ProcessResult exported =
            runProgram(QStringLiteral("vormexctl"), {"--definitions", shippedDefinitionFile(), "export", "--kind", QLatin1String(kind),
                                                     "--format", "txt", "-o", path(QLatin1String(kind) + QStringLiteral(".txt"))});
        ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    }
    // One printer that holds the job, one that holds nothing, one that does not answer.
    Simulator holding({"--file", QStringLiteral("QUILLPRM.TXT=") + path("system.txt"), "--file", QStringLiteral("ZDEFAULT.TXT=") + path("initial.txt")});
    Simulator empty({});
    const QJsonArray targets{QJsonObject{{"name", "holding"}, {"device", holding.device()}}, QJsonObject{{"name", "empty"}, {"device", empty.device()}},
                             QJsonObject{{"name", "gone"}, {"device", "LAN:127.0.0.1:1"}}};
    const QJsonObject manifest{{"printer", "ORN Q-KA5"},
                               {"job", QJsonObject{{"system-params", "system.txt"}, {"initial-table", "initial.txt"}}},
                               {"targets", targets}};
    writeFile(path("site.json"), QJsonDocument(manifest).toJson());
    const QList<QStringList> runs = {
        {"apply", path("site.json"), "--plan"},
        {"apply", path("site.json"), "--if-different"},
        {"backup", path("site.json"), "-o", path("backup")},
    };
    for (const QStringList& run : runs) {
        const QString metrics = path(QStringLiteral("vormex-site.prom"));
        const ProcessResult result =
            runProgram(QStringLiteral("vormexctl"), QStringList{"--definitions", shippedDefinitionFile()} + run + QStringList{"--metrics", metrics}, 120000);
        EXPECT_EQ(result.exitCode, 1) << run.join(' ').toStdString() << ": " << result.err.toStdString();  // "gone" fails
        const QByteArray text = readFile(metrics);
        ASSERT_TRUE(text.contains("vormex_printer_up{")) << run.join(' ').toStdString();
        const ToolRun checked = runTool(promtool, {"check", "metrics"}, QProcessEnvironment::systemEnvironment(), {}, text);
        EXPECT_EQ(checked.exitCode, 0) << run.join(' ').toStdString() << ": " << checked.describe().toStdString() << text.toStdString();
        EXPECT_TRUE(checked.out.isEmpty() && checked.err.isEmpty()) << checked.describe().toStdString();
    }
}

}  // namespace
}  // namespace vormex::test
