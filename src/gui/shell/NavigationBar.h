#pragma once

#include <QAccessibleWidget>
#include <QKeySequence>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

#include <array>

namespace vormex::gui {

// A destination's button: checked while its destination is shown.
class NavigationButton : public QToolButton {
    Q_OBJECT
public:
    NavigationButton(int destination, QWidget* parent);
    int destination() const { return destination_; }

private:
    int destination_;
};

// What screen readers reach of a destination's button. Its actions (press, toggle) go the way a
// click goes, with the leaving page's checks, and they return at once: the switch, and any
// question the page that is left asks, come after (queued), so a reader never waits on a
// message box.
class AccessibleNavigationButton : public QAccessibleWidget {
public:
    explicit AccessibleNavigationButton(QWidget* widget);

    // Makes the navigation buttons use this interface; again does no harm.
    static void Install();

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    NavigationButton* button() const;
};

// The bar of the five destinations: a 64 x 64 icon with its caption under it, one button each.
// The button of the current destination is shown pressed.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    NavigationBar(const QStringList& captions, QWidget* parent = nullptr);

    // Shows the button of `destination` pressed and the others not.
    void setCurrent(int destination);
    int current() const;
    QToolButton* button(int destination) const { return buttons_.at(static_cast<size_t>(destination)); }
    // The key that moves to a destination (Ctrl+1 for the first); the frame binds it, the
    // buttons' tips show it.
    static QKeySequence ShortcutFor(int destination);

signals:
    // A destination's command (32818..32822) was chosen.
    void commandTriggered(int command);

private:
    std::array<NavigationButton*, 5> buttons_{};
};

}  // namespace vormex::gui
