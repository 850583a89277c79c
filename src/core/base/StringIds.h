#pragma once

// Numbers of the strings that the code names directly. Message numbers that a subsystem alone
// uses are kept beside that subsystem.
namespace vormex::strings {

inline constexpr int kSocketInitFailed = 104;
inline constexpr int kEnglishResourceFile = 1000;
inline constexpr int kDefinitionFile = 1001;
inline constexpr int kApplicationTitle = 57344;

// Messages shown by more than one subsystem.
inline constexpr int kRangeMessage = 800;           // "%s" with a range in tenths shown as %d.%d
inline constexpr int kDeviceOpenError = 8023;
inline constexpr int kParameterGetFailed = 8042;
inline constexpr int kParameterNotInPrinter = 8043;
inline constexpr int kParameterGetDone = 8045;
inline constexpr int kEnterInteger = 61712;
inline constexpr int kEnterIntegerInRange = 61714;  // Qt-style %1 and %2

// Keyword tables of the BASIC encoder.
inline constexpr int kStatementTable = 3000;
inline constexpr int kFunctionTable = 4000;
inline constexpr int kOperatorTable = 5000;

}  // namespace vormex::strings
