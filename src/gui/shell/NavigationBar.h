#pragma once

#include <QKeySequence>
#include <QStringList>
#include <QWidget>

#include <array>

class QButtonGroup;
class QToolButton;

namespace vormex::gui {

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
    std::array<QToolButton*, 5> buttons_{};
};

}  // namespace vormex::gui
