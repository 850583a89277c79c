#include "pages/InitialTableModel.h"

namespace vormex {

int ChangeMarkOf(InitialTableTab tab)
{
    switch (tab) {
    case InitialTableTab::InitialValues: return kInitialValuesChanged;
    case InitialTableTab::FontTables: return kFontTablesChanged;
    case InitialTableTab::DriveMapping: return kDriveMappingChanged;
    case InitialTableTab::ResponseCommands: return kResponsesChanged;
    }
    return 0;
}

ParameterDownloadSetup PrepareInitialTableDownload(const InitialTableDocument& document, const PrinterDefinition& printer,
                                                   const ControlCodes& codes, const StringTable& strings)
{
    if (!printer.allocation)
        return PrepareParameterDownload(FileDownloadRequest::InitialTable, {}, printer, codes, strings);
    const AreaResult area = BuildInitialTableArea(ComposeInitialTableText(document, printer), printer);
    if (!area.ok()) {
        ParameterDownloadSetup setup;
        setup.request.kind = FileDownloadRequest::InitialTable;
        setup.error = area.error;
        return setup;
    }
    return PrepareParameterDownload(FileDownloadRequest::InitialTable, area.area, printer, codes, strings);
}

}  // namespace vormex
