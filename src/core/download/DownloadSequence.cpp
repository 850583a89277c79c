#include "download/DownloadSequence.h"

#include "download/DownloadMessages.h"
#include "download/FirmwareTransfer.h"

namespace vormex {

using namespace download_messages;

namespace {
constexpr int kRun = -1;
}

DownloadSequence::DownloadSequence(const DownloadJob& job, EngineContext& context, bool firmwareHandshake)
    : job_(job), context_(context), handshake_(firmwareHandshake)
{
}

int DownloadSequence::AllocationPauseMs(int kanjiVariant)
{
    switch (kanjiVariant) {
    case 1:
        return kAllocationKanji1PauseMs;
    case 2:
        return kAllocationKanji2PauseMs;
    default:
        return kAllocationPauseMs;
    }
}

void DownloadSequence::Run()
{
    DownloadProgress& progress = context_.progress();
    progress.workerRunning = true;
    const bool firmware = job_.mode == DownloadJob::FirmwareMode;
    progress.firmwareMode = firmware;
    context_.link().setListenerPaused(false);
    const int connected = firmware ? context_.link().Connect(true, kFirmwareComAddress) : context_.link().Connect(false);
    if (!connected) {
        context_.logLinkFailure(kDeviceOpenError);
    } else {
        RunJob();
        context_.link().Disconnect();
    }
    progress.workerRunning = false;
    progress.finish(progress.stepsDone.load() == progress.totalSteps.load());
}

void DownloadSequence::RunJob()
{
    DownloadProgress& progress = context_.progress();
    progress.clearLog();
    progress.startCounting(CountDownloadSteps(job_));
    context_.link().setListenerPaused(false);
    if (job_.mode == DownloadJob::FirmwareMode) {
        if (job_.item(DownloadItem::Firmware).ready())
            FirmwareTransfer(job_, context_, handshake_).Run();
        return;
    }
    context_.log(kDownloadStart);
    const bool allDone = StepVormexOffFirst() && StepMemoryAllocation() && StepBasicMain() && StepBasicSystemMode()
                         && StepSystemParameters() && StepInitialTable() && StepVormexSwitch() && StepTestFile();
    if (allDone)
        context_.log(kDownloadDone);
}

int DownloadSequence::stepGate(bool wanted) const
{
    if (context_.cancelled())
        return 0;
    return wanted ? kRun : 1;
}

int DownloadSequence::StepVormexOffFirst()
{
    const bool needed = job_.doAllocation || job_.doBasicMain || job_.doBasicSystem || job_.doSystemParameters
                        || job_.doInitialTable;
    if (!needed)
        return 1;
    if (context_.cancelled())
        return 0;
    context_.log(kVormexOff);
    context_.link().SendShortCommand("!T");
    if (!context_.link().WaitForPrinter(context_.settings().waitTimeMs, false, true)) {
        context_.logLinkFailure(kVormexSwitchFailed);
        return 0;
    }
    return 1;
}

int DownloadSequence::StepMemoryAllocation()
{
    if (const int gate = stepGate(job_.doAllocation != 0); gate != kRun)
        return gate;
    context_.log(kAllocationStart);
    context_.trackWrite(true);
    if (!context_.port().Write(BuildAllocationCommand(job_))) {
        context_.log(kAllocationFailed);
        return 0;
    }
    if (!context_.pause(AllocationPauseMs(job_.kanjiVariant)))
        return 0;
    context_.log(kAllocationDone);
    FinishStep();
    return 1;
}

int DownloadSequence::fileStep(int type, bool wanted, FileStepMessages messages)
{
    const DownloadItem& item = job_.item(type);
    if (const int gate = stepGate(wanted && item.ready()); gate != kRun)
        return gate;
    PrinterLink& link = context_.link();
    context_.trackWrite(false);
    context_.progress().setCurrentFile(item.text);

    context_.log(kPreparing);
    link.setAnswer(kNoAnswer);
    if (!context_.port().Write(BuildPrepareCommand(job_, type))) {
        context_.logWriteFailure(kDownloadFailed);
        return 0;
    }
    if (!context_.pause(kFileSettlePauseMs))
        return 0;
    context_.log(kPrepared);

    context_.log(messages.start);
    link.setAnswer(kNoAnswer);
    link.clearErrorStatus();
    context_.trackWrite(true);
    if (!context_.writeStore(item.bytes, messages.failed))
        return 0;
    if (!context_.pause(kFileSettlePauseMs))
        return 0;
    if (link.WaitForPrinter(context_.settings().waitTimeMs, false, true) && !context_.storeRefused()) {
        context_.log(messages.done);
        FinishStep();
        return 1;
    }
    context_.logLinkFailure(messages.failed);
    return 0;
}

int DownloadSequence::StepBasicMain()
{
    return fileStep(DownloadItem::BasicMain, job_.doBasicMain != 0, {kBasicMainStart, kBasicMainDone, kBasicMainFailed});
}

int DownloadSequence::StepBasicSystemMode()
{
    return fileStep(DownloadItem::BasicSystem, job_.doBasicSystem != 0,
                    {kBasicSystemStart, kBasicSystemDone, kBasicSystemFailed});
}

int DownloadSequence::StepSystemParameters()
{
    return fileStep(DownloadItem::SystemParameters, job_.doSystemParameters != 0,
                    {kSystemParametersStart, kSystemParametersDone, kSystemParametersFailed});
}

int DownloadSequence::StepInitialTable()
{
    return fileStep(DownloadItem::InitialTable, job_.doInitialTable != 0,
                    {kInitialTableStart, kInitialTableDone, kInitialTableFailed});
}

int DownloadSequence::StepVormexSwitch()
{
    if (const int gate = stepGate(job_.doVormexSwitch != 0); gate != kRun)
        return gate;
    context_.log(kVormexSwitchStart);
    context_.trackWrite(true);
    context_.progress().setCurrentFile(QString());
    const bool on = job_.vormexSwitchEntry == 0;
    context_.link().SendShortCommand(on ? "!Z" : "!T");
    if (!context_.pause(kFileSettlePauseMs))
        return 0;
    if (!context_.link().WaitForPrinter(context_.settings().waitTimeMs, on, true)) {
        context_.logLinkFailure(kVormexSwitchFailed);
        return 0;
    }
    context_.log(kVormexSwitchDone);
    FinishStep();
    return 1;
}

int DownloadSequence::StepTestFile()
{
    const DownloadItem& item = job_.item(DownloadItem::TestFile);
    if (const int gate = stepGate(job_.doTestFile && item.ready()); gate != kRun)
        return gate;
    context_.trackWrite(true);
    context_.progress().setCurrentFile(item.text);
    context_.log(kTestFileStart);
    if (!context_.port().Write(item.bytes)) {
        context_.log(kTestFileFailed);
        return 0;
    }
    if (!context_.pause(kTestFilePauseMs))
        return 0;
    context_.log(kTestFileDone);
    FinishStep();
    return 1;
}

void DownloadSequence::FinishStep()
{
    context_.trackWrite(false);
    context_.progress().finishStep();
}

}  // namespace vormex
