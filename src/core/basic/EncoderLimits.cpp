#include "basic/EncoderLimits.h"

namespace vormex::basic {

const EncoderLimits& EncoderLimitsFor(int programKind)
{
    static constexpr EncoderLimits kMain{1000, 500, 1000, 10000, 512, 50, 0x33300,
                                         msg::kLabelOverMain, msg::kWhileOverMain, msg::kWendOverMain,
                                         msg::kForOverMain, msg::kNextOverMain, msg::kLineOverMain,
                                         msg::kVariableOverMain, msg::kBodyOverMain};
    static constexpr EncoderLimits kSystem{200, 100, 200, 2000, 256, 50, 0xAE00,
                                           msg::kLabelOverSystem, msg::kWhileOverSystem, msg::kWendOverSystem,
                                           msg::kForOverSystem, msg::kNextOverSystem, msg::kLineOverSystem,
                                           msg::kVariableOverSystem, msg::kBodyOverSystem};
    return programKind == kMainProgram ? kMain : kSystem;
}

}  // namespace vormex::basic
