#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace vormex {

// Reads a line the way the C library's sscanf reads it with "%d", "%I64d", "%c", "%s" and
// literal characters: numbers and words skip leading white space, "%c" takes the next character
// as it is, a literal must match exactly. Every read gives nothing once the input does not
// match, and the scan then stops.
class CScanner {
public:
    explicit CScanner(QStringView text) : text_(text) {}

    std::optional<qint64> scanInt32();  // clamped to the 32-bit range
    std::optional<qint64> scanInt64();
    std::optional<QChar> scanChar();
    std::optional<QString> scanWord(int maxLength);
    bool literal(QChar c);
    // Passes over a text field up to (not including) the next comma or the end.
    void skipField();

    bool atEnd() const { return pos_ >= text_.size(); }
    qsizetype position() const { return pos_; }

private:
    void skipBlanks();
    std::optional<qint64> scanInteger(qint64 low, qint64 high);

    QStringView text_;
    qsizetype pos_ = 0;
};

}  // namespace vormex
