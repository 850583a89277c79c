#include "app/Application.h"

#include "app/DataFiles.h"
#include "base/SettingsStore.h"
#include "base/StringIds.h"
#include "definitions/Lookups.h"

namespace vormex {

const PrinterDefinition* Application::selectedPrinter() const
{
    return FindPrinterModel(printerDefinitions, selectedPrinterName);
}

bool Application::labelShiftOmitted() const
{
    const PrinterDefinition* printer = selectedPrinter();
    return printer && printer->labelShiftOmitted != 0;
}

void StartApplication(Application& app, const SettingsStore& store, const StartupOptions& options)
{
    const AppSettings stored = readAppSettings(store);

    const QString language = options.language.isEmpty() ? stored.language : options.language;
    app.languageValue = language == QLatin1String("JPN") ? 1 : 0;
    app.languageChoice = chooseLanguage(language, app.strings, datafiles::programDataDirs());
    app.japaneseUi = app.languageChoice.japaneseUi;

    app.definitionFilePath = options.definitionFile.isEmpty()
                                 ? datafiles::locateDefinitionFile(app.strings.text(strings::kDefinitionFile))
                                 : options.definitionFile;
    app.printerDefinitions.clear();
    app.definitionError = {};
    app.definitionsLoaded = LoadDefinitions(app.definitionFilePath, app.printerDefinitions, &app.definitionError);

    app.selectedPrinterName.clear();
    for (const PrinterDefinition& entry : app.printerDefinitions) {
        if (IsPrinterModel(entry)) {
            app.selectedPrinterName = entry.name;
            break;
        }
    }
    if (!stored.printerName.isEmpty())
        app.selectedPrinterName = stored.printerName;
    if (!options.printerName.isEmpty())
        app.selectedPrinterName = options.printerName;

    app.deviceInfo = stored.deviceInfo;
    app.ttfDownloaderPath = stored.ttfDownloaderPath;
    app.waitTimeMs = stored.waitTimeMs;
    app.controlCodes = stored.controlCodes;
    app.applicationLook = stored.applicationLook;
    app.headerIcon = stored.headerIcon;
    app.headerDeviceInfo = stored.headerDeviceInfo;
    app.windowsPos = stored.windowsPos;
}

}  // namespace vormex
