#pragma once

// Numbers of the strings that the code names directly. Message numbers that a subsystem alone
// uses are kept beside that subsystem.
namespace vormex::strings {

inline constexpr int kSocketInitFailed = 104;
inline constexpr int kEnglishResourceFile = 1000;
inline constexpr int kDefinitionFile = 1001;
inline constexpr int kApplicationTitle = 57344;

// Keyword tables of the BASIC encoder.
inline constexpr int kStatementTable = 3000;
inline constexpr int kFunctionTable = 4000;
inline constexpr int kOperatorTable = 5000;

}  // namespace vormex::strings
