#pragma once

#include "comm/LinkSettings.h"

namespace vormex {

// What a switch did; the tools page shows nothing either way, the command line may.
struct VormexSwitchResult {
    bool usable = false;  // the device-info text could be split
    bool opened = false;
    bool written = false;
    QString problem;      // the device and the reason it did not open or take the command
};

// Sends "!Z" (on) or "!T" (off), pauses a second whether or not the port opened, and closes.
// The printer's answer is not read.
VormexSwitchResult SendVormexSwitch(bool on, const LinkSettings& link);

}  // namespace vormex
