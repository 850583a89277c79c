#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The number conversions of the program. Files and device texts are read the way the C library
// reads them (the printer's own file reader and the stored settings rely on that); what a user
// types is read strictly.
namespace vormex {

// A run of ASCII decimal digits at the start of `text`. The value saturates at `limit` (the
// remaining digits are still consumed), so no text overflows.
struct DigitRun {
    std::uint64_t value = 0;
    qsizetype length = 0;  // characters consumed; 0 when `text` does not start with a digit
};
DigitRun ScanDigits(QStringView text, std::uint64_t limit);

// The plain decimal conversion of the C library (atoi, "%d"): leading blanks (space, tab, line
// feed, vertical tab, form feed, carriage return), an optional sign, then digits up to the first
// other character; 0 when there are none. The result saturates at `low` and `high`.
struct DecimalScan {
    qint64 value = 0;
    qsizetype end = 0;    // the position after the last digit (0 when there are none)
    bool digits = false;  // at least one digit was read
};
DecimalScan ScanCDecimal(QStringView text, qint64 low, qint64 high);
// The same, saturating at the limits of int and of a 64-bit integer.
int CDecimal(QStringView text);
qint64 CDecimal64(QStringView text);

// The hexadecimal conversion of the C library ("%X"): leading blanks, an optional sign, an
// optional "0X"/"0x" prefix, then hexadecimal digits; 0 when there are none. A minus sign
// negates the value modulo 2^32; a value beyond 32 bits gives 0xFFFFFFFF whatever the sign.
std::uint32_t CHex32(QStringView text);

// A whole number as a user types it: blanks around it, an optional sign and decimal digits,
// nothing else. Gives nothing for an empty text, any other character, or a value beyond int.
std::optional<int> ParseWholeNumber(QStringView text);

}  // namespace vormex
