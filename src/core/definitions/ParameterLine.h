#pragma once

#include <QString>
#include <QStringView>

// Reading the fields of a comma-separated parameter line, and numbers in text the way the C
// library converts them (leading blanks, an optional sign, digits up to the first other
// character; no digits gives 0).
namespace vormex {

int CDecimal(QStringView text);        // 32-bit, wraps like the C library on overflow-free input
qint64 CDecimal64(QStringView text);

QString FieldAt(const QString& line, int n);
int IntFieldAt(const QString& line, int n);
int HexFieldAt(const QString& line, int n);

}  // namespace vormex
