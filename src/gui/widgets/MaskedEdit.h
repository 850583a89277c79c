#pragma once

#include "definitions/MaskedText.h"

#include <QLineEdit>

namespace vormex::gui {

// A one-line edit that follows the definition file's mask grammar (see MaskedText): '9', '+'
// and 'H' are input positions, every other position shows the template's fixed character.
// Typing overwrites the input position at or after the cursor and moves on to the next one, so
// the cursor skips fixed characters. Typing a template character (the point of "999.9 mm")
// jumps past it, and digits typed just before it move right against it, blanks filling in front:
// "60." gives " 60._". A digit typed at a sign position leaves the sign blank (positive) and goes
// to the next position; "+" or "-" typed elsewhere sets the field's sign. Backspace and Delete
// leave positions unfilled (shown as the placeholder); pasting types the text, or takes it whole
// when it is a display text of the template. Full-width characters count as their ASCII forms.
// When editing ends the number is completed (`finishEditing`). The masked text is read back
// through MaskedText, the core's model.
//
// Without a mask (an item the definitions lack) it is a plain line edit.
class MaskedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedEdit(QWidget* parent = nullptr);

    // The mask, template, placeholder and valid characters; nothing typed yet.
    void setModel(const MaskedText& model);
    // Sets the text as MaskedText::setText reads it (display text, masked text or a prefix).
    void setValueText(const QString& text);
    const MaskedText& value() const { return model_; }
    QString maskedText() const { return model_.maskedText(); }

    // Types `text` at the cursor as the keyboard does (also the way pasting works).
    void typeText(const QString& text);
    void pasteText(const QString& text);
    // Types `text` over the characters from `start` to `end` (nothing typed: they are emptied),
    // as selecting them and typing does; a whole display text of the template over the whole
    // field is taken as it is. When none of the characters is taken, nothing changes. With the
    // focus elsewhere the edit is then finished, as leaving the field finishes it. True when the
    // text changed.
    bool replaceRange(int start, int end, const QString& text);
    // What leaving the field does: in front of the first digit empty places become blanks, a
    // number typed without its decimals moves against the point, empty decimals become zeros
    // ("6" gives "  6.0"). True when the text changed.
    bool finishEditing();

signals:
    // The user changed the text (typing, deleting, pasting, blanks filled in when editing ended).
    void edited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool typeChar(QChar c, int& cursor);
    bool takeWholeDisplayText(const QString& text);
    void refuseForeignText();
    bool alignBeforeFixed(int cursor, int fixedPosition);
    bool setSign(int cursor, QChar sign);
    bool clearSelectionPositions(int& cursor);
    void eraseBackward();
    void eraseForward();
    void cutSelection();
    void show(int cursor);
    void moveCursorTo(int target, bool mark);
    int firstInputAtOrAfter(int position) const;
    int lastInputBefore(int position) const;
    int endStop() const;
    int nextStop(int position) const;
    int previousStop(int position) const;
    int snappedStop(int position) const;

    MaskedText model_;
};

}  // namespace vormex::gui
