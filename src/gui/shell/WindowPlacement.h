#pragma once

#include <QRect>
#include <QString>

#include <optional>

class QWidget;

namespace vormex::gui {

// The remembered window placement ("WindowsPos"): ten numbers, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d":
// flags, show state, minimised x and y, maximised x and y, and the normal rectangle's left,
// top, right and bottom (right and bottom exclusive).
struct WindowPlacement {
    enum ShowState : unsigned { Hidden = 0, Normal = 1, Minimised = 2, Maximised = 3 };

    unsigned flags = 0;
    unsigned showState = Normal;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;

    QRect normalRect() const { return QRect(left, top, right - left, bottom - top); }

    QString format() const;
    // Exactly ten numbers; anything else (fewer, more, empty, not a number) gives none.
    static std::optional<WindowPlacement> parse(const QString& text);

    // The placement of a window as it is now (flags 0).
    static WindowPlacement of(const QWidget& window);
    // Restores the normal rectangle and shows the window in the stored show state.
    void applyTo(QWidget& window) const;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

}  // namespace vormex::gui
