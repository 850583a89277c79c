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

// Checks of the values a parameter file holds ("%1" the item as the definitions name it).
inline constexpr int kValueNotInList = 310000;        // "%1" item, "%2" value
inline constexpr int kValueNotHexPair = 310001;       // "%1" item, "%2" text
inline constexpr int kValueNotFlag = 310002;          // "%1" item, "%2" text
inline constexpr int kTextNotInFileList = 310003;     // "%1" item, "%2" text, "%3" the file's printer
inline constexpr int kItemMissing = 310004;           // "%1" printer, "%2" item
inline constexpr int kValueNotSwitchWord = 310005;    // "%1" item, "%2" text, "%3" or "%4" the words
inline constexpr int kValueNotWholeNumber = 310006;   // "%1" item, "%2" text

// Keyword tables of the BASIC encoder.
inline constexpr int kStatementTable = 3000;
inline constexpr int kFunctionTable = 4000;
inline constexpr int kOperatorTable = 5000;

}  // namespace vormex::strings
