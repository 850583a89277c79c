#include "TerminalScreen.h"

#include <QRegularExpression>

namespace vormex::test {
namespace {

int widthOf(char32_t c) { return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFF60) ? 2 : 1; }

}  // namespace

TerminalScreen::TerminalScreen(int columns, int rows) : columns_(columns), rows_(rows)
{
    for (int i = 0; i < rows_; ++i)
        screen_ << QString(columns_, QLatin1Char(' '));
}

void TerminalScreen::lineFeed()
{
    if (row_ + 1 < rows_) {
        ++row_;
        return;
    }
    scrollback_ << screen_.takeFirst();
    screen_ << QString(columns_, QLatin1Char(' '));
}

void TerminalScreen::put(char32_t c, int width)
{
    if (pendingWrap_ || column_ + width > columns_) {
        column_ = 0;
        lineFeed();
        pendingWrap_ = false;
    }
    // A wide character fills its first cell; its second stays a blank placeholder.
    screen_[row_].replace(column_, 1, QString::fromUcs4(&c, 1).left(1));
    if (width == 2 && column_ + 1 < columns_)
        screen_[row_].replace(column_ + 1, 1, QStringLiteral(" "));
    column_ += width;
    if (column_ >= columns_) {
        column_ = columns_ - 1;
        pendingWrap_ = true;
    }
}

void TerminalScreen::control(int number, char command, bool hasNumber)
{
    const int n = hasNumber ? number : 1;
    pendingWrap_ = false;
    switch (command) {
    case 'A': row_ = std::max(0, row_ - n); break;
    case 'B': row_ = std::min(rows_ - 1, row_ + n); break;
    case 'K':
        if (hasNumber && number == 2)
            screen_[row_] = QString(columns_, QLatin1Char(' '));
        else
            screen_[row_].replace(column_, columns_ - column_, QString(columns_ - column_, QLatin1Char(' ')));
        break;
    case 'J':
        if (row_ == 0 && column_ == 0)
            scrollback_ += screen_;
        screen_[row_].replace(column_, columns_ - column_, QString(columns_ - column_, QLatin1Char(' ')));
        for (int r = row_ + 1; r < rows_; ++r)
            screen_[r] = QString(columns_, QLatin1Char(' '));
        break;
    default: break;
    }
}

void TerminalScreen::write(const QByteArray& bytes)
{
    static const QRegularExpression sequence(QStringLiteral("^\\x1b\\[([0-9]*)([A-Za-z])"));
    const QString text = QString::fromUtf8(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\x1b') {
            const QRegularExpressionMatch match = sequence.match(QStringView(text).sliced(i));
            if (match.hasMatch()) {
                control(match.captured(1).toInt(), char(match.captured(2)[0].unicode()), !match.captured(1).isEmpty());
                i += match.capturedLength() - 1;
            }
        } else if (c == u'\r') {
            column_ = 0;
            pendingWrap_ = false;
        } else if (c == u'\n') {
            lineFeed();
            pendingWrap_ = false;
        } else if (c.isHighSurrogate() && i + 1 < text.size()) {
            const char32_t code = QChar::surrogateToUcs4(c, text[i + 1]);
            put(code, widthOf(code));
            ++i;
        } else if (c.unicode() >= 0x20) {
            put(c.unicode(), widthOf(c.unicode()));
        }
    }
}

QStringList TerminalScreen::lines() const
{
    QStringList all;
    for (const QString& line : scrollback_ + screen_) {
        QString trimmed = line;
        while (trimmed.endsWith(QLatin1Char(' ')))
            trimmed.chop(1);
        all << trimmed;
    }
    while (!all.isEmpty() && all.last().isEmpty())
        all.removeLast();
    return all;
}

}  // namespace vormex::test
