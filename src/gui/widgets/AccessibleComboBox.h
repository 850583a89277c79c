#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace vormex::gui {

// What screen readers learn about a drop-down list. Qt's own interface names a list by its
// current entry on Linux ("9600, combo box") and leaves the caption to the label relation, which
// the readers do not announce; this one names it after its caption (the accessible name, else its
// buddy label) and gives the entry as its value, with the popup list and the press action as
// Qt's interface has them.
class AccessibleComboBox : public QAccessibleWidget {
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

private:
    QComboBox* comboBox() const;
    QString currentText() const;
};

}  // namespace vormex::gui
