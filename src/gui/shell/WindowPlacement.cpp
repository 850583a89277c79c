#include "gui/shell/WindowPlacement.h"

#include <QStringList>
#include <QWidget>

namespace vormex::gui {

QString WindowPlacement::format() const
{
    return QString::asprintf("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showState, minX, minY, maxX, maxY, left, top,
                             right, bottom);
}

std::optional<WindowPlacement> WindowPlacement::parse(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 10)
        return std::nullopt;
    qint64 numbers[10] = {};
    for (int i = 0; i < 10; ++i) {
        bool ok = false;
        numbers[i] = fields[i].trimmed().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    WindowPlacement placement;
    placement.flags = static_cast<unsigned>(numbers[0]);
    placement.showState = static_cast<unsigned>(numbers[1]);
    int* const rest[] = {&placement.minX, &placement.minY, &placement.maxX, &placement.maxY,
                         &placement.left, &placement.top,  &placement.right, &placement.bottom};
    for (int i = 0; i < 8; ++i)
        *rest[i] = static_cast<int>(numbers[i + 2]);
    return placement;
}

WindowPlacement WindowPlacement::of(const QWidget& window)
{
    WindowPlacement placement;
    if (window.isMinimized())
        placement.showState = Minimised;
    else if (window.isMaximized())
        placement.showState = Maximised;
    else
        placement.showState = Normal;
    const QRect normal = window.isVisible() ? window.normalGeometry() : window.geometry();
    const QRect rect = normal.isValid() ? normal : window.geometry();
    placement.left = rect.left();
    placement.top = rect.top();
    placement.right = rect.left() + rect.width();
    placement.bottom = rect.top() + rect.height();
    return placement;
}

void WindowPlacement::applyTo(QWidget& window) const
{
    window.setGeometry(normalRect());
    switch (showState) {
    case Minimised:
        window.showMinimized();
        break;
    case Maximised:
        window.showMaximized();
        break;
    default:
        // A stored "hidden" would leave the program without a window: show it normally.
        window.showNormal();
        break;
    }
}

}  // namespace vormex::gui
