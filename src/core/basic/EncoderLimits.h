#pragma once

namespace vormex::basic {

// Numbers of the encoder's messages in the string table. Of each pair the first belongs to the
// main program, the second to the system-mode program.
namespace msg {
inline constexpr int kSourceUnreadable = 2000;     // "Encodeing failure"
inline constexpr int kLinefeedError = 2001;        // "%d : Linefeed Error"
inline constexpr int kLabelOverMain = 2002;
inline constexpr int kLabelOverSystem = 2003;
inline constexpr int kWhileOverMain = 2004;
inline constexpr int kWhileOverSystem = 2005;
inline constexpr int kWendOverMain = 2006;
inline constexpr int kWendOverSystem = 2007;
inline constexpr int kWhileWendError = 2008;       // "%d : WHILE and WEND Error"
inline constexpr int kForOverMain = 2009;
inline constexpr int kForOverSystem = 2010;
inline constexpr int kNextOverMain = 2011;
inline constexpr int kNextOverSystem = 2012;
inline constexpr int kForNextError = 2013;         // "%d : FOR and NEXT Error"
inline constexpr int kLabelOrLineError = 2014;     // "%d : Label or Line number Error"
inline constexpr int kLineLengthOver = 2015;       // "%d :Encoded Line Length Over Error"
inline constexpr int kLineOverMain = 2016;
inline constexpr int kLineOverSystem = 2017;
inline constexpr int kVariableOverMain = 2018;
inline constexpr int kVariableOverSystem = 2019;
inline constexpr int kArrayOver = 2020;
inline constexpr int kBodyOverMain = 2021;
inline constexpr int kBodyOverSystem = 2022;
}  // namespace msg

// Program kinds: the main program uses the large image layout and limits, the system-mode
// program the small ones.
inline constexpr int kSystemModeProgram = 0;
inline constexpr int kMainProgram = 1;

// The room the printer's interpreter reserves for each table of one program kind, with the
// messages that report an overflow.
struct EncoderLimits {
    int labels;
    int whileLoops;
    int forLoops;
    int lines;
    int variables;
    int arrays;
    int bodyBytes;
    int labelOverMessage;
    int whileOverMessage;
    int wendOverMessage;
    int forOverMessage;
    int nextOverMessage;
    int lineOverMessage;
    int variableOverMessage;
    int bodyOverMessage;
};

// A label name longer than this is not registered, and a jump to it is an error.
inline constexpr int kMaxLabelNameLength = 12;
// A record may hold at most this many bytes before its end byte (length byte included).
inline constexpr int kMaxRecordBytes = 256;

const EncoderLimits& EncoderLimitsFor(int programKind);

}  // namespace vormex::basic
