// The download sequence against a fake printer over loopback TCP, a pseudo-terminal and a FIFO.
#include "LinkFixture.h"

#include "comm/StoreFileEnvelope.h"
#include "download/DownloadMessages.h"

#include <mutex>

namespace vormex::test {
namespace {

using namespace download_messages;

// These tests run whole jobs: a small time scale keeps the printer's pauses short.
const bool kTimeScaleSet = [] { return ::setenv("VORMEX_TIME_SCALE", "0.02", 0) == 0; }();

// A brace command as the printer receives it.
QByteArray brace(const char* text, const ControlCodes& codes, bool variable)
{
    QByteArray bytes(text);
    if (variable) {
        bytes[0] = static_cast<char>(codes.code1);
        bytes[bytes.size() - 2] = static_cast<char>(codes.code2);
        bytes[bytes.size() - 1] = static_cast<char>(codes.code3);
    }
    return bytes;
}

void setItem(DownloadJob& job, int type, const QString& name, const QByteArray& bytes)
{
    DownloadItem& item = job.item(type);
    item.text = name;
    item.lastPath = name;
    item.bytes = bytes;
    item.prepared = true;
}

// Allocation (XF2), the four files, VORMEX on and a test file.
DownloadJob fullJob(const ControlCodes& codes, bool variable)
{
    DownloadJob job;
    job.controlCodes = codes;
    job.variableControlCodes = variable;
    job.doAllocation = 1;
    job.kanjiVariant = 2;
    job.trueTypeBlocks = 8;
    job.bitmapBlocks = 4;
    job.basicBlocks = 14;
    job.blockSizeKb = 64;
    job.doBasicMain = job.doBasicSystem = job.doSystemParameters = job.doInitialTable = 1;
    job.doVormexSwitch = 1;
    job.vormexSwitchEntry = 0;
    job.doTestFile = 1;
    for (int type = DownloadItem::BasicMain; type <= DownloadItem::InitialTable; ++type)
        setItem(job, type, QStringLiteral("file%1").arg(type),
                BuildStoreFileEnvelope(QByteArray(1024 * (type + 1), static_cast<char>('a' + type)), codes, variable));
    setItem(job, DownloadItem::TestFile, QStringLiteral("test.txt"), QByteArray("PRINT TEST\r\n"));
    return job;
}

QByteArray fullJobBytes(const DownloadJob& job, const ControlCodes& codes, bool variable)
{
    return shortCommand("!T", codes) + brace("{XF2;08,04,14|}", codes, variable)
           + brace("{LDB;00,02|}", codes, variable) + job.item(0).bytes + brace("{LDB;02,01|}", codes, variable)
           + job.item(1).bytes + brace("{LDB;03,01|}", codes, variable) + job.item(2).bytes
           + brace("{LDB;04,01|}", codes, variable) + job.item(3).bytes + shortCommand("!Z", codes)
           + job.item(4).bytes;
}

// Built on first use: the string table must not be read before the program's resources exist.
QString fullJobLog()
{
    return logOf({kDownloadStart, kVormexOff, kAllocationStart, kAllocationDone, kPreparing, kPrepared,
                                   kBasicMainStart, kBasicMainDone, kPreparing, kPrepared, kBasicSystemStart,
                                   kBasicSystemDone, kPreparing, kPrepared, kSystemParametersStart,
                                   kSystemParametersDone, kPreparing, kPrepared, kInitialTableStart, kInitialTableDone,
                                   kVormexSwitchStart, kVormexSwitchDone, kTestFileStart, kTestFileDone, kDownloadDone});
}

// Records what an observer hears.
class RecordingObserver : public DownloadObserver {
public:
    void logLine(const QString& line) override
    {
        std::lock_guard lock(mutex);
        lines += line + QStringLiteral("\r\n");
    }
    void stepFinished(int, int, int jobPercent) override
    {
        std::lock_guard lock(mutex);
        percents.push_back(jobPercent);
    }
    void finished(bool completed) override
    {
        std::lock_guard lock(mutex);
        ended = completed ? 1 : 0;
    }
    std::mutex mutex;
    QString lines;
    std::vector<int> percents;
    int ended = -1;
};

struct CodeCase {
    const char* name;
    ControlCodes codes;
    bool variable;
};

class FullJobTest : public LinkFixture, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(FullJobTest, SendsEveryStepInOrderOverLan)
{
    const CodeCase& c = GetParam();
    FakePrinterBehaviour behaviour;
    behaviour.codes = c.codes;
    auto printer = FakePrinter::Lan(behaviour);
    const DownloadJob job = fullJob(c.codes, c.variable);
    auto observer = std::make_shared<RecordingObserver>();
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer, c.codes, c.variable), false, observer);

    EXPECT_EQ(finish(*runner), fullJobLog());
    EXPECT_EQ(withoutQueries(printer->received(), c.codes), fullJobBytes(job, c.codes, c.variable));
    EXPECT_EQ(runner->progress().stepsDone.load(), 7);
    EXPECT_EQ(runner->progress().totalSteps.load(), 7);
    EXPECT_TRUE(runner->progress().completed.load());
    std::lock_guard lock(observer->mutex);
    EXPECT_EQ(observer->lines, fullJobLog());
    EXPECT_EQ(observer->percents, (std::vector<int>{14, 29, 43, 57, 71, 86, 100}));
    EXPECT_EQ(observer->ended, 1);
}

INSTANTIATE_TEST_SUITE_P(ControlCodes, FullJobTest,
                         ::testing::Values(CodeCase{"DefaultCodes", ControlCodes::forType(0), false},
                                           CodeCase{"Braces", ControlCodes::forType(2), false},
                                           CodeCase{"ManualCodesFixedBraces", ControlCodes::forType(3, 2, 3, 4), false},
                                           CodeCase{"VariableControlCodes", ControlCodes::forType(3, 2, 3, 4), true}),
                         [](const auto& info) { return std::string(info.param.name); });

using SequenceTest = LinkFixture;

TEST_F(SequenceTest, FullJobOverAPseudoTerminalAsCom)
{
    auto printer = FakePrinter::Pty({});
    const DownloadJob job = fullJob({}, false);
    auto runner = DownloadRunner::StartJob(job, comSettings(*printer), false);
    EXPECT_EQ(finish(*runner), fullJobLog());
    EXPECT_EQ(withoutQueries(printer->received(), {}), fullJobBytes(job, {}, false));
    EXPECT_GE(printer->queriesAnswered(), 6);
}

TEST_F(SequenceTest, FullJobOverAFifoAsLptNeverWaitsForAnAnswer)
{
    auto printer = FakePrinter::Fifo({}, path(QStringLiteral("lpt")));
    const DownloadJob job = fullJob({}, false);
    auto runner = DownloadRunner::StartJob(job, lptSettings(printer->address()), false);
    EXPECT_EQ(finish(*runner), fullJobLog());
    EXPECT_EQ(printer->received(), fullJobBytes(job, {}, false));
}

TEST_F(SequenceTest, OnlyTheVormexSwitchSendsItWithoutTheOffStep)
{
    auto printer = FakePrinter::Lan({});
    DownloadJob job;
    job.doVormexSwitch = 1;
    job.vormexSwitchEntry = 0;
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), false);
    EXPECT_EQ(finish(*runner), logOf({kDownloadStart, kVormexSwitchStart, kVormexSwitchDone, kDownloadDone}));
    EXPECT_EQ(withoutQueries(printer->received(), {}), shortCommand("!Z", {}));
    EXPECT_TRUE(printer->received().contains(shortCommand("!Q", {})));  // asked for its mode
    EXPECT_EQ(runner->progress().totalSteps.load(), 1);
    EXPECT_TRUE(runner->progress().completed.load());
}

TEST_F(SequenceTest, AFileStepWithoutAFileIsNeitherRunNorCounted)
{
    auto printer = FakePrinter::Lan({});
    DownloadJob job;
    job.doBasicMain = 1;
    job.doTestFile = 1;
    setItem(job, DownloadItem::TestFile, QStringLiteral("t.txt"), "T");
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), false);
    EXPECT_EQ(finish(*runner),
              logOf({kDownloadStart, kVormexOff, kTestFileStart, kTestFileDone, kDownloadDone}));
    EXPECT_EQ(withoutQueries(printer->received(), {}), shortCommand("!T", {}) + "T");
    EXPECT_EQ(runner->progress().totalSteps.load(), 1);
}

TEST_F(SequenceTest, APrinterThatCannotBeOpenedGetsNothing)
{
    LinkSettings settings;
    settings.deviceInfo = QStringLiteral("LAN:127.0.0.1:1");
    auto runner = DownloadRunner::StartJob(fullJob({}, false), settings, false);
    EXPECT_EQ(finish(*runner), logOf({kDeviceOpenError}));
    EXPECT_FALSE(runner->progress().completed.load());
}

TEST_F(SequenceTest, APrinterThatDoesNotAnswerFailsTheVormexOffStep)
{
    FakePrinterBehaviour silent;
    silent.answerQueries = false;
    auto printer = FakePrinter::Lan(silent);
    auto runner = DownloadRunner::StartJob(fullJob({}, false), lanSettings(*printer), false);
    EXPECT_EQ(finish(*runner), logOf({kDownloadStart, kVormexOff, kVormexSwitchFailed}));
    EXPECT_EQ(withoutQueries(printer->received(), {}), shortCommand("!T", {}));
    EXPECT_EQ(runner->progress().stepsDone.load(), 0);
    EXPECT_FALSE(runner->progress().completed.load());
}

TEST_F(SequenceTest, AConnectionDroppedMidFileFailsThatFileAndStops)
{
    DownloadJob job;
    job.doBasicMain = 1;
    job.doBasicSystem = 1;
    job.blockSizeKb = 64;
    setItem(job, DownloadItem::BasicMain, QStringLiteral("main.bas"),
            BuildStoreFileEnvelope(QByteArray(4 << 20, 'm'), {}, false));
    setItem(job, DownloadItem::BasicSystem, QStringLiteral("sys.bas"),
            BuildStoreFileEnvelope(QByteArray(1024, 's'), {}, false));
    FakePrinterBehaviour dropping;
    dropping.dropAfterBytes = 5 + 12 + 100000;
    auto printer = FakePrinter::Lan(dropping);
    auto runner = DownloadRunner::StartJob(job, lanSettings(*printer), false);
    EXPECT_EQ(finish(*runner), logOf({kDownloadStart, kVormexOff, kPreparing, kPrepared, kBasicMainStart, kBasicMainFailed}));
    EXPECT_EQ(runner->progress().stepsDone.load(), 0);
    EXPECT_FALSE(printer->received().contains("{LDB;02,01|}"));
}

}  // namespace
}  // namespace vormex::test
