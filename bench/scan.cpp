// vormexctl scan of a loopback /24 (and never anything else), at the printer's real timing:
// one where nothing listens (goal: under 3 s, `seconds_over_goal` below 1) and one holding eight
// simulated printers at one port (goal: under 1 s). The /24 is picked at random inside
// 127.0.0.0/8, so that other programs on loopback are not met.
#include "BenchPrograms.h"

#include <QRandomGenerator>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

using namespace vormex::bench;

// "127.A.B." with A not 0, so that 127.0.0.1 is never in it.
QString randomLoopbackPrefix()
{
    return QStringLiteral("127.%1.%2.").arg(1 + QRandomGenerator::global()->bounded(254)).arg(QRandomGenerator::global()->bounded(256));
}

// A TCP port that was free on `address` a moment ago.
int freePortOn(const QString& address)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in bound{};
    bound.sin_family = AF_INET;
    inet_pton(AF_INET, address.toLatin1().constData(), &bound.sin_addr);
    socklen_t length = sizeof bound;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&bound), sizeof bound) == 0
                 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) == 0;
    ::close(fd);
    return ok ? ntohs(bound.sin_port) : 0;
}

ToolRun scan(const QString& prefix, int port)
{
    return runTool({QStringLiteral("scan"), prefix + QStringLiteral("0/24"), QStringLiteral("--port"), QString::number(port)}, "1");
}

void BM_ScanOfASlash24WhereNothingListens(benchmark::State& state)
{
    for (auto _ : state) {
        const QString prefix = randomLoopbackPrefix();
        const ToolRun run = scan(prefix, freePortOn(prefix + QStringLiteral("1")));
        if (run.exitCode != 0)
            state.SkipWithError("the scan failed");
        state.SetIterationTime(run.seconds);
        state.counters["seconds"] = run.seconds;
        state.counters["seconds_over_goal"] = run.seconds / 3.0;
    }
}

void BM_ScanOfEightPrinters(benchmark::State& state)
{
    for (auto _ : state) {
        const QString prefix = randomLoopbackPrefix();
        const int port = freePortOn(prefix + QStringLiteral("10"));
        Simulator sim({QStringLiteral("--count"), QStringLiteral("8"), QStringLiteral("--bind"), prefix + QStringLiteral("10"),
                       QStringLiteral("--port"), QString::number(port), QStringLiteral("--same-port")},
                      "1");
        if (sim.devices().size() != 8)
            state.SkipWithError("the simulator did not start");
        const ToolRun run = scan(prefix, port);
        if (run.exitCode != 0)
            state.SkipWithError("the scan failed");
        state.SetIterationTime(run.seconds);
        state.counters["seconds"] = run.seconds;
        state.counters["seconds_over_goal"] = run.seconds / 1.0;
    }
}

}  // namespace

BENCHMARK(BM_ScanOfASlash24WhereNothingListens)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanOfEightPrinters)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
