#include "gui/pages/DocumentRows.h"

#include "gui/binding/AccessibleNames.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vormex::gui {

QLineEdit* AddFileNameRow(QBoxLayout* layout, const QString& caption, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    auto* captionLabel = new QLabel(caption, parent);
    auto* fileName = new QLineEdit(parent);
    fileName->setObjectName(QStringLiteral("FileName"));
    fileName->setReadOnly(true);
    // It looks like the caption's text beside it, not like an edit.
    fileName->setFrame(false);
    fileName->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; }"));
    fileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    NameAfterCaption(captionLabel, fileName);
    row->addWidget(captionLabel);
    row->addWidget(fileName, 1);
    layout->addLayout(row);
    return fileName;
}

void ShowFileName(QLineEdit& field, const QString& path)
{
    field.setText(path);
    field.setCursorPosition(0);
    field.setToolTip(path);
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
