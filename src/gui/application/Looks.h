#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QWidget;

namespace vormex::gui {

// The nine looks of the window, by id 210..218, and the Office-2007-like look in a colour of
// its own for every other id.
struct Look {
    int id = 0;           // the id asked for
    QString name;         // for tests and screenshots
    QString qtStyle;      // the Qt widget style the look is built on
    // Whether the style marks an edit with the focus itself (the classic look's sunken edits look
    // the same with and without it; FocusFrameFollower draws the frame then).
    bool editsShowFocus = true;
    QColor window, base, button, text, highlight, highlightedText;
    QColor headerTop, headerBottom, headerText;
    QColor navigationBackground, navigationChecked, navigationCheckedBorder, navigationText;
};

inline constexpr int kFirstLookId = 210;
inline constexpr int kLastLookId = 218;

Look LookFor(int id);

// Applies a look to the whole application (style and palette) and to the frame's own panes
// (the navigation bar and the header pane take the look's style sheet; the pages take none, so
// they are polished and painted by the style alone), and repaints the frame with all its children.
void ApplyLook(QWidget& frame, const QList<QWidget*>& panes, int id);
// The panes' part of it, for panes made after the look was applied (null panes are skipped).
void ApplyLookToPanes(const QList<QWidget*>& panes, int id);

// The style sheet of the frame's navigation bar and header pane for a look.
QString FrameStyleSheet(const Look& look);

}  // namespace vormex::gui
