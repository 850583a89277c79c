#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vormex::basic {

// A name (variable, array, label, file) as the printer stores it: in its code page, CP932.
QByteArray nameBytes(const QString& name);

// The value of the leading decimal digits of a text, as the C library reads an unsigned number
// (saturated at the largest 32-bit value); 0 when it has none.
std::uint32_t leadingDecimal(QStringView text);

inline bool startsWithDigit(QStringView text)
{
    return !text.isEmpty() && text[0].unicode() >= '0' && text[0].unicode() <= '9';
}

}  // namespace vormex::basic
