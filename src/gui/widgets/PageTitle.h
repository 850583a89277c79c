#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace vormex::gui {

// The title line at the top of a page: larger bold text with a rule beneath.
QWidget* CreatePageTitle(const QString& title, QWidget* parent);

}  // namespace vormex::gui
