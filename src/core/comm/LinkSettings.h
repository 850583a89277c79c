#pragma once

#include "base/ControlCodes.h"
#include "base/StringTable.h"
#include "comm/PortMap.h"

#include <QString>

#include <atomic>
#include <memory>

namespace vormex {

// What a connection to the printer needs from the application, passed in explicitly.
struct LinkSettings {
    QString deviceInfo;         // "LAN:127.0.0.1:9100", "COM3:9600,8,none,1", "LPT1:", "USB:"
    QString usbDevicePath;      // the selected USB printer's node; empty when none is selected
    ControlCodes codes;         // the current control codes
    QString printerName;        // the selected printer entry's name
    bool variableControlCodes = false;
    int waitTimeMs = 20000;     // "Wait Time"
    PortMap portMap;
    StringTable strings = StringTable::builtIn();
    // The owner's cancel, shared with the thread that sets it: once it is set, a read-back in
    // progress closes its port within 100 ms. None: the action runs to its end.
    std::shared_ptr<const std::atomic<bool>> cancel;
};

}  // namespace vormex
