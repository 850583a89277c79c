#include "gui/widgets/AccessibleTabBar.h"

#include <QPointer>
#include <QTabBar>
#include <QToolButton>

namespace vormex::gui {
namespace {

QAccessibleInterface* tabBarInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("QTabBar") && object && object->isWidgetType())
        return new AccessibleTabBar(static_cast<QWidget*>(object));
    return nullptr;
}

// "&Print" is read "Print".
QString withoutMnemonic(QString caption)
{
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

// One tab of a row: it has no widget of its own.
class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleTab(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        switch (t) {
        case QAccessible::Name: {
            const QString name = bar_->accessibleTabName(index_);
            return name.isEmpty() ? withoutMnemonic(bar_->tabText(index_)) : name;
        }
        case QAccessible::Description:
            return bar_->tabToolTip(index_);
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect local = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = index_ == bar_->currentIndex();
        state.focused = state.selected && bar_->hasFocus();
        state.disabled = !bar_->isEnabled() || !bar_->isTabEnabled(index_);
        state.invisible = !bar_->isVisible() || !bar_->isTabVisible(index_);
        state.offscreen = state.invisible;
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction() && isValid() && bar_->isEnabled() && bar_->isTabEnabled(index_))
            bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

}  // namespace

AccessibleTabBar::AccessibleTabBar(QWidget* widget) : QAccessibleWidget(widget, QAccessible::PageTabList) {}

AccessibleTabBar::~AccessibleTabBar()
{
    for (const auto& [index, id] : tabs_)
        QAccessible::deleteAccessibleInterface(id);
}

void AccessibleTabBar::Install()
{
    QAccessible::removeFactory(&tabBarInterface);
    QAccessible::installFactory(&tabBarInterface);
}

QTabBar* AccessibleTabBar::tabBar() const { return static_cast<QTabBar*>(object()); }

QList<QWidget*> AccessibleTabBar::scrollButtons() const
{
    QList<QWidget*> buttons;
    for (QToolButton* button : tabBar()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->isVisible())
            buttons << button;
    }
    return buttons;
}

QString AccessibleTabBar::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    // Known by the tab shown.
    const int current = tabBar()->currentIndex();
    const QString name = tabBar()->accessibleTabName(current);
    return name.isEmpty() ? withoutMnemonic(tabBar()->tabText(current)) : name;
}

int AccessibleTabBar::childCount() const { return tabBar()->count() + static_cast<int>(scrollButtons().size()); }

QAccessibleInterface* AccessibleTabBar::child(int index) const
{
    if (index < 0)
        return nullptr;
    if (index < tabBar()->count()) {
        const auto found = tabs_.find(index);
        if (found != tabs_.end())
            return QAccessible::accessibleInterface(found->second);
        auto* tab = new AccessibleTab(tabBar(), index);
        tabs_[index] = QAccessible::registerAccessibleInterface(tab);
        return tab;
    }
    return QAccessible::queryAccessibleInterface(scrollButtons().value(index - tabBar()->count()));
}

int AccessibleTabBar::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    for (const auto& [index, id] : tabs_) {
        if (QAccessible::accessibleInterface(id) == child)
            return index < tabBar()->count() ? index : -1;
    }
    const int button = static_cast<int>(scrollButtons().indexOf(qobject_cast<QWidget*>(child->object())));
    return button < 0 ? -1 : tabBar()->count() + button;
}

QAccessibleInterface* AccessibleTabBar::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface* candidate = child(i);
        if (candidate && candidate->rect().contains(x, y))
            return candidate;
    }
    return nullptr;
}

QAccessibleInterface* AccessibleTabBar::focusChild() const
{
    return tabBar()->hasFocus() ? child(tabBar()->currentIndex()) : nullptr;
}

}  // namespace vormex::gui
