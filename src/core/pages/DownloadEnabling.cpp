#include "pages/DownloadEnabling.h"

namespace vormex {

DownloadEnabling EnablingFor(const DownloadJob& job)
{
    DownloadEnabling e;
    if (job.mode == DownloadJob::FirmwareMode) {
        e.firmwareItem = true;
        e.firmwareHeader = true;
        return e;
    }
    e.stepCheckBoxes = true;
    const std::array<int, 5> fileSteps{job.doBasicMain, job.doBasicSystem, job.doSystemParameters, job.doInitialTable,
                                       job.doTestFile};
    for (size_t i = 0; i < fileSteps.size(); ++i)
        e.fileItems[i] = fileSteps[i] != 0;
    e.vormexSwitchList = job.doVormexSwitch != 0;
    e.allocationControls = job.doAllocation != 0;
    e.basicAreaControls = job.doAllocation && !job.keepBasicArea;
    e.pcSaveArea = true;
    e.startBlockLabel = true;
    for (size_t i = 0; i < e.startBlocks.size(); ++i)
        e.startBlocks[i] = fileSteps[i] != 0;
    return e;
}

bool HasSomethingToDo(const DownloadJob& job)
{
    if (job.mode == DownloadJob::FirmwareMode)
        return !job.item(DownloadItem::Firmware).text.isEmpty();
    if (job.doAllocation || job.doVormexSwitch)
        return true;
    const std::pair<int, int> fileSteps[] = {
        {job.doBasicMain, DownloadItem::BasicMain},   {job.doBasicSystem, DownloadItem::BasicSystem},
        {job.doSystemParameters, DownloadItem::SystemParameters}, {job.doInitialTable, DownloadItem::InitialTable},
        {job.doTestFile, DownloadItem::TestFile},
    };
    for (const auto& [wanted, type] : fileSteps)
        if (wanted && !job.item(type).text.isEmpty())
            return true;
    return false;
}

bool NeedsFirmwareNotice(const QString& printerName) { return !printerName.startsWith(QLatin1String("Q-KB")); }

FileDialogStrings FileDialogFor(int itemType, const QString& printerName)
{
    switch (itemType) {
    case DownloadItem::Firmware:
        if (printerName.startsWith(QLatin1String("Q-KB")))
            return {632, 633};
        return {620, 621};
    case DownloadItem::BasicMain:
    case DownloadItem::BasicSystem:
        return {622, 623};
    case DownloadItem::SystemParameters:
        return {626, 627};
    case DownloadItem::InitialTable:
        return {628, 629};
    default:
        return {624, 625};  // the test file
    }
}

}  // namespace vormex
