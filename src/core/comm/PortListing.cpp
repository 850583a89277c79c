#include "comm/PortListing.h"

namespace vormex {

QList<PortName> ListSerialPorts(const PortMap& portMap) { return portMap.serialPorts(); }
QList<PortName> ListParallelPorts(const PortMap& portMap) { return portMap.parallelPorts(); }

}  // namespace vormex
