#include "download/DownloadJob.h"

#include "base/Format.h"

namespace vormex {

void DownloadItem::clear()
{
    text.clear();
    bytes = QByteArray();
    prepared = false;
    lastPath.clear();
}

QByteArray ApplyVariableControlCodes(QByteArray command, const ControlCodes& codes, bool variableControlCodes)
{
    if (variableControlCodes && command.size() >= 3) {
        command[0] = static_cast<char>(codes.code1);
        command[command.size() - 2] = static_cast<char>(codes.code2);
        command[command.size() - 1] = static_cast<char>(codes.code3);
    }
    return command;
}

QByteArray BuildPrepareCommand(const DownloadJob& job, int type)
{
    if (type == DownloadItem::TestFile || type == DownloadItem::Firmware)
        return job.firmwareRequest;
    if (type < 0 || type > DownloadItem::InitialTable)
        return {};
    int blocks = type == DownloadItem::BasicMain ? job.basicMainBlocks : 1;
    if (job.blockSizeKb == 128)
        blocks *= 2;
    const QString text = cformat(QStringLiteral("{LDB;%02d,%02d|}"), job.startBlocks[static_cast<size_t>(type)], blocks);
    return ApplyVariableControlCodes(text.toLatin1(), job.controlCodes, job.variableControlCodes != 0);
}

QByteArray BuildAllocationCommand(const DownloadJob& job)
{
    const QString basic = job.keepBasicArea ? QStringLiteral("AA") : cformat(QStringLiteral("%02d"), job.basicBlocks);
    const QString variant = job.kanjiVariant == 1 ? QStringLiteral("1") : job.kanjiVariant == 2 ? QStringLiteral("2") : QString();
    const QString text =
        cformat(QStringLiteral("{XF%s;%02d,%02d,%s|}"), variant, job.trueTypeBlocks, job.bitmapBlocks, basic);
    return ApplyVariableControlCodes(text.toLatin1(), job.controlCodes, job.variableControlCodes != 0);
}

int CountDownloadSteps(const DownloadJob& job)
{
    if (job.mode == DownloadJob::FirmwareMode)
        return job.item(DownloadItem::Firmware).ready() ? 1 : 0;
    auto wanted = [&job](int flag, int type) { return flag && job.item(type).ready() ? 1 : 0; };
    return (job.doAllocation ? 1 : 0) + wanted(job.doBasicMain, DownloadItem::BasicMain)
           + wanted(job.doBasicSystem, DownloadItem::BasicSystem)
           + wanted(job.doSystemParameters, DownloadItem::SystemParameters)
           + wanted(job.doInitialTable, DownloadItem::InitialTable) + wanted(job.doTestFile, DownloadItem::TestFile)
           + (job.doVormexSwitch ? 1 : 0);
}

}  // namespace vormex
