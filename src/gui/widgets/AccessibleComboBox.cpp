#include "gui/widgets/AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>

namespace vormex::gui {
namespace {

QAccessibleInterface* comboBoxInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        return new AccessibleComboBox(static_cast<QWidget*>(object));
    return nullptr;
}

// The popup list's current and selected entry: the list's.
void selectCurrentInView(QComboBox& list)
{
    QAbstractItemView* view = list.view();
    if (!view || !view->selectionModel())
        return;
    const QModelIndex current = list.model()->index(list.currentIndex(), list.modelColumn(), list.rootModelIndex());
    if (current.isValid())
        view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    else
        view->selectionModel()->clear();
}

}  // namespace

// Qt makes the interface of every list when the list is named, long before anyone reads it: the
// popup list, costly to make, is reached (and kept in step) only when a reader asks for it.
AccessibleComboBox::AccessibleComboBox(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

// Once a reader reaches the popup list, it follows every change of the entry.
void AccessibleComboBox::keepListInStep() const
{
    QComboBox* list = comboBox();
    const char* const kFollowed = "vormexListFollowsEntry";
    if (!list->property(kFollowed).toBool()) {
        list->setProperty(kFollowed, true);
        QObject::connect(list, &QComboBox::currentIndexChanged, list->view(), [list] { selectCurrentInView(*list); });
    }
    selectCurrentInView(*list);
}

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
    if (index == 0) {
        keepListInStep();
        return QAccessible::queryAccessibleInterface(comboBox()->view());
    }
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

void* AccessibleComboBox::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

void AccessibleComboBox::selection(int, int* startOffset, int* endOffset) const { *startOffset = *endOffset = 0; }

QString AccessibleComboBox::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return QString();
    return currentText().mid(startOffset, endOffset - startOffset);
}

int AccessibleComboBox::characterCount() const { return static_cast<int>(currentText().size()); }

QString AccessibleComboBox::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return QString();
}

QVariant AccessibleComboBox::currentValue() const { return currentText(); }

void AccessibleComboBox::setCurrentValue(const QVariant& value)
{
    QComboBox* list = comboBox();
    const int index = list->findText(value.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 || !list->isEnabled())
        return;
    list->setCurrentIndex(index);
    emit list->activated(index);
    emit list->textActivated(list->itemText(index));
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
