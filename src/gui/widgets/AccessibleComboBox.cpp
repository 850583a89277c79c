#include "gui/widgets/AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace vormex::gui {
namespace {

QAccessibleInterface* comboBoxInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        return new AccessibleComboBox(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

AccessibleComboBox::AccessibleComboBox(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

void AccessibleComboBox::Install()
{
    QAccessible::removeFactory(&comboBoxInterface);
    QAccessible::installFactory(&comboBoxInterface);
}

QComboBox* AccessibleComboBox::comboBox() const { return static_cast<QComboBox*>(object()); }

QString AccessibleComboBox::currentText() const
{
    return comboBox()->isEditable() && comboBox()->lineEdit() ? comboBox()->lineEdit()->text()
                                                              : comboBox()->currentText();
}

QString AccessibleComboBox::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        // The accessible name, else the buddy label's caption; a list without either is known by
        // its entry, as before.
        const QString name = QAccessibleWidget::text(t);
        return name.isEmpty() ? currentText() : name;
    }
    case QAccessible::Value:
        return currentText();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State AccessibleComboBox::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    const bool open = comboBox()->view() && comboBox()->view()->isVisible();
    state.expanded = open;
    state.collapsed = !open;
    state.editable = comboBox()->isEditable();
    return state;
}

int AccessibleComboBox::childCount() const { return comboBox()->isEditable() ? 2 : 1; }

QAccessibleInterface* AccessibleComboBox::child(int index) const
{
    if (index == 0)
        return QAccessible::queryAccessibleInterface(comboBox()->view());
    if (index == 1 && comboBox()->isEditable())
        return QAccessible::queryAccessibleInterface(comboBox()->lineEdit());
    return nullptr;
}

int AccessibleComboBox::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    if (child->object() == comboBox()->view())
        return 0;
    if (comboBox()->isEditable() && child->object() == comboBox()->lineEdit())
        return 1;
    return -1;
}

QAccessibleInterface* AccessibleComboBox::childAt(int x, int y) const
{
    if (comboBox()->isEditable() && comboBox()->lineEdit()) {
        const QPoint local = comboBox()->lineEdit()->mapFromGlobal(QPoint(x, y));
        if (comboBox()->lineEdit()->rect().contains(local))
            return child(1);
    }
    return nullptr;
}

QStringList AccessibleComboBox::actionNames() const
{
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void AccessibleComboBox::doAction(const QString& actionName)
{
    if (actionName != showMenuAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (comboBox()->view() && comboBox()->view()->isVisible())
        comboBox()->hidePopup();
    else
        comboBox()->showPopup();
}

}  // namespace vormex::gui
