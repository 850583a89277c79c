#include "gui/application/SystemServices.h"

#include "comm/PortListing.h"
#include "comm/PortMap.h"
#include "comm/UsbEnumeration.h"
#include "comm/VormexSwitch.h"

#include <QProcess>

#include <cstring>

namespace vormex::gui {
namespace {

QList<PortEntry> entriesOf(const QList<PortName>& names)
{
    QList<PortEntry> entries;
    for (const PortName& port : names)
        entries.append({port.name, port.devicePath});
    return entries;
}

}  // namespace

bool StartDetachedProgram(const QString& program, const QString& workingDir)
{
    return QProcess::startDetached(program, {}, workingDir);
}

void SendVormexSwitchOverPort(const VormexSwitchRequest& request)
{
    SendVormexSwitch(request.on, request.link);
}

QList<PortEntry> SystemPortCatalog::serialPorts() const { return entriesOf(ListSerialPorts(PortMap(store_))); }

QList<PortEntry> SystemPortCatalog::parallelPorts() const { return entriesOf(ListParallelPorts(PortMap(store_))); }

std::pair<QList<PortEntry>, QList<PortEntry>> SystemPortCatalog::serialAndParallelPorts() const
{
    const PortMap ports(store_);
    return {entriesOf(ListSerialPorts(ports)), entriesOf(ListParallelPorts(ports))};
}

UsbPrinterList SystemPortCatalog::usbPrinters() const
{
    UsbPrinterList list;
    QList<UsbProblem> problems;
    EnumerateUsbPrinters(list.paths, list.names, UsbRoots{}, &problems);
    for (const UsbProblem& problem : problems) {
        const QString device = problem.modelName.isEmpty()
                                   ? problem.devicePath
                                   : QStringLiteral("%1 (%2)").arg(problem.modelName, problem.devicePath);
        list.unreachable.append({device, QString::fromLocal8Bit(std::strerror(problem.error))});
    }
    return list;
}

}  // namespace vormex::gui
