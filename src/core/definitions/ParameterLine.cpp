#include "definitions/ParameterLine.h"

#include <cstdint>
#include <limits>

namespace vormex {
namespace {

bool isCBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\v' || u == u'\f' || u == u'\r';
}

bool isAsciiDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

// Leading blanks, an optional sign, then decimal digits up to the first other character. The
// magnitude saturates at the largest magnitude of the caller's type (`positiveLimit`, one more
// for a negative number), so an overflowing text clamps instead of wrapping.
qint64 readDecimal(QStringView text, quint64 positiveLimit)
{
    qsizetype i = 0;
    while (i < text.size() && isCBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const quint64 limit = negative ? positiveLimit + 1 : positiveLimit;
    quint64 magnitude = 0;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i) {
        const quint64 digit = text[i].unicode() - u'0';
        if (magnitude > (limit - digit) / 10)
            magnitude = limit;  // saturated; the remaining digits are still consumed
        else
            magnitude = magnitude * 10 + digit;
    }
    if (!negative)
        return static_cast<qint64>(magnitude);
    if (magnitude > quint64(std::numeric_limits<qint64>::max()))
        return std::numeric_limits<qint64>::min();
    return -static_cast<qint64>(magnitude);
}

}  // namespace

int CDecimal(QStringView text)
{
    return static_cast<int>(readDecimal(text, quint64(std::numeric_limits<int>::max())));
}

qint64 CDecimal64(QStringView text)
{
    return readDecimal(text, quint64(std::numeric_limits<qint64>::max()));
}

QString FieldAt(const QString& line, int n)
{
    if (n < 0)
        return {};
    qsizetype start = 0;
    for (int field = 0; field < n; ++field) {
        const qsizetype comma = line.indexOf(u',', start);
        if (comma < 0)
            return {};
        start = comma + 1;
    }
    const qsizetype end = line.indexOf(u',', start);
    return line.mid(start, end < 0 ? -1 : end - start);
}

int IntFieldAt(const QString& line, int n) { return CDecimal(FieldAt(line, n)); }

// sscanf("%X") on the upper-cased field: white space skipped, an optional sign, an optional
// "0X" prefix, then hexadecimal digits. Nothing readable gives 0. A minus sign negates the
// value modulo 2^32; a value beyond 32 bits gives 0xFFFFFFFF whatever the sign (as the 32-bit
// C library's unsigned conversion does).
int HexFieldAt(const QString& line, int n)
{
    const QString field = FieldAt(line, n).toUpper();
    qsizetype i = 0;
    while (i < field.size() && isCBlank(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) {
        negative = field[i] == u'-';
        ++i;
    }
    auto hexDigit = [&field](qsizetype at) -> int {
        if (at >= field.size())
            return -1;
        const char16_t c = field[at].unicode();
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return -1;
    };
    if (hexDigit(i) == 0 && i + 1 < field.size() && field[i + 1] == u'X' && hexDigit(i + 2) >= 0)
        i += 2;
    std::uint32_t magnitude = 0;
    bool saturated = false;
    for (int digit = hexDigit(i); digit >= 0; digit = hexDigit(++i)) {
        if (magnitude > 0x0FFFFFFFu)
            saturated = true;
        magnitude = saturated ? 0xFFFFFFFFu : (magnitude << 4) | std::uint32_t(digit);
    }
    if (saturated)
        return -1;  // 0xFFFFFFFF whatever the sign, as strtoul gives on overflow
    if (negative)
        magnitude = 0u - magnitude;
    return static_cast<int>(magnitude);
}

}  // namespace vormex
