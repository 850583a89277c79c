#pragma once

class QScrollArea;
class QString;
class QWidget;

namespace vormex::gui {

// The frameless area that scrolls a page's controls when the window is too small for them. It
// takes no keyboard focus of its own: Tab goes to the controls, and the area scrolls to show
// the control that has the focus.
QScrollArea* CreatePageScrollArea(const QString& objectName, QWidget* parent);

}  // namespace vormex::gui
