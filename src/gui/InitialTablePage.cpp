#include "InitialTablePage.h"

#include "GuiStrings.h"
#include "PageTitle.h"
#include "Property.h"
#include "VORMEXSettingToolApp.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

struct TabInfo {
    int caption;
    const char* icon;
};
constexpr TabInfo kTabs[kInitialTableTabCount] = {
    {text::kPageInitialValues, ":/vormex/icons/tab-initial-values.svg"},
    {text::kPageFontTables, ":/vormex/icons/tab-font-tables.svg"},
    {text::kPageDriveMapping, ":/vormex/icons/tab-drive-mapping.svg"},
    {text::kPageResponseCommands, ":/vormex/icons/tab-response-commands.svg"},
};

}  // namespace

InitialTablePage::InitialTablePage(std::shared_ptr<InitialTableGroup> group, InitialTableTab tab,
                                   const Controls& controls, QWidget* parent)
    : QWidget(parent), group_(std::move(group)), tab_(tab)
{
    setAccessibleName(text(kTabs[int(tab)].caption));
    buildFrame(controls);
}

InitialTablePage::~InitialTablePage() = default;

void InitialTablePage::buildFrame(const Controls& controls)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 16, 24, 12);
    outer->setSpacing(8);
    outer->addWidget(CreatePageTitle(group_->title(), this));

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("InitialTableTabs"));
    tabs_->setDrawBase(true);
    tabs_->setExpanding(false);
    tabs_->setIconSize(QSize(16, 16));
    for (const TabInfo& info : kTabs)
        tabs_->addTab(QIcon(QString::fromLatin1(info.icon)), text(info.caption));
    tabs_->setCurrentIndex(int(tab_));
    connect(tabs_, &QTabBar::currentChanged, this, &InitialTablePage::tabChosen);
    outer->addWidget(tabs_);

    content_ = new QVBoxLayout;
    content_->setContentsMargins(0, 4, 0, 0);
    content_->setSpacing(8);
    outer->addLayout(content_, 1);

    auto* fileRow = new QHBoxLayout;
    fileRow->setSpacing(8);
    auto* fileCaption = new QLabel(text(text::controlCaption(controls.fileName)), this);
    fileName_ = new QLabel(this);
    fileName_->setObjectName(QStringLiteral("FileName"));
    fileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fileName_->setAccessibleName(Property::AccessibleNameOf(fileCaption->text()));
    fileRow->addWidget(fileCaption);
    fileRow->addWidget(fileName_, 1);
    outer->addLayout(fileRow);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(8);
    InitialTableGroup* group = group_.get();
    const std::pair<int, std::function<void()>> actions[] = {
        {controls.read, [group] { group->OnReadFile(); }},
        {controls.save, [group] { group->OnSaveFile(); }},
        {controls.get, [group] { group->OnGetFromPrinter(); }},
        {controls.download, [group] { group->OnDownload(); }},
        {controls.restore, [this] { OnRestoreDefaults(); }},
    };
    for (const auto& [id, action] : actions) {
        auto* button = new QPushButton(text(text::controlCaption(id)), this);
        button->setObjectName(QStringLiteral("Button%1").arg(id));
        button->setAccessibleName(Property::AccessibleNameOf(button->text()).remove(QLatin1String("...")));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttonRow->addWidget(button);
        buttons_[id] = button;
    }
    buttonRow->addStretch(1);
    outer->addLayout(buttonRow);
}

QPushButton* InitialTablePage::button(int id) const
{
    const auto found = buttons_.find(id);
    return found == buttons_.end() ? nullptr : found->second;
}

void InitialTablePage::ShowFileName(const QString& path)
{
    fileName_->setText(path);
    fileName_->setToolTip(path);
}

void InitialTablePage::tabChosen(int index)
{
    if (index == int(tab_))
        return;
    // The row stays on this page's tab; the frame shows the chosen page when the checks pass.
    {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(int(tab_));
    }
    group_->RequestTab(*this, index);
}

bool InitialTablePage::askRestore(int questionId) const
{
    return app().ShowMessage(QMessageBox::Warning, text(questionId), QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

void InitialTablePage::enableDocumentButtons(bool enabled)
{
    for (const auto& [id, button] : buttons_)
        button->setEnabled(enabled);
}

bool InitialTablePage::ValidateInitialTableDocument() { return group_->ValidateInitialTableDocument(true); }

bool InitialTablePage::ConfirmSaveInitialTable() { return group_->ConfirmSaveInitialTable(); }

void InitialTablePage::OnPrinterChanged(const QString& printerName) { group_->OnPrinterChanged(*this, printerName); }

}  // namespace vormex::gui
