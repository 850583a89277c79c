#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace vormex::gui {

// What screen readers and other assistive tools (AT-SPI's EditableText) reach of a one-line
// edit. Qt's own interface writes text set this way straight into the edit, past its validator,
// its mask and the page that watches the typing, so the field could show what is never saved.
// This one edits the way the keyboard does: the range is selected and the text typed over it
// (a masked edit takes it through its mask, a number edit through its limits; what they refuse
// is refused), so the field shows what its page keeps. Reading is as Qt's interface reads.
class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit AccessibleLineEdit(QWidget* widget);

    // Makes every QLineEdit of the program (the edits of spin boxes and lists included) use this
    // interface; again does no harm.
    static void Install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    QLineEdit* lineEdit() const;
    bool shown() const;
};

// Replaces the characters from `start` to `end` of `edit` as typing over them does: refused
// when the edit is read-only, and by its validator, mask or length as keys would be. True when
// the text changed.
bool TypeOverRange(QLineEdit& edit, int start, int end, const QString& text);

}  // namespace vormex::gui
