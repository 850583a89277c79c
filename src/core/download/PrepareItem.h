#pragma once

#include "download/DownloadJob.h"

#include <QString>

namespace vormex {

class SettingsStore;

// What preparing a file item needs besides the job.
struct PrepareContext {
    const SettingsStore* store = nullptr;  // for the work-file copy of an envelope; none: no copy
    int languageValue = 1;                 // the BASIC scanner's language setting (1 Japanese)
};

// Prepares the job's item of `type` from the file at `path`: the firmware image and its request,
// the test file's bytes, a BASIC program's envelope through the encoder, or a parameter file's
// envelope through its conversion. Gives 1 or 0; on 0 the item is emptied and `errorMessage`
// (when given) holds the reason, empty where the page shows nothing.
int PrepareItem(DownloadJob& job, int type, const QString& path, const PrepareContext& context,
                QString* errorMessage = nullptr);

}  // namespace vormex
