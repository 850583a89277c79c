// A fleet against the printer simulator: `vormexctl apply` of the same BASIC-files job with
// verify to one printer and to fifty (`--count 50`), at VORMEX_TIME_SCALE=0.05. Reports
// wall(50)/wall(1) as `ratio` (goal at most 1.2), and the peak resident memory of apply for a
// 16 MB firmware image to 20 printers against the goal of 3 x the image + 2 MB per printer
// (`rss_over_goal`, goal below 1).
#include "BenchPrograms.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vormex::bench;

const char* const kPrinter = "ORN Q-KA5";
const char* const kScale = "0.05";

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

// The job's files: two BASIC programs, the printer's default parameter files, a test file.
void writeJobFiles(const QTemporaryDir& dir)
{
    writeFile(dir, QStringLiteral("main.bas"), "10 PRINT \"HELLO\"\r\n20 GOTO 10\r\n");
    writeFile(dir, QStringLiteral("test.txt"), "TEST\r\n");
    for (const char* kind : {"system", "initial"})
        QProcess::execute(binPath("vormexctl"), {QStringLiteral("--definitions"), definitionFile(), QStringLiteral("--printer"),
                                                 QLatin1String(kPrinter), QStringLiteral("export"), QStringLiteral("--kind"),
                                                 QLatin1String(kind), QStringLiteral("--format"), QStringLiteral("txt"),
                                                 QStringLiteral("-o"), dir.filePath(QLatin1String(kind) + QStringLiteral(".txt"))});
}

QString writeManifest(const QTemporaryDir& dir, const QJsonObject& job, const QStringList& devices)
{
    QJsonArray targets;
    for (qsizetype i = 0; i < devices.size(); ++i)
        targets.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("p%1").arg(i + 1)}, {QStringLiteral("device"), devices[i]}});
    const QJsonObject manifest{{QStringLiteral("printer"), QLatin1String(kPrinter)}, {QStringLiteral("job"), job},
                               {QStringLiteral("targets"), targets}};
    return writeFile(dir, QStringLiteral("site.json"), QJsonDocument(manifest).toJson());
}

ToolRun applyTo(const QTemporaryDir& dir, const QJsonObject& job, int printers, const QStringList& simArguments = {})
{
    Simulator sim(QStringList{QStringLiteral("--count"), QString::number(printers)} + simArguments, kScale);
    if (sim.devices().size() != printers)
        return {};
    return runTool({QStringLiteral("--definitions"), definitionFile(), QStringLiteral("apply"), writeManifest(dir, job, sim.devices())},
                   kScale);
}

void BM_FleetOfFiftyAgainstOne(benchmark::State& state)
{
    QTemporaryDir dir;
    writeJobFiles(dir);
    const QJsonObject job{{QStringLiteral("allocate"), QStringLiteral("8,4,14")},
                          {QStringLiteral("basic-main"), QStringLiteral("main.bas")},
                          {QStringLiteral("basic-system"), QStringLiteral("main.bas")},
                          {QStringLiteral("system-params"), QStringLiteral("system.txt")},
                          {QStringLiteral("initial-table"), QStringLiteral("initial.txt")},
                          {QStringLiteral("vormex"), QStringLiteral("on")},
                          {QStringLiteral("test-file"), QStringLiteral("test.txt")}};
    for (auto _ : state) {
        const ToolRun one = applyTo(dir, job, 1);
        const ToolRun fifty = applyTo(dir, job, 50);
        if (one.exitCode != 0 || fifty.exitCode != 0)
            state.SkipWithError("an apply failed");
        state.SetIterationTime(fifty.seconds);
        state.counters["wall_1_s"] = one.seconds;
        state.counters["wall_50_s"] = fifty.seconds;
        state.counters["ratio"] = fifty.seconds / one.seconds;
    }
}

void BM_Fleet16MbFirmwareTo20Printers(benchmark::State& state)
{
    constexpr qint64 kBody = 16 << 20;
    constexpr int kPrinters = 20;
    QTemporaryDir dir;
    QByteArray image(kBody + 256, ' ');
    for (qint64 i = 0; i < kBody; ++i)
        image[i] = static_cast<char>(0x20 + i % 95);
    image[kBody + 5] = 0x10;  // start address 0x00100000 at 252 bytes before the end
    writeFile(dir, QStringLiteral("fw.rom"), image);
    image = QByteArray();
    const QJsonObject job{{QStringLiteral("firmware"), QStringLiteral("fw.rom")}};
    for (auto _ : state) {
        const ToolRun run = applyTo(dir, job, kPrinters, {QStringLiteral("--firmware-gap-ms"), QStringLiteral("50")});
        if (run.exitCode != 0)
            state.SkipWithError("the firmware apply failed");
        state.SetIterationTime(run.seconds);
        const double goalKb = 3.0 * (kBody / 1024) + 2048.0 * kPrinters;
        state.counters["peak_rss_mb"] = run.maxRssKb / 1024.0;
        state.counters["goal_mb"] = goalKb / 1024.0;
        state.counters["rss_over_goal"] = run.maxRssKb / goalKb;
    }
}

}  // namespace

BENCHMARK(BM_FleetOfFiftyAgainstOne)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fleet16MbFirmwareTo20Printers)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
