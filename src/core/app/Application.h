#pragma once

#include "app/AppSettings.h"
#include "app/Language.h"
#include "base/ControlCodes.h"
#include "base/StringTable.h"
#include "definitions/DefinitionReader.h"
#include "definitions/ParameterCheck.h"
#include "definitions/PrinterDefinition.h"

#include <QString>

namespace vormex {

class SettingsStore;

// What the caller may decide instead of the stored settings (the command-line tool's options).
struct StartupOptions {
    QString definitionFile;  // empty: the file named by string 1001, looked up as usual
    QString printerName;     // empty: the stored "Printer Name", else the pre-selection
    QString language;        // empty: the stored "Language"; else "JPN" or "ENG"
};

// The application object: one per process, holding the definitions, the chosen printer and
// interface and the process-wide settings that every part reads.
struct Application {
    StringTable strings = StringTable::builtIn();
    LanguageChoice languageChoice;
    int languageValue = 0;  // 1 Japanese ("JPN"), 0 English: the BASIC scanner's setting

    PrinterDefinitions printerDefinitions;
    QString definitionFilePath;   // the file that was read (or tried)
    int definitionsLoaded = 0;    // result of LoadDefinitions
    DefinitionLoadError definitionError;

    QString selectedPrinterName;
    QString deviceInfo;
    QString ttfDownloaderPath;
    int waitTimeMs = 0;
    ControlCodes controlCodes;
    int japaneseUi = 0;
    int applicationLook = 0;
    int headerIcon = 0;
    int headerDeviceInfo = 0;
    int highColour = 0;
    int restartRequested = 0;
    QString windowsPos;
    ParameterCheckState parameterCheck;

    // The printer model named by selectedPrinterName; nullptr when none has that name (the
    // template "standard" is no model).
    const PrinterDefinition* selectedPrinter() const;
    // The selected printer's flag that allows a parameter line one field short.
    bool labelShiftOmitted() const;
};

// The start-up steps that need no window: choose the language resources, load the definition
// file, pre-select a printer and take the stored settings.
void StartApplication(Application& app, const SettingsStore& store, const StartupOptions& options = {});

}  // namespace vormex
