#pragma once

#include "base/ControlCodes.h"
#include "definitions/PrinterDefinition.h"
#include "download/ParameterFileDownload.h"
#include "sysparam/SystemParameterSet.h"

#include <QByteArray>
#include <QString>

// The rules of the parameter pages' download button that do not depend on widgets: what the
// parameter file download dialog is opened with.
namespace vormex {

class StringTable;

// "The definitions of the printer %1 have no storage allocation."
inline constexpr int kNoAllocationText = 300120;

// The dialog's inputs: the request (kind, envelope, proposed start block, block count) and the
// range the start block may take.
struct ParameterDownloadSetup {
    FileDownloadRequest request;
    int startBlockMin = 0;
    int startBlockMax = 0;
    QString error;  // why nothing can be sent; empty when the setup is ready
    bool ok() const { return error.isEmpty(); }
};

// The setup for a data area on a printer: the store-file envelope with the current control
// codes, the printer's BASIC block range, the start block its allocation names for `kind`, and
// two blocks where the storage blocks are 128 KB (one otherwise). A printer without an
// allocation cannot take the file.
ParameterDownloadSetup PrepareParameterDownload(FileDownloadRequest::Kind kind, const QByteArray& area,
                                                const PrinterDefinition& printer, const ControlCodes& codes,
                                                const StringTable& strings);

// The system parameter page's download: the parameter line of the set in "QUILLPRM.TXT".
ParameterDownloadSetup PrepareSystemParameterDownload(const SystemParameterSet& set, const PrinterDefinition& printer,
                                                      const ControlCodes& codes, const StringTable& strings);

}  // namespace vormex
