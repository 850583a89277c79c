#include "SystemServices.h"

#include "timing/PacingClock.h"

#include <QProcess>

namespace vormex::gui {

bool StartDetachedProgram(const QString& program, const QString& workingDir)
{
    return QProcess::startDetached(program, {}, workingDir);
}

void SendVormexSwitchOverPort(const VormexSwitchRequest&)
{
    pacing::pause(1000);
}

QList<PortEntry> SystemPortCatalog::serialPorts() const { return {}; }

QList<PortEntry> SystemPortCatalog::parallelPorts() const { return {}; }

UsbPrinterList SystemPortCatalog::usbPrinters() const { return {}; }

}  // namespace vormex::gui
