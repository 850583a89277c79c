#include "definitions/MaskedText.h"

namespace vormex {

MaskedText::MaskedText(QString mask, QString templateText, QString validChars, QChar placeholder)
    : mask_(std::move(mask)), template_(std::move(templateText)), validChars_(std::move(validChars)),
      placeholder_(placeholder)
{
    for (int i = 0; i < mask_.size(); ++i) {
        if (isInputMaskChar(mask_[i]))
            inputPositions_.append(i);
    }
    filled_ = QString(inputPositions_.size(), QChar());
}

MaskedText MaskedText::forItem(const ItemDefinition& item, QChar placeholder, bool useValidChars)
{
    return MaskedText(item.mask, item.templateText, useValidChars ? item.validChars : QString(), placeholder);
}

bool MaskedText::isInputMaskChar(QChar c)
{
    return c == QLatin1Char('9') || c == QLatin1Char('+') || c == QLatin1Char('H');
}

bool MaskedText::accepts(QChar maskChar, QChar c) const
{
    bool ofClass = false;
    switch (maskChar.unicode()) {
    case '9':
        ofClass = c == QLatin1Char(' ') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        break;
    case '+':
        ofClass = c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char(' ');
        break;
    case 'H':
        ofClass = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
                  || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
        break;
    default:
        return false;
    }
    return ofClass && (validChars_.isEmpty() || validChars_.contains(c));
}

QChar MaskedText::maskCharAt(int position) const
{
    return position >= 0 && position < mask_.size() ? mask_[position] : QChar();
}

QChar MaskedText::charAt(int position) const
{
    const qsizetype k = inputPositions_.indexOf(position);
    return k < 0 ? QChar() : filled_[k];
}

bool MaskedText::setCharAt(int position, QChar c)
{
    const qsizetype k = inputPositions_.indexOf(position);
    if (k < 0 || c.isNull() || !accepts(mask_[position], c))
        return false;
    filled_[k] = c;
    return true;
}

void MaskedText::clearAt(int position)
{
    const qsizetype k = inputPositions_.indexOf(position);
    if (k >= 0)
        filled_[k] = QChar();
}

void MaskedText::fillFrom(const QString& chars)
{
    for (int k = 0; k < inputPositions_.size(); ++k) {
        const QChar c = k < chars.size() ? chars[k] : QChar();
        filled_[k] = (!c.isNull() && accepts(mask_[inputPositions_[k]], c)) ? c : QChar();
    }
}

void MaskedText::setText(const QString& text)
{
    if (!hasMask()) {
        plain_ = text;
        return;
    }
    if (text.size() == mask_.size()) {
        QString chars;
        for (int position : inputPositions_)
            chars.append(text[position]);
        fillFrom(chars);
    } else {
        // Exactly the masked text, or a shorter (or longer) text from the left.
        fillFrom(text);
    }
}

QString MaskedText::displayText() const
{
    if (!hasMask())
        return plain_;
    QString display = template_.leftJustified(mask_.size(), QLatin1Char(' '), true);
    for (int k = 0; k < inputPositions_.size(); ++k)
        display[inputPositions_[k]] = filled_[k].isNull() ? placeholder_ : filled_[k];
    return display;
}

QString MaskedText::maskedText() const
{
    if (!hasMask())
        return plain_;
    QString masked;
    for (QChar c : filled_)
        masked.append(c.isNull() ? placeholder_ : c);
    return masked;
}

}  // namespace vormex
