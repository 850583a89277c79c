#pragma once

#include "base/StringTable.h"
#include "definitions/ParameterCheck.h"
#include "definitions/PrinterDefinition.h"
#include "download/DownloadJob.h"

#include <QString>

namespace vormex {

class SettingsStore;

// What preparing a file item needs besides the job.
struct PrepareContext {
    const SettingsStore* store = nullptr;           // for the work-file copy of an envelope; none: no copy
    StringTable strings = StringTable::builtIn();   // the encoder's messages
    int languageValue = 1;                          // the BASIC source's language (1 Japanese, 0 English)
    // The parameter files are checked and converted against these (none: they cannot be prepared).
    const PrinterDefinitions* definitions = nullptr;
    const PrinterDefinition* printer = nullptr;
    ParameterCheckState* check = nullptr;
};

// Prepares the job's item of `type` from the file at `path`: the firmware image and its request,
// the test file's bytes, a BASIC program's envelope through the encoder, or a parameter file's
// envelope through its check and conversion. Every envelope is copied as a work file (kind 0).
// Gives 1 or 0; on 0 the item is emptied and `errorMessage` (when given) holds the reason: the
// encoder's or the conversion's message, or the file error. `detail` (when given) receives what
// the message does not say itself and a console shows on a line before it: where in the file a
// line check or the encoder failed ("field 9, MAXIMUM LENGTH"; "main.bas:12: GOTO *lower").
int PrepareItem(DownloadJob& job, int type, const QString& path, const PrepareContext& context,
                QString* errorMessage = nullptr, QString* detail = nullptr);

}  // namespace vormex
