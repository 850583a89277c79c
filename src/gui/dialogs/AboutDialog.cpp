#include "gui/dialogs/AboutDialog.h"

#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/GuiStrings.h"
#include "gui/widgets/SvgIcon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vormex::gui {

AboutDialog::AboutDialog(const CVORMEXSettingToolApp& app, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(app.text(text::kAboutTitle));
    auto* icon = new QLabel(this);
    icon->setPixmap(SvgPixmap(QStringLiteral(":/vormex/icons/vormex-setting-tool.svg"), QSize(64, 64)));
    icon->setAccessibleName(QStringLiteral("VORMEX Setting Tool"));

    auto* version = new QLabel(app.text(text::kAboutVersion), this);
    auto* notice = new QLabel(app.text(text::kAboutNotice), this);
    notice->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(app.text(text::kButtonOk));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(notice);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

}  // namespace vormex::gui
