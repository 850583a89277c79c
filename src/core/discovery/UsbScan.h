#pragma once

#include "comm/UsbEnumeration.h"
#include "discovery/FoundDevice.h"

#include <QList>

namespace vormex {

// The USB printer nodes (usblp) with their device ID read from sysfs
// (`<classFolder>/lpN/device/ieee1284_id`), without opening a node, so no rights are needed. A
// node whose ID names one of our models is a printer with that model; with `includeOthers`
// every other node is listed too, as no printer.
QList<FoundDevice> ListUsbPrintersFromSysfs(const UsbRoots& roots, bool includeOthers = false);

// The model that sysfs names for a node such as /dev/usb/lp0; empty when not known or not ours.
QString UsbModelFromSysfs(const QString& devicePath, const UsbRoots& roots = {});

}  // namespace vormex
