#include "discovery/FoundDevice.h"

#include <tuple>

namespace vormex {

bool ScanOrder(const FoundDevice& a, const FoundDevice& b)
{
    return std::tuple(a.kind, a.ipv4, a.port, a.usbNumber) < std::tuple(b.kind, b.ipv4, b.port, b.usbNumber);
}

}  // namespace vormex
