#include "base/Numbers.h"

#include <limits>

namespace vormex {
namespace {

bool isCBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'; }

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

qsizetype skipBlanks(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isCBlank(text[i].unicode()))
        ++i;
    return i;
}

}  // namespace

DigitRun ScanDigits(QStringView text, std::uint64_t limit)
{
    DigitRun run;
    for (; run.length < text.size() && isAsciiDigit(text[run.length].unicode()); ++run.length) {
        const std::uint64_t digit = text[run.length].unicode() - u'0';
        run.value = run.value > (limit - digit) / 10 ? limit : run.value * 10 + digit;
    }
    return run;
}

DecimalScan ScanCDecimal(QStringView text, qint64 low, qint64 high)
{
    qsizetype i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // The magnitude of `low` taken unsigned: negating the smallest 64-bit value would overflow.
    const std::uint64_t lowMagnitude = low < 0 ? std::uint64_t(-(low + 1)) + 1 : 0;
    const std::uint64_t highMagnitude = high > 0 ? std::uint64_t(high) : 0;
    const DigitRun run = ScanDigits(text.sliced(i), negative ? lowMagnitude : highMagnitude);
    DecimalScan scan;
    if (run.length == 0)
        return scan;
    scan.digits = true;
    scan.end = i + run.length;
    if (!negative)
        scan.value = qint64(run.value);
    else
        scan.value = run.value == lowMagnitude && low < 0 ? low : -qint64(run.value);
    return scan;
}

int CDecimal(QStringView text)
{
    return int(ScanCDecimal(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()).value);
}

qint64 CDecimal64(QStringView text)
{
    return ScanCDecimal(text, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()).value;
}

std::uint32_t CHex32(QStringView text)
{
    qsizetype i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    auto digitAt = [&text](qsizetype at) { return at < text.size() ? hexDigit(text[at].unicode()) : -1; };
    if (digitAt(i) == 0 && i + 1 < text.size() && (text[i + 1] == u'X' || text[i + 1] == u'x') && digitAt(i + 2) >= 0)
        i += 2;
    std::uint32_t magnitude = 0;
    for (int digit = digitAt(i); digit >= 0; digit = digitAt(++i)) {
        if (magnitude > 0x0FFFFFFFu)
            return 0xFFFFFFFFu;  // as strtoul gives on overflow, whatever the sign
        magnitude = (magnitude << 4) | std::uint32_t(digit);
    }
    return negative ? 0u - magnitude : magnitude;
}

std::optional<int> ParseWholeNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    qsizetype i = 0;
    const bool negative = !trimmed.isEmpty() && trimmed[0] == u'-';
    if (!trimmed.isEmpty() && (trimmed[0] == u'+' || negative))
        ++i;
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<int>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<int>::max());
    // One past the limit tells an overflowing text from the largest value.
    const DigitRun run = ScanDigits(trimmed.sliced(i), limit + 1);
    if (run.length == 0 || i + run.length != trimmed.size() || run.value > limit)
        return std::nullopt;
    return negative ? int(-qint64(run.value)) : int(run.value);
}

}  // namespace vormex
