#include "gui/widgets/PageScrollArea.h"

#include <QScrollArea>
#include <QString>

namespace vormex::gui {

QScrollArea* CreatePageScrollArea(const QString& objectName, QWidget* parent)
{
    auto* scroll = new QScrollArea(parent);
    scroll->setObjectName(objectName);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    return scroll;
}

}  // namespace vormex::gui
