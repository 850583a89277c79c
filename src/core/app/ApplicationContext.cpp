#include "app/ApplicationContext.h"

#include "app/Application.h"
#include "base/SettingsStore.h"
#include "comm/CommandFraming.h"
#include "comm/DeviceInfo.h"
#include "files/WorkFiles.h"

namespace vormex {
namespace {

ReadBackResult readBack(Application& app, const SettingsStore& store, const LinkSettings& link, ParameterFileKind kind,
                        WorkFileKind workFileKind)
{
    ReadBackCheck check;
    check.printer = app.selectedPrinter();
    check.labelShiftOmitted = app.labelShiftOmitted();
    check.state = &app.parameterCheck;
    const auto keepWorkFile = [&store, workFileKind](const QByteArray& received) {
        return writeWorkFile(store, static_cast<int>(workFileKind), received).errorMessage;
    };
    return ReadParameterFileBack(kind, link, check, keepWorkFile);
}

}  // namespace

namespace {

LinkSettings linkFor(const Application& app, const SettingsStore& store, const QString& printerName,
                     const PrinterDefinition* printer, const QString& deviceInfo, const QString& selectedUsbPath)
{
    LinkSettings settings;
    settings.deviceInfo = deviceInfo;
    DeviceInfoParts parts;
    if (SplitDeviceInfo(settings.deviceInfo, parts) && PortKindOf(parts.kind) == PortKind::Usb)
        settings.usbDevicePath = parts.address.isEmpty() ? selectedUsbPath : parts.address;
    settings.codes = CommandCodesFor(printer, app.controlCodes);
    settings.printerName = printerName;
    settings.variableControlCodes = printer && printer->variableControlCodes != 0;
    settings.waitTimeMs = app.waitTimeMs > 0 ? app.waitTimeMs : settings::kDefaultWaitTimeMs;
    settings.portMap = PortMap(&store);
    settings.strings = app.strings;
    return settings;
}

}  // namespace

LinkSettings LinkForDevice(const Application& app, const SettingsStore& store, const std::optional<QString>& deviceInfo,
                           const QString& selectedUsbPath)
{
    return linkFor(app, store, app.selectedPrinterName, app.selectedPrinter(), deviceInfo.value_or(app.deviceInfo), selectedUsbPath);
}

LinkSettings LinkForPrinter(const Application& app, const SettingsStore& store, const PrinterDefinition& printer,
                            const QString& deviceInfo)
{
    return linkFor(app, store, printer.name, &printer, deviceInfo, {});
}

PrepareContext PrepareContextFor(Application& app, const SettingsStore* store)
{
    PrepareContext context;
    context.store = store;
    context.strings = app.strings;
    context.languageValue = app.languageValue;
    context.definitions = &app.printerDefinitions;
    context.printer = app.selectedPrinter();
    context.check = &app.parameterCheck;
    return context;
}

ReadBackResult ReadSystemParametersBack(Application& app, const SettingsStore& store, const LinkSettings& link)
{
    return readBack(app, store, link, ParameterFileKind::SystemParameters, WorkFileKind::GetSystemParam);
}

ReadBackResult ReadInitialTableBack(Application& app, const SettingsStore& store, const LinkSettings& link)
{
    return readBack(app, store, link, ParameterFileKind::InitialTable, WorkFileKind::GetInitial);
}

}  // namespace vormex
