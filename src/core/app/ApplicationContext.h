#pragma once

#include "comm/LinkSettings.h"
#include "comm/ParameterReadBack.h"
#include "download/PrepareItem.h"

#include <QString>

#include <optional>

namespace vormex {

struct Application;
struct PrinterDefinition;
class SettingsStore;

// The connection an action opens for the application's current choices. `deviceInfo` is the
// device text to use (none: the stored one). For USB the device path is the text after "USB:"
// when there is one (the command line's form), else `selectedUsbPath` (the printer chosen on the
// printer settings page). COM and LPT names go through the store's port map.
LinkSettings LinkForDevice(const Application& app, const SettingsStore& store,
                           const std::optional<QString>& deviceInfo = std::nullopt, const QString& selectedUsbPath = {});

// The connection to a printer of the model `printer` (a fleet's target), with that model's name,
// its control-code rule and the codes it takes, at `deviceInfo`.
LinkSettings LinkForPrinter(const Application& app, const SettingsStore& store, const PrinterDefinition& printer,
                            const QString& deviceInfo);

// What preparing a download item needs, taken from the application: its messages, the BASIC
// language, the definitions and the selected printer. With a store, every envelope is copied as
// a work file when that switch is on.
PrepareContext PrepareContextFor(Application& app, const SettingsStore* store);

// Reads the system parameter file back ("!B") and checks its line against the selected
// printer's format. The raw bytes are written as a work file of kind 3.
ReadBackResult ReadSystemParametersBack(Application& app, const SettingsStore& store, const LinkSettings& link);
// Reads the initial value & table file back ("!D") and checks it section by section; kind 4.
ReadBackResult ReadInitialTableBack(Application& app, const SettingsStore& store, const LinkSettings& link);

}  // namespace vormex
