#include "gui/widgets/PageTitle.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace vormex::gui {

QWidget* CreatePageTitle(const QString& title, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(4);
    auto* label = new QLabel(title, box);
    label->setObjectName(QStringLiteral("PageTitle"));
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    label->setFont(font);
    layout->addWidget(label);
    auto* rule = new QFrame(box);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);
    return box;
}

}  // namespace vormex::gui
