#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace vormex::gui {

// What screen readers learn about a drop-down list. Qt's own interface names a list by its
// current entry on Linux ("9600, combo box") and leaves the caption to the label relation, which
// the readers do not announce; this one names it after its caption (the accessible name, else its
// buddy label) and gives the entry as its value, with the popup list and the press action as
// Qt's interface has them. The current entry is also its text and its value (what AT-SPI's Text
// and Value read); a value set this way chooses the entry as the mouse does; and the popup list
// has the current entry selected whenever the program sets it (the popup need not have been
// opened).
class AccessibleComboBox : public QAccessibleWidget, public QAccessibleTextInterface, public QAccessibleValueInterface {
public:
    explicit AccessibleComboBox(QWidget* widget);

    // Makes every QComboBox of the program use this interface (once per process; again does no
    // harm). The application object installs it before any window exists.
    static void Install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTextInterface: the current entry's text, read-only (an editable list's edit is
    // its child).
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleValueInterface: the current entry's text; setting a value chooses the entry of
    // that text.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override { return QVariant(); }
    QVariant minimumValue() const override { return QVariant(); }
    QVariant minimumStepSize() const override { return QVariant(); }

private:
    QComboBox* comboBox() const;
    QString currentText() const;
    void keepListInStep() const;
};

}  // namespace vormex::gui
