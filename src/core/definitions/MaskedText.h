#pragma once

#include "definitions/PrinterDefinition.h"

#include <QString>

namespace vormex {

// The state of a masked edit: which characters the user may type where, and what has been
// typed. An item's `mask` marks input positions with '9' (a digit or a blank), '+' (a sign: "+",
// "-" or a blank) or 'H' (a hexadecimal digit); every other mask character is a fixed position
// that shows the template's character. The display text is the template with the input
// positions filled; the masked text is the characters at the input positions only, an unfilled
// position reading as the placeholder.
//
// Without a mask (an item the definitions do not describe) the edit holds its text unchanged.
class MaskedText {
public:
    MaskedText() = default;
    MaskedText(QString mask, QString templateText, QString validChars, QChar placeholder);

    // The edit of a definition item. `useValidChars` decides whether the item's valid characters
    // restrict the input positions further.
    static MaskedText forItem(const ItemDefinition& item, QChar placeholder = QLatin1Char('_'),
                              bool useValidChars = false);

    // A text of the template's length gives the characters at the input positions; a text of
    // exactly the number of input positions is taken as the masked text; any other text fills
    // the input positions from the left and leaves the rest unfilled. A character that a
    // position does not accept leaves that position unfilled.
    void setText(const QString& text);

    QString displayText() const;
    QString maskedText() const;

    bool hasMask() const { return !mask_.isEmpty(); }
    int inputCount() const { return int(inputPositions_.size()); }
    // Whether `c` may stand at the input position with the mask character `maskChar`.
    bool accepts(QChar maskChar, QChar c) const;

    // Position by position, as an edit works on the display text (positions 0..length()-1).
    int length() const { return int(mask_.size()); }
    QChar placeholder() const { return placeholder_; }
    // The mask character at a position; '9', '+' and 'H' mark input positions.
    QChar maskCharAt(int position) const;
    bool isInputPosition(int position) const { return isInputMaskChar(maskCharAt(position)); }
    // The typed character at an input position; QChar() when unfilled (or not an input position).
    QChar charAt(int position) const;
    // Fills an input position; false (nothing changes) when the position does not accept `c`.
    bool setCharAt(int position, QChar c);
    // Leaves an input position unfilled: it reads as the placeholder again.
    void clearAt(int position);

    friend bool operator==(const MaskedText& a, const MaskedText& b)
    {
        return a.mask_ == b.mask_ && a.template_ == b.template_ && a.filled_ == b.filled_ && a.plain_ == b.plain_;
    }

private:
    static bool isInputMaskChar(QChar c);
    void fillFrom(const QString& chars);

    QString mask_;
    QString template_;
    QString validChars_;
    QChar placeholder_ = QLatin1Char('_');
    QList<int> inputPositions_;
    QString filled_;  // one character per input position; QChar() when unfilled
    QString plain_;   // the text of an edit without mask
};

}  // namespace vormex
