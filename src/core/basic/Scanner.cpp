#include "basic/Scanner.h"

namespace vormex::basic {
namespace {

bool isSingleCharacterToken(char16_t c)
{
    switch (c) {
    case ',': case '(': case ')': case ':': case ';': case '+': case '-': case '*': case '/': case '^': case '\\':
        return true;
    default:
        return false;
    }
}

bool isWordEnder(char16_t c)
{
    switch (c) {
    case '+': case '-': case '*': case '/': case '^': case '>': case '<': case '\\': case '=': case '\'':
        return true;
    default:
        return false;
    }
}

bool isDelimiter(char16_t c)
{
    switch (c) {
    case ',': case '(': case ')': case ';': case ':': case ' ': case '\t': case '\n':
        return true;
    default:
        return false;
    }
}

bool isTwoCharacterOperator(char16_t c1, char16_t c2)
{
    return (c1 == '<' && (c2 == '>' || c2 == '=')) || (c1 == '>' && (c2 == '=' || c2 == '<'))
           || (c1 == '=' && (c2 == '>' || c2 == '<'));
}

QStringView skipBlanks(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.sliced(i);
}

const QString kRemWord = QStringLiteral("REM");

}  // namespace

bool isBlank(QChar c) { return c.unicode() == ' ' || c.unicode() == '\t'; }

bool Scanner::isWordCharacter(QChar c) const
{
    switch (c.unicode()) {
    case '.': case '#': case '&': case '!': case '%': case '$': case '_':
        return true;
    default:
        return characters_.isAlphanumeric(c);
    }
}

QStringView Scanner::NextToken(QStringView text)
{
    delimiter = QLatin1Char(' ');
    endOfLine = 0;
    text = skipBlanks(text);
    if (text.isEmpty()) {
        endOfLine = 1;
        return text;
    }
    const char16_t c1 = text[0].unicode();
    const char16_t c2 = text.size() > 1 ? text[1].unicode() : 0;
    if (isSingleCharacterToken(c1)) {
        token = text.first(1);
        return text.sliced(1);
    }
    if (isTwoCharacterOperator(c1, c2)) {
        token = text.first(2);
        return text.sliced(2);
    }
    if (c1 == '<' || c1 == '>' || c1 == '=') {
        token = text.first(1);
        return text.sliced(1);
    }
    if (c1 == '\'') {
        token = kRemWord;  // a comment: the rest of the line is dropped
        return text.sliced(text.size());
    }
    if (c1 == '"') {
        const qsizetype closing = text.indexOf(QLatin1Char('"'), 1);
        const qsizetype length = closing < 0 ? text.size() : closing + 1;
        token = text.first(length);
        return text.sliced(length);
    }
    qsizetype k = 0;
    while (k < text.size()) {
        const QChar ch = text[k];
        if (ch.unicode() == '"' || isWordEnder(ch.unicode()))
            break;
        if (isWordCharacter(ch)) {
            ++k;
            continue;
        }
        if (isDelimiter(ch.unicode())) {
            delimiter = ch;
            break;
        }
        ++k;  // any other character belongs to the word and ends it
        break;
    }
    if (k == 0)
        k = 1;  // never give an empty word: the caller would not advance
    token = text.first(k);
    return text.sliced(k);
}

QStringView Scanner::ParseLabelName(QStringView text)
{
    endOfLine = 0;
    token = QStringView();
    if (text.isEmpty()) {
        endOfLine = 1;
        return text;
    }
    text = skipBlanks(text);
    if (!text.isEmpty() && text[0].unicode() == '*') {
        token = text.first(1);
        return text.sliced(1);
    }
    qsizetype k = 0;
    for (; k < text.size(); ++k) {
        const QChar ch = text[k];
        const char16_t u = ch.unicode();
        if (u == ' ' || u == ',' || u == ':' || u == '\t')
            break;
        if (u != '.' && u != '_' && !SourceCharacterSet::isDecimalDigit(ch) && !SourceCharacterSet::isUpperCase(ch))
            badLabelChar = 1;
    }
    token = text.first(k);
    return text.sliced(k);
}

}  // namespace vormex::basic
