#pragma once

#include "base/ControlCodes.h"
#include "base/SettingNames.h"

#include <QString>

namespace vormex {

class SettingsStore;

// The values that start-up and the main window read from the store, with the store's
// defaults and its only corrections applied.
struct AppSettings {
    QString language;            // as stored; "JPN" exactly means Japanese
    int applicationLook = settings::kDefaultApplicationLook;
    int headerIcon = 1;
    int headerDeviceInfo = 1;
    int waitTimeMs = settings::kDefaultWaitTimeMs;
    QString printerName;         // empty when the stored value is empty (keep the pre-selection)
    QString deviceInfo;
    QString ttfDownloaderPath;
    ControlCodes controlCodes;
    QString windowsPos;

    // 1 when the language setting asks for Japanese ("JPN", exactly).
    int languageValue() const { return language == QLatin1String("JPN") ? 1 : 0; }
};

AppSettings readAppSettings(const SettingsStore& store);

// Writes the control-code type and the three codes (each byte as 0..255).
void saveControlCodes(SettingsStore& store, const ControlCodes& codes);

}  // namespace vormex
