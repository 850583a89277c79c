#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vormex::gui {

// An icon drawn from an SVG file (the program's resources) at whatever size it is shown, drawn
// when first shown and kept in the pixmap cache. It draws with the SVG library the program links,
// without Qt's SVG icon plugin, which would have to be found and loaded at start-up.
QIcon SvgIcon(const QString& path);

// The SVG file drawn at `size` (logical pixels, sharp on the screen's pixel ratio).
QPixmap SvgPixmap(const QString& path, const QSize& size);

}  // namespace vormex::gui
