#include "initialtable/CScanner.h"

#include "base/Numbers.h"

#include <limits>

namespace vormex {

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\v')
           || c == QLatin1Char('\f') || c == QLatin1Char('\r');
}
}  // namespace

void CScanner::skipBlanks()
{
    while (pos_ < text_.size() && isBlank(text_[pos_]))
        ++pos_;
}

std::optional<qint64> CScanner::scanInteger(qint64 low, qint64 high)
{
    skipBlanks();
    const DecimalScan scan = ScanCDecimal(text_.sliced(pos_), low, high);
    if (!scan.digits)
        return std::nullopt;
    pos_ += scan.end;
    return scan.value;
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

bool CScanner::literal(QChar c)
{
    if (pos_ < text_.size() && text_[pos_] == c) {
        ++pos_;
        return true;
    }
    return false;
}

}  // namespace vormex
