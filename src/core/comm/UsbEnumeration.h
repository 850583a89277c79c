#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vormex {

// Where the USB printer nodes and their sysfs attributes are found; tests build a fake tree.
struct UsbRoots {
    QString deviceFolder = QStringLiteral("/dev/usb");           // lp0, lp1, ... (usblp)
    QString classFolder = QStringLiteral("/sys/class/usbmisc");  // lp0/device/ieee1284_id
};

// A printer node that is there but could not be opened (busy, not permitted): the settings
// page tells the user why instead of hiding the printer.
struct UsbProblem {
    QString devicePath;
    QString modelName;  // from sysfs when it could be read there; may be empty
    int error = 0;      // errno of the failed open
};

// The model name of an IEEE 1284 device ID when it is one of ours: the text after the last ':'
// beginning "ORN Q-" or "KALDERA Q-", one trailing ';' removed, at most 255 characters.
// Empty when the device is another maker's.
QString ModelNameFromDeviceId(const QString& deviceId);

// Appends the node path and model name of every connected printer of ours to `paths` and
// `names` (same index). Gives 1 when the enumeration ran to its end. Nodes that could not be
// opened are added to `problems` when given.
int EnumerateUsbPrinters(QStringList& paths, QStringList& names, const UsbRoots& roots = {},
                         QList<UsbProblem>* problems = nullptr);

}  // namespace vormex
