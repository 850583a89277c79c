#include "base/ImageChecksum.h"

namespace vormex {

std::uint8_t ImageChecksum(const char* data, qsizetype length)
{
    std::uint8_t sum = 0;
    for (qsizetype i = 0; i < length; ++i)
        sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(data[i]));
    return static_cast<std::uint8_t>(-sum);
}

}  // namespace vormex
