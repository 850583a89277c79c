#pragma once

#include "initialtable/InitialTableDocument.h"
#include "pages/SystemSettingsModel.h"

// The rules of the initial value & table pages that do not depend on widgets.
namespace vormex {

// The tabs of the initial value & table page, and the change mark each one sets.
enum class InitialTableTab { InitialValues = 0, FontTables = 1, DriveMapping = 2, ResponseCommands = 3 };
inline constexpr int kInitialTableTabCount = 4;
int ChangeMarkOf(InitialTableTab tab);

// The download button of every tab: the whole text in "ZDEFAULT.TXT", in the store-file
// envelope with the current control codes, the printer's BASIC block range and the start block
// its allocation names for the initial table. A text that does not fit the area is refused.
ParameterDownloadSetup PrepareInitialTableDownload(const InitialTableDocument& document, const PrinterDefinition& printer,
                                                   const ControlCodes& codes, const StringTable& strings);

}  // namespace vormex
