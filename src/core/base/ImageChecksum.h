#pragma once

#include <QByteArray>

#include <cstdint>

namespace vormex {

// The one-byte checksum of a data area: the two's complement of the 8-bit sum of its bytes, so
// that the area plus the checksum sums to 0 modulo 256.
std::uint8_t ImageChecksum(const char* data, qsizetype length);
inline std::uint8_t ImageChecksum(const QByteArray& area) { return ImageChecksum(area.constData(), area.size()); }

}  // namespace vormex
