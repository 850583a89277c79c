// Download throughput against the printer simulator: how much the tool adds to the pauses the
// printer dictates. Each run reports `ratio` = measured wall time / sum of the fixed pauses of its
// job (computed from the same constants, scaled alike). Targets: firmware at most 1.05, the
// BASIC-files job at most 1.10; the peak resident memory of vormexctl for a 16 MB firmware image
// under 3 x the image size.
#include "BenchPrograms.h"

#include "comm/LinkSettings.h"
#include "comm/PrinterLink.h"
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"
#include "download/DownloadRunner.h"
#include "download/DownloadSequence.h"
#include "download/FirmwareTransfer.h"
#include "download/PrepareItem.h"
#include "timing/PacingClock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

using namespace vormex;

const char* const kPrinter = "ORN Q-KA5";
const char* const kBasicScale = "0.01";

using bench::binPath;
using bench::definitionFile;
using bench::runTool;
using bench::Simulator;
using bench::ToolRun;

QByteArray firmwareFile(qint64 bodyLength)
{
    QByteArray file(bodyLength + 256, ' ');
    for (qint64 i = 0; i < bodyLength; ++i)
        file[i] = static_cast<char>(0x20 + i % 95);
    file[bodyLength + 5] = 0x10;  // start address 0x00100000 at 252 bytes before the end
    return file;
}

// The pauses of a firmware job without handshake on LAN: the announce and closing pauses, and
// one chunk pause after each send (the request, the prefix and one per 64 KB block).
double firmwareFixedMs(qint64 bodyLength)
{
    const qint64 blocks = (bodyLength + FirmwareTransfer::kBlockSize - 1) / FirmwareTransfer::kBlockSize;
    return FirmwareTransfer::kAnnouncePauseMs + FirmwareTransfer::kClosingPauseMs
           + PrinterPort::kChunkPauseMs * static_cast<double>(2 + blocks);
}

void FirmwareJob(benchmark::State& state, qint64 bodyLength, const char* timeScale, bool reportRatio)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fw.rom"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(firmwareFile(bodyLength));
    file.close();
    for (auto _ : state) {
        Simulator sim({QStringLiteral("--firmware-gap-ms"), QStringLiteral("50")}, timeScale);
        const ToolRun run = runTool({QStringLiteral("--definitions"), definitionFile(), QStringLiteral("--printer"),
                                     QLatin1String(kPrinter), QStringLiteral("download"), QStringLiteral("--firmware"), path,
                                     QStringLiteral("--device"), sim.device()},
                                    timeScale);
        if (run.exitCode != 0)
            state.SkipWithError("the firmware job failed");
        state.SetIterationTime(run.seconds);
        const double fixedSeconds = firmwareFixedMs(bodyLength) * std::atof(timeScale) / 1000.0;
        if (reportRatio) {
            state.counters["fixed_s"] = fixedSeconds;
            state.counters["ratio"] = run.seconds / fixedSeconds;
        }
        state.counters["peak_rss_per_image"] = run.maxRssKb * 1024.0 / static_cast<double>(bodyLength);
    }
}

// 1 MB at the printer's real timing.
void BM_Firmware1MbOverLan(benchmark::State& state) { FirmwareJob(state, 1 << 20, "1", true); }
// 16 MB, for the peak memory (the pauses scaled down).
void BM_Firmware16MbMemory(benchmark::State& state) { FirmwareJob(state, 16 << 20, kBasicScale, false); }

// The pauses of a BASIC-files job on LAN: the restart sleep of every wait, the allocation pause,
// two settle pauses per file, the switch's pause, the test file's pause and a chunk pause per
// command or file written.
double basicFilesFixedMs()
{
    const int restart = PrinterLink::kLanRestartSleepMs;
    const int settle = DownloadSequence::kFileSettlePauseMs;
    const int writes = 1 + 1 + 4 * 2 + 1 + 1;  // "!T", XF, LDB and file four times, "!Z", test file
    const int waits = 1 + 4 + 1;               // each wait asks once
    return restart + DownloadSequence::AllocationPauseMs(0) + 4 * (2 * settle + restart) + settle + restart
           + DownloadSequence::kTestFilePauseMs + PrinterPort::kChunkPauseMs * (writes + waits);
}

void BM_BasicFilesJobOverLan(benchmark::State& state)
{
    QTemporaryDir dir;
    auto write = [&dir](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QLatin1String(name)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    };
    const QString main = write("main.bas", "10 PRINT \"HELLO\"\r\n20 GOTO 10\r\n");
    const QString test = write("test.txt", "TEST\r\n");
    for (const char* kind : {"system", "initial"})
        QProcess::execute(binPath("vormexctl"), {QStringLiteral("--definitions"), definitionFile(), QStringLiteral("--printer"),
                                                 QLatin1String(kPrinter), QStringLiteral("export"), QStringLiteral("--kind"),
                                                 QLatin1String(kind), QStringLiteral("--format"), QStringLiteral("txt"),
                                                 QStringLiteral("-o"), dir.filePath(QLatin1String(kind))});

    PrinterDefinitions definitions;
    LoadDefinitions(definitionFile(), definitions, nullptr);
    const PrinterDefinition* printer = FindPrinter(definitions, QLatin1String(kPrinter));
    if (!printer || !printer->allocation) {
        state.SkipWithError("no printer entry");
        return;
    }
    ParameterCheckState check;
    PrepareContext context;
    context.definitions = &definitions;
    context.printer = printer;
    context.check = &check;

    DownloadJob job;
    job.blockSizeKb = printer->allocation->blockSizeKb;
    job.doAllocation = 1;
    job.trueTypeBlocks = printer->allocation->trueTypeDefault;
    job.bitmapBlocks = printer->allocation->bitmapDefault;
    job.basicBlocks = printer->allocation->basicDefault;
    job.doBasicMain = job.doBasicSystem = job.doSystemParameters = job.doInitialTable = job.doVormexSwitch = job.doTestFile = 1;
    const bool prepared = PrepareItem(job, DownloadItem::BasicMain, main, context)
                          && PrepareItem(job, DownloadItem::BasicSystem, main, context)
                          && PrepareItem(job, DownloadItem::SystemParameters, dir.filePath(QStringLiteral("system")), context)
                          && PrepareItem(job, DownloadItem::InitialTable, dir.filePath(QStringLiteral("initial")), context)
                          && PrepareItem(job, DownloadItem::TestFile, test, context);
    if (!prepared) {
        state.SkipWithError("a file could not be prepared");
        return;
    }
    for (auto _ : state) {
        Simulator sim({}, kBasicScale);
        LinkSettings settings;
        settings.deviceInfo = sim.device();
        settings.printerName = QLatin1String(kPrinter);
        QElapsedTimer timer;
        timer.start();
        auto runner = DownloadRunner::StartJob(job, settings, false);
        runner->waitFinished(600000);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (!runner->progress().completed.load())
            state.SkipWithError("the BASIC-files job failed");
        state.SetIterationTime(seconds);
        const double fixedSeconds = basicFilesFixedMs() * std::atof(kBasicScale) / 1000.0;
        state.counters["fixed_s"] = fixedSeconds;
        state.counters["ratio"] = seconds / fixedSeconds;
    }
}

}  // namespace

BENCHMARK(BM_Firmware1MbOverLan)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Firmware16MbMemory)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BasicFilesJobOverLan)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // The in-process engine reads the scale once; the firmware jobs run in children with their own.
    ::setenv("VORMEX_TIME_SCALE", kBasicScale, 1);
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
