// How long the BASIC encoder takes for programs of 1,000 to 10,000 lines of realistic
// statements (loops, jumps by label and by line number, strings, arrays, DATA, functions).
#include "base/StringTable.h"
#include "basic/BasicEncoder.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// A program of `lines` numbered lines in blocks of ten; every block has its label, a FOR loop,
// and on every other block a WHILE loop. Variables repeat every `variableCycle` blocks.
QByteArray generateProgram(int lines, int variableCycle)
{
    QByteArray text;
    for (int i = 0; i < lines; ++i) {
        const int block = i / 10;
        const int v = block % variableCycle;
        const QByteArray n = QByteArray::number((i + 1) * 10);
        const QByteArray k = QByteArray::number(block);
        const QByteArray var = QByteArray::number(v);
        const bool whileBlock = block % 2 == 0;
        QByteArray statement;
        switch (i % 10) {
        case 0: statement = "*L" + k + ": ' block " + k; break;
        case 1: statement = "FOR I" + var + "=1 TO 10 STEP 2"; break;
        case 2: statement = "A" + var + "$=LEFT$(B$,3)+\"TEXT OF THE LABEL\"+CHR$(13)"; break;
        case 3: statement = "IF X" + var + ">=100 AND Y<5 THEN GOSUB *L" + k; break;
        case 4: statement = "PRINT #1,\"VALUE OF X=\";X" + var + ";\",\";1.5E+3"; break;
        case 5: statement = "NEXT I" + var; break;
        case 6: statement = whileBlock ? "WHILE C<10: C=C+1" : "Y=INSTR(A" + var + "$,\"X\")*2.5"; break;
        case 7: statement = "Z(3)=&HFF MOD 7: DATA 1,2,\"X\",3.5,\"YZ\""; break;
        case 8: statement = whileBlock ? QByteArray("WEND") : "ON ERR GOTO " + n; break;
        case 9: statement = i + 1 < lines ? "GOTO " + QByteArray::number((i + 2) * 10) : QByteArray("END"); break;
        }
        text += n + ' ' + statement + "\r\n";
    }
    return text;
}

class SourceFile {
public:
    SourceFile(int lines, int variableCycle) : path_(dir_.filePath(QStringLiteral("BENCH.BAS")))
    {
        QFile file(path_);
        if (file.open(QIODevice::WriteOnly))
            file.write(generateProgram(lines, variableCycle));
    }
    const QString& path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

void encode(benchmark::State& state, int programKind)
{
    const int lines = int(state.range(0));
    // The main program may have 512 simple variables, the system-mode program 256.
    const SourceFile source(lines, programKind == vormex::basic::kMainProgram ? 150 : 60);
    const vormex::StringTable strings = vormex::StringTable::builtIn();
    qsizetype bodyBytes = 0;
    for (auto _ : state) {
        vormex::BasicEncoder encoder(strings, 1);
        if (!encoder.EncodeProgram(source.path(), programKind)) {
            state.SkipWithError(qPrintable(QStringLiteral("encoding failed: %1 (%2)").arg(encoder.errorMessage()).arg(encoder.errorId())));
            return;
        }
        bodyBytes = encoder.body().size();
        benchmark::DoNotOptimize(encoder.body().constData());
    }
    state.counters["body_bytes"] = double(bodyBytes);
    state.counters["lines"] = lines;
    state.SetComplexityN(lines);
}

void BM_EncodeMainProgram(benchmark::State& state) { encode(state, vormex::basic::kMainProgram); }
void BM_EncodeSystemProgram(benchmark::State& state) { encode(state, vormex::basic::kSystemModeProgram); }

BENCHMARK(BM_EncodeMainProgram)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_EncodeSystemProgram)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
