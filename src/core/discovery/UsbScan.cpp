#include "discovery/UsbScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace vormex {
namespace {

QString deviceIdOf(const UsbRoots& roots, const QString& nodeName)
{
    QFile attribute(QDir(roots.classFolder).filePath(nodeName + QStringLiteral("/device/ieee1284_id")));
    if (!attribute.open(QIODevice::ReadOnly))
        return {};
    const QByteArray id = attribute.readAll().trimmed();
    const qsizetype nul = id.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? id : id.left(nul));
}

}  // namespace

QList<FoundDevice> ListUsbPrintersFromSysfs(const UsbRoots& roots, bool includeOthers)
{
    static const QRegularExpression nodePattern(QStringLiteral("^lp(\\d+)$"));
    QList<FoundDevice> found;
    const QStringList nodes = QDir(roots.classFolder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& node : nodes) {
        const QRegularExpressionMatch match = nodePattern.match(node);
        if (!match.hasMatch())
            continue;
        FoundDevice device;
        device.kind = FoundDevice::Kind::Usb;
        device.usbNumber = match.captured(1).toInt();
        device.device = QStringLiteral("USB:") + QDir(roots.deviceFolder).filePath(node);
        device.model = ModelNameFromDeviceId(deviceIdOf(roots, node));
        device.outcome = device.model.isEmpty() ? ProbeOutcome::NotAPrinter : ProbeOutcome::Printer;
        if (device.isPrinter() || includeOthers)
            found.append(device);
    }
    std::sort(found.begin(), found.end(), ScanOrder);
    return found;
}

QString UsbModelFromSysfs(const QString& devicePath, const UsbRoots& roots)
{
    return ModelNameFromDeviceId(deviceIdOf(roots, QFileInfo(devicePath).fileName()));
}

}  // namespace vormex
