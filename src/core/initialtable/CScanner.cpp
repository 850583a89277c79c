#include "initialtable/CScanner.h"

#include <limits>

namespace vormex {

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\v')
           || c == QLatin1Char('\f') || c == QLatin1Char('\r');
}
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
}  // namespace

void CScanner::skipBlanks()
{
    while (pos_ < text_.size() && isBlank(text_[pos_]))
        ++pos_;
}

std::optional<qint64> CScanner::scanInteger(qint64 low, qint64 high)
{
    skipBlanks();
    qsizetype at = pos_;
    bool negative = false;
    if (at < text_.size() && (text_[at] == QLatin1Char('+') || text_[at] == QLatin1Char('-')))
        negative = text_[at++] == QLatin1Char('-');
    if (at >= text_.size() || !isDigit(text_[at]))
        return std::nullopt;
    // Accumulate the magnitude, saturating at the type's limit.
    const quint64 limit = negative ? quint64(-(low + 1)) + 1 : quint64(high);
    quint64 magnitude = 0;
    while (at < text_.size() && isDigit(text_[at])) {
        const quint64 digit = quint64(text_[at].unicode() - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
        ++at;
    }
    pos_ = at;
    if (negative)
        return magnitude >= quint64(-(low + 1)) + 1 ? low : -qint64(magnitude);
    return qint64(magnitude);
}

std::optional<qint64> CScanner::scanInt32()
{
    return scanInteger(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

std::optional<qint64> CScanner::scanInt64()
{
    return scanInteger(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
}

std::optional<QChar> CScanner::scanChar()
{
    if (pos_ >= text_.size())
        return std::nullopt;
    return text_[pos_++];
}

std::optional<QString> CScanner::scanWord(int maxLength)
{
    skipBlanks();
    const qsizetype start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_]) && pos_ - start < maxLength)
        ++pos_;
    if (pos_ == start)
        return std::nullopt;
    return text_.mid(start, pos_ - start).toString();
}

void CScanner::skipField()
{
    while (pos_ < text_.size() && text_[pos_] != QLatin1Char(','))
        ++pos_;
}

bool CScanner::literal(QChar c)
{
    if (pos_ < text_.size() && text_[pos_] == c) {
        ++pos_;
        return true;
    }
    return false;
}

}  // namespace vormex
