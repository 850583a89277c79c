#pragma once

#include "base/Numbers.h"

#include <QString>
#include <QStringView>

// Reading the fields of a comma-separated parameter line; their numbers are read the way the C
// library converts them (base/Numbers.h).
namespace vormex {

QString FieldAt(const QString& line, int n);
int IntFieldAt(const QString& line, int n);
// sscanf("%X") on the upper-cased field: blanks skipped, an optional sign and "0X" prefix,
// hexadecimal digits; 0 when nothing is readable. A minus sign negates the value modulo 2^32;
// a value beyond 32 bits gives 0xFFFFFFFF (-1) whatever the sign.
int HexFieldAt(const QString& line, int n);

}  // namespace vormex
