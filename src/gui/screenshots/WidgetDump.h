#pragma once

#include <QJsonObject>

class QWidget;

namespace vormex::gui {

// What a screenshot shows, as data: the window's title and every visible widget below it in
// tree order, each with its Qt class, object name, the text the user reads (a line edit's
// display text, a combo box's current text, a button's or label's text, a spin box's text, a
// progress bar's value, a group box's title), "checked" for checkable buttons, "enabled", and
// its place in the window ("x", "y", "w", "h"). Item views add "columns" (the header texts) and
// "rows" (the cell texts of every row).
QJsonObject DumpWidgets(const QWidget& window);

}  // namespace vormex::gui
