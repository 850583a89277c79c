#pragma once

#include <QString>
#include <QStringView>

// Reading the fields of a comma-separated parameter line, and numbers in text the way the C
// library converts them (leading blanks, an optional sign, digits up to the first other
// character; no digits gives 0).
namespace vormex {

// Blanks are space, \t, \n, \v, \f and \r; digits are the ASCII ones. A value beyond the type's
// range clamps to its nearest limit (as the 32-bit C library's atoi and strtoll do).
int CDecimal(QStringView text);
qint64 CDecimal64(QStringView text);

QString FieldAt(const QString& line, int n);
int IntFieldAt(const QString& line, int n);
// sscanf("%X") on the upper-cased field: blanks skipped, an optional sign and "0X" prefix,
// hexadecimal digits; 0 when nothing is readable. A minus sign negates the value modulo 2^32;
// a value beyond 32 bits gives 0xFFFFFFFF (-1) whatever the sign.
int HexFieldAt(const QString& line, int n);

}  // namespace vormex
