#pragma once

#include <cstdint>

namespace vormex {

// The three bytes that frame every command, and the user's choice of them:
// type 0 "automatic" and 1 use ESC, LF, NUL; type 2 the braces "{", "|", "}"; type 3 codes of
// the user's own.
struct ControlCodes {
    int type = 0;
    std::uint8_t code1 = 0x1B;
    std::uint8_t code2 = 0x0A;
    std::uint8_t code3 = 0x00;

    // The codes a type gives; for type 3 the low bytes of the three manual values.
    static ControlCodes forType(int type, int manual1 = 27, int manual2 = 10, int manual3 = 0);

    friend bool operator==(const ControlCodes&, const ControlCodes&) = default;
};

}  // namespace vormex
