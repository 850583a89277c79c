#pragma once

#include "gui/application/PortCatalog.h"
#include "gui/application/VORMEXSettingToolApp.h"

namespace vormex {
class SettingsStore;
}

namespace vormex::gui {

// Starts a program without waiting for it, in the given working folder, with no arguments.
bool StartDetachedProgram(const QString& program, const QString& workingDir);

// Sends "!Z" (on) or "!T" (off) through the port layer and closes the port after a second.
// Blocks for that second: call it off the user-interface thread.
void SendVormexSwitchOverPort(const VormexSwitchRequest& request);

// The ports of this system, as the port layer names and opens them.
class SystemPortCatalog : public PortCatalog {
public:
    explicit SystemPortCatalog(const SettingsStore* store) : store_(store) {}
    QList<PortEntry> serialPorts() const override;
    QList<PortEntry> parallelPorts() const override;
    UsbPrinterList usbPrinters() const override;
    std::pair<QList<PortEntry>, QList<PortEntry>> serialAndParallelPorts() const override;

private:
    const SettingsStore* store_;
};

}  // namespace vormex::gui
