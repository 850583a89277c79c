#pragma once

#include <QAccessibleWidget>

#include <map>

class QTabBar;

namespace vormex::gui {

// What screen readers learn about a row of tabs: the row (a page tab list, known by the tab
// shown) holds one page tab per tab, each named after its caption, selectable, and selected
// while it is the current one (Qt's own tabs never say so), with the press action that chooses
// it as a click does.
class AccessibleTabBar : public QAccessibleWidget {
public:
    explicit AccessibleTabBar(QWidget* widget);
    ~AccessibleTabBar() override;

    // Makes every QTabBar of the program use this interface; again does no harm.
    static void Install();

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    QTabBar* tabBar() const;
    QList<QWidget*> scrollButtons() const;

    mutable std::map<int, QAccessible::Id> tabs_;  // the tabs' interfaces, made when first asked for
};

}  // namespace vormex::gui
