#include "gui/pages/DocumentRows.h"

#include "gui/binding/AccessibleNames.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vormex::gui {

QLabel* AddFileNameRow(QBoxLayout* layout, const QString& caption, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    auto* captionLabel = new QLabel(caption, parent);
    auto* fileName = new QLabel(parent);
    fileName->setObjectName(QStringLiteral("FileName"));
    fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fileName->setAccessibleName(AccessibleNameOf(caption));
    row->addWidget(captionLabel);
    row->addWidget(fileName, 1);
    layout->addLayout(row);
    return fileName;
}

std::map<int, QPushButton*> AddButtonRow(QBoxLayout* layout, const std::vector<PageAction>& actions, QWidget* parent)
{
    std::map<int, QPushButton*> buttons;
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    for (const PageAction& action : actions) {
        auto* button = new QPushButton(action.caption, parent);
        button->setObjectName(QStringLiteral("Button%1").arg(action.id));
        button->setAccessibleName(AccessibleNameOf(action.caption));
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, parent, action.run);
        row->addWidget(button);
        buttons[action.id] = button;
    }
    row->addStretch(1);
    layout->addLayout(row);
    return buttons;
}

}  // namespace vormex::gui
