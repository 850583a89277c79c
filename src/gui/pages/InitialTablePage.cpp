#include "gui/pages/InitialTablePage.h"

#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/GuiStrings.h"
#include "gui/pages/DocumentRows.h"
#include "gui/widgets/PageTitle.h"
#include "gui/widgets/SvgIcon.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

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
        tabs_->addTab(SvgIcon(QString::fromLatin1(info.icon)), text(info.caption));
    tabs_->setCurrentIndex(int(tab_));
    connect(tabs_, &QTabBar::currentChanged, this, &InitialTablePage::tabChosen);
    outer->addWidget(tabs_);

    content_ = new QVBoxLayout;
    content_->setContentsMargins(0, 4, 0, 0);
    content_->setSpacing(8);
    outer->addLayout(content_, 1);

    fileName_ = AddFileNameRow(outer, text(text::controlCaption(controls.fileName)), this);

    buttonOrder_ = {controls.read, controls.save, controls.get, controls.download, controls.restore};
    InitialTableGroup* group = group_.get();
    const auto caption = [this](int id) { return text(text::controlCaption(id)); };
    buttons_ = AddButtonRow(outer,
                            {{controls.read, caption(controls.read), [group] { group->OnReadFile(); }},
                             {controls.save, caption(controls.save), [group] { group->OnSaveFile(); }},
                             {controls.get, caption(controls.get), [group] { group->OnGetFromPrinter(); }},
                             {controls.download, caption(controls.download), [group] { group->OnDownload(); }},
                             {controls.restore, caption(controls.restore), [this] { OnRestoreDefaults(); }}},
                            this);
}

QPushButton* InitialTablePage::button(int id) const
{
    const auto found = buttons_.find(id);
    return found == buttons_.end() ? nullptr : found->second;
}

void InitialTablePage::ShowFileName(const QString& path)
{
    gui::ShowFileName(*fileName_, path);
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

void InitialTablePage::placeButtonsLastInTabOrder()
{
    const auto isFrameButton = [this](QWidget* widget) {
        return std::any_of(buttons_.begin(), buttons_.end(), [widget](const auto& entry) { return entry.second == widget; });
    };
    QWidget* previous = nullptr;
    for (QWidget* widget = nextInFocusChain(); widget != this; widget = widget->nextInFocusChain()) {
        if (isAncestorOf(widget) && !isFrameButton(widget) && widget != fileName_)
            previous = widget;
    }
    std::vector<QWidget*> last{fileName_};
    for (int id : buttonOrder_)
        last.push_back(buttons_.at(id));
    for (QWidget* next : last) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
}

bool InitialTablePage::ValidateInitialTableDocument() { return group_->ValidateInitialTableDocument(true); }

bool InitialTablePage::ConfirmSaveInitialTable() { return group_->ConfirmSaveInitialTable(); }

bool InitialTablePage::ConfirmSaveBeforeExit() { return group_->ConfirmSaveBeforeExit(); }

void InitialTablePage::OnPrinterChanged(const QString& printerName) { group_->OnPrinterChanged(*this, printerName); }

}  // namespace vormex::gui
