#pragma once

#include "comm/PortMap.h"

namespace vormex {

// The port names the settings page offers, with the device each opens, for display.
QList<PortName> ListSerialPorts(const PortMap& portMap);
QList<PortName> ListParallelPorts(const PortMap& portMap);

}  // namespace vormex
