#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace vormex::gui {

// A port name the port layer opens ("COM1", "LPT1") and the device it maps to, for display.
struct PortEntry {
    QString name;
    QString device;
};

// The connected USB printers: device paths and model names, at the same index.
struct UsbPrinterList {
    QStringList paths;
    QStringList names;
    // Printers that are there but could not be opened: the device path and the reason.
    QList<std::pair<QString, QString>> unreachable;
};

// Where the printer settings page gets its port lists from.
class PortCatalog {
public:
    virtual ~PortCatalog() = default;
    virtual QList<PortEntry> serialPorts() const = 0;
    virtual QList<PortEntry> parallelPorts() const = 0;
    virtual UsbPrinterList usbPrinters() const = 0;
    // Both lists at once (a catalog that reads the system reads it once).
    virtual std::pair<QList<PortEntry>, QList<PortEntry>> serialAndParallelPorts() const
    {
        return {serialPorts(), parallelPorts()};
    }
};

// A catalog with fixed lists (tests, screenshots).
class FixedPortCatalog : public PortCatalog {
public:
    QList<PortEntry> serial;
    QList<PortEntry> parallel;
    UsbPrinterList usb;

    QList<PortEntry> serialPorts() const override { return serial; }
    QList<PortEntry> parallelPorts() const override { return parallel; }
    UsbPrinterList usbPrinters() const override { return usb; }
};

}  // namespace vormex::gui
