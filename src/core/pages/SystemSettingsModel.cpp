#include "pages/SystemSettingsModel.h"

#include "base/StringTable.h"
#include "comm/CommandFraming.h"
#include "comm/StoreFileEnvelope.h"
#include "sysparam/SystemParameterLine.h"

namespace vormex {

ParameterDownloadSetup PrepareParameterDownload(FileDownloadRequest::Kind kind, const QByteArray& area,
                                                const PrinterDefinition& printer, const ControlCodes& codes,
                                                const StringTable& strings)
{
    ParameterDownloadSetup setup;
    setup.request.kind = kind;
    if (!printer.allocation) {
        setup.error = strings.text(kNoAllocationText).arg(printer.name);
        return setup;
    }
    const AllocationDefinition& allocation = *printer.allocation;
    setup.request.envelope = BuildStoreFileEnvelope(area, CommandCodesFor(&printer, codes), printer.variableControlCodes != 0);
    setup.request.startBlock = kind == FileDownloadRequest::SystemParameters ? allocation.startBlockSystemParam
                                                                              : allocation.startBlockInitialTable;
    setup.request.blockCount = FileDownloadRequest::BlockCountFor(allocation.blockSizeKb);
    setup.startBlockMin = allocation.basicMin;
    setup.startBlockMax = allocation.basicMax;
    return setup;
}

ParameterDownloadSetup PrepareSystemParameterDownload(const SystemParameterSet& set, const PrinterDefinition& printer,
                                                      const ControlCodes& codes, const StringTable& strings)
{
    if (!printer.allocation)
        return PrepareParameterDownload(FileDownloadRequest::SystemParameters, {}, printer, codes, strings);
    const AreaResult area = BuildSystemParameterArea(BuildSystemParameterLine(set, printer), printer);
    if (!area.ok()) {
        ParameterDownloadSetup setup;
        setup.request.kind = FileDownloadRequest::SystemParameters;
        setup.error = area.error;
        return setup;
    }
    return PrepareParameterDownload(FileDownloadRequest::SystemParameters, area.area, printer, codes, strings);
}

}  // namespace vormex
