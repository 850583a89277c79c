#include "download/ParameterFileDownload.h"

#include "comm/CommandFraming.h"
#include "download/DownloadMessages.h"

namespace vormex {

using namespace download_messages;

ParameterFileDownload::ParameterFileDownload(const FileDownloadRequest& request, EngineContext& context)
    : request_(request), context_(context)
{
}

int ParameterFileDownload::startMessage() const
{
    return request_.kind == FileDownloadRequest::SystemParameters ? kSystemParametersStart : kInitialTableStart;
}

int ParameterFileDownload::doneMessage() const
{
    return request_.kind == FileDownloadRequest::SystemParameters ? kSystemParametersDone : kInitialTableDone;
}

int ParameterFileDownload::failedMessage() const
{
    return request_.kind == FileDownloadRequest::SystemParameters ? kSystemParametersFailed : kInitialTableFailed;
}

void ParameterFileDownload::Run()
{
    DownloadProgress& progress = context_.progress();
    progress.workerRunning = true;
    progress.startCounting(1);
    int result = 0;
    if (!context_.link().Connect(false)) {
        context_.logLinkFailure(kDeviceOpenError);
    } else {
        result = RunFileDownload();
        context_.link().Disconnect();
    }
    if (result)
        progress.finishStep();
    progress.workerRunning = false;
    progress.finish(result != 0);
}

int ParameterFileDownload::RunFileDownload()
{
    PrinterLink& link = context_.link();
    const int waitMs = context_.settings().waitTimeMs;

    context_.trackWrite(false);
    context_.log(kVormexOff);
    link.SendShortCommand("!T");
    if (!context_.pause(kCommandPauseMs))
        return 0;
    if (!link.WaitForPrinter(waitMs, false)) {
        context_.logLinkFailure(kVormexSwitchFailed);
        return 0;
    }

    if (context_.cancelled())
        return 0;
    context_.log(kPreparing);
    link.setAnswer(kNoAnswer);
    if (!link.SendBraceCommand(PrepareCommandText(request_.startBlock, request_.blockCount))) {
        context_.logWriteFailure(kDownloadFailed);
        return 0;
    }
    if (!context_.pause(kFileSettlePauseMs))
        return 0;
    context_.log(kPrepared);

    context_.log(startMessage());
    link.setAnswer(kNoAnswer);
    link.clearErrorStatus();
    context_.trackWrite(true);
    if (!context_.writeStore(request_.envelope, failedMessage()))
        return 0;
    if (!context_.pause(kFileSettlePauseMs))
        return 0;
    if (!link.WaitForPrinter(waitMs, false)) {
        context_.logLinkFailure(failedMessage());
        return 0;
    }
    if (context_.storeRefused()) {
        context_.log(failedMessage());
        return 0;
    }

    if (request_.vormexOnAfter) {
        context_.log(kVormexOn);
        link.SendShortCommand("!Z");
        if (!context_.pause(kCommandPauseMs))
            return 0;
        if (!link.WaitForPrinter(waitMs, true)) {
            context_.logLinkFailure(kVormexSwitchFailed);
            return 0;
        }
    }
    context_.log(doneMessage());
    return 1;
}

}  // namespace vormex
