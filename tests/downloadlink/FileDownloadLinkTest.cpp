// The parameter file download against a fake printer.
#include "LinkFixture.h"

#include "comm/StoreFileEnvelope.h"
#include "download/DownloadMessages.h"

namespace vormex::test {
namespace {

using namespace download_messages;

const bool kTimeScaleSet = [] { return ::setenv("VORMEX_TIME_SCALE", "0.02", 0) == 0; }();

FileDownloadRequest request(int kind, const ControlCodes& codes, bool variable, int startBlock, int blocks, bool vormexOn)
{
    FileDownloadRequest r;
    r.kind = kind;
    r.envelope = BuildStoreFileEnvelope(QByteArray(2048, 'p'), codes, variable);
    r.startBlock = startBlock;
    r.blockCount = blocks;
    r.vormexOnAfter = vormexOn;
    return r;
}

using FileDownloadTest = LinkFixture;

TEST_F(FileDownloadTest, SystemParametersOverLanWithVormexOnAfterwards)
{
    auto printer = FakePrinter::Lan({});
    const FileDownloadRequest r = request(FileDownloadRequest::SystemParameters, {}, false, 3, 1, true);
    auto runner = DownloadRunner::StartFileDownload(r, lanSettings(*printer));
    EXPECT_EQ(finish(*runner), logOf({kVormexOff, kPreparing, kPrepared, kSystemParametersStart, kVormexOn,
                                      kSystemParametersDone}));
    EXPECT_EQ(withoutQueries(printer->received(), {}),
              shortCommand("!T", {}) + "{LDB;03,01|}" + r.envelope + shortCommand("!Z", {}));
    EXPECT_TRUE(runner->progress().completed.load());
}

TEST_F(FileDownloadTest, InitialTableOverComWithVariableCodesAndNoVormexOn)
{
    const ControlCodes codes = ControlCodes::forType(3, 2, 3, 4);
    FakePrinterBehaviour behaviour;
    behaviour.codes = codes;
    auto printer = FakePrinter::Pty(behaviour);
    const FileDownloadRequest r = request(FileDownloadRequest::InitialTable, codes, true, 5, 2, false);
    auto runner = DownloadRunner::StartFileDownload(r, comSettings(*printer, codes, true));
    EXPECT_EQ(finish(*runner), logOf({kVormexOff, kPreparing, kPrepared, kInitialTableStart, kInitialTableDone}));
    EXPECT_EQ(withoutQueries(printer->received(), codes),
              shortCommand("!T", codes) + QByteArray("\x02LDB;05,02\x03\x04") + r.envelope);
}

TEST_F(FileDownloadTest, AFailedVormexOffWaitSendsNoFile)
{
    FakePrinterBehaviour silent;
    silent.answerQueries = false;
    auto printer = FakePrinter::Pty(silent);
    LinkSettings settings = comSettings(*printer);
    settings.waitTimeMs = 3000;
    auto runner = DownloadRunner::StartFileDownload(request(1, {}, false, 3, 1, true), settings);
    EXPECT_EQ(finish(*runner), logOf({kVormexOff, kVormexSwitchFailed}));
    EXPECT_EQ(withoutQueries(printer->received(), {}), shortCommand("!T", {}));
    EXPECT_FALSE(runner->progress().completed.load());
}

}  // namespace
}  // namespace vormex::test
