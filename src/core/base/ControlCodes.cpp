#include "base/ControlCodes.h"

namespace vormex {

ControlCodes ControlCodes::forType(int type, int manual1, int manual2, int manual3)
{
    ControlCodes codes;
    codes.type = type;
    if (type == 2) {
        codes.code1 = '{';
        codes.code2 = '|';
        codes.code3 = '}';
    } else if (type == 3) {
        codes.code1 = static_cast<std::uint8_t>(manual1 & 0xFF);
        codes.code2 = static_cast<std::uint8_t>(manual2 & 0xFF);
        codes.code3 = static_cast<std::uint8_t>(manual3 & 0xFF);
    }
    return codes;
}

}  // namespace vormex
