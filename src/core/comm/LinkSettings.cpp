#include "comm/LinkSettings.h"

#include "app/Application.h"

namespace vormex {

LinkSettings LinkSettings::fromApplication(const Application& app, const QString& usbDevicePath, PortMap portMap)
{
    LinkSettings settings;
    settings.deviceInfo = app.deviceInfo;
    settings.usbDevicePath = usbDevicePath;
    settings.codes = app.controlCodes;
    settings.printerName = app.selectedPrinterName;
    if (const PrinterDefinition* printer = app.selectedPrinter())
        settings.variableControlCodes = printer->variableControlCodes != 0;
    settings.waitTimeMs = app.waitTimeMs > 0 ? app.waitTimeMs : 20000;
    settings.portMap = std::move(portMap);
    settings.strings = app.strings;
    return settings;
}

}  // namespace vormex
