#include "gui/shell/MainFrame.h"

#include "app/AppSettings.h"
#include "base/StringIds.h"
#include "gui/application/Looks.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/GuiStrings.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/pages/DownloadView.h"
#include "gui/pages/InitialTableGroup.h"
#include "gui/pages/PlaceholderPage.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/pages/SystemSettingView.h"
#include "gui/pages/ToolsView.h"
#include "gui/shell/HeaderView.h"
#include "gui/shell/NavigationBar.h"
#include "gui/shell/WindowPlacement.h"
#include "gui/widgets/FocusFrameFollower.h"
#include "gui/widgets/SvgIcon.h"
#include "pages/PrinterSettingsModel.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QMenuBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

// The first control of a page that Tab stops at; nullptr when it has none.
QWidget* firstTabStop(QWidget* page)
{
    for (QWidget* widget = page->nextInFocusChain(); widget != page; widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(page) &&
            widget->isEnabled() && !widget->focusProxy())
            return widget;
    }
    return nullptr;
}

}  // namespace

PageFactories DefaultPageFactories()
{
    PageFactories factories;
    factories[kSystemParametersPage] = [](CVORMEXSettingToolApp& app, QWidget* parent) -> QWidget* {
        return new CSystemSettingView(app, parent);
    };
    // The four pages of the initial-values group share one document.
    const InitialTablePageFactories group = MakeInitialTablePageFactories();
    for (size_t tab = 0; tab < group.size(); ++tab)
        factories[kInitialValuesPage + tab] = group[tab];
    return factories;
}

QSize CMainFrame::DefaultSize(bool japaneseUi) { return japaneseUi ? QSize(1000, 680) : QSize(890, 720); }

CMainFrame::CMainFrame(CVORMEXSettingToolApp& app, const PageFactories& factories, QWidget* parent)
    : QMainWindow(parent), app_(app), factories_(factories)
{
    Application& state = app.app();
    setWindowTitle(app.text(strings::kApplicationTitle));
    setWindowIcon(SvgIcon(QStringLiteral(":/vormex/icons/vormex-setting-tool.svg")));
    setAcceptDrops(false);
    resize(DefaultSize(state.japaneseUi != 0));
    // The look first: what is made after it is polished once, in its style.
    focusFrames_ = new FocusFrameFollower(this);
    SetLook(state.applicationLook);

    // The navigation bar on the left.
    QStringList captions;
    for (int i = 0; i < kDestinationCount; ++i)
        captions << app.text(text::kNavigationCaptionFirst + i);
    navigation_ = new NavigationBar(captions, this);
    navigationDock_ = new QDockWidget(app.text(text::kNavigationPaneCaption), this);
    navigationDock_->setObjectName(QStringLiteral("Shortcuts"));
    navigationDock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    navigationDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    navigationDock_->setWidget(navigation_);
    navigation_->setMinimumWidth(150);
    addDockWidget(Qt::LeftDockWidgetArea, navigationDock_);
    connect(navigation_, &NavigationBar::commandTriggered, this, [this](int command) { SwitchPage(command); });
    // Ctrl+1 to Ctrl+5 (shown in the buttons' tips) move to a destination from anywhere in the
    // window, also while the bar is hidden; the keyboard then goes on in the page shown.
    for (int destination = 0; destination < kDestinationCount; ++destination) {
        auto* go = new QAction(this);
        go->setShortcut(NavigationBar::ShortcutFor(destination));
        go->setShortcutContext(Qt::WindowShortcut);
        connect(go, &QAction::triggered, this, [this, destination] {
            if (SwitchPage(kFirstDestinationCommand + destination)) {
                if (QWidget* first = firstTabStop(stack_->currentWidget()))
                    first->setFocus(Qt::ShortcutFocusReason);
            }
        });
        addAction(go);
    }

    // The header pane above the pages.
    header_ = new CHeaderView(app.text(text::kOptionsButton), app.text(text::kOptionsButtonTip), this);
    connect(header_, &CHeaderView::optionsRequested, this, &CMainFrame::OpenOptions);

    stack_ = new QStackedWidget(this);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header_);
    layout->addWidget(stack_, 1);
    setCentralWidget(central);

    ApplyLookToPanes({header_, navigation_}, look_);
    createMenus();
    header_->SetIconShown(state.headerIcon != 0);
    header_->SetDeviceInfoShown(state.headerDeviceInfo != 0);
    headerText_ = ComposeHeaderText(state.selectedPrinterName, state.deviceInfo);
    created_ = true;
    header_->SetHeaderText(headerText_);

    createPages();
}

CMainFrame::~CMainFrame()
{
    // The window goes while the frame is whole: the focus leaving it may still make a page apply
    // what was typed (an edited address), which reaches the frame.
    hide();
    app_.selectedUsbDevicePath = nullptr;
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(app_.text(text::kMenuFile));
    QAction* exit = file->addAction(app_.text(text::kMenuExit));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(app_.text(text::kMenuView));
    QAction* toggle = navigationDock_->toggleViewAction();
    toggle->setText(app_.text(text::kMenuNavigationBar));
    view->addAction(toggle);

    QMenu* help = menuBar()->addMenu(app_.text(text::kMenuHelp));
    QAction* about = help->addAction(app_.text(text::kMenuAbout));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &CMainFrame::OpenAbout);
}

void CMainFrame::createPages()
{
    printerSettings_ = new CPrinterSettingView(app_, *this, stack_);
    pages_[kPrinterSettingsPage] = printerSettings_;
    stack_->addWidget(printerSettings_);
    app_.selectedUsbDevicePath = [this] { return printerSettings_->SelectedUsbDevicePath(); };
    currentPage_ = 0;
    stack_->setCurrentWidget(printerSettings_);
    printerSettings_->OnInitialUpdate();
    navigation_->setCurrent(0);
    // The keyboard starts on the page, not on the navigation bar.
    printerSettings_->printerList()->setFocus(Qt::OtherFocusReason);
}

QWidget* CMainFrame::page(int index)
{
    QWidget*& slot = pages_.at(static_cast<size_t>(index));
    if (!slot)
        slot = buildPage(index);
    return slot;
}

QWidget* CMainFrame::buildPage(int index)
{
    QWidget* built = nullptr;
    if (index == kToolsPage) {
        tools_ = new CToolsView(app_, printerSettings_, stack_);
        built = tools_;
    } else if (index == kDownloadPage) {
        download_ = new CDownloadView(app_, printerSettings_, stack_);
        download_->OnInitialUpdate();
        built = download_;
    } else if (const PageFactory& factory = factories_[static_cast<size_t>(index)]) {
        built = factory(app_, stack_);
    }
    if (!built)
        built = new PlaceholderPage(QString(), QString(), stack_);
    stack_->addWidget(built);
    return built;
}

CToolsView* CMainFrame::tools()
{
    page(kToolsPage);
    return tools_;
}

CDownloadView* CMainFrame::download()
{
    page(kDownloadPage);
    return download_;
}

void CMainFrame::ShowWindow()
{
    navigationDock_->setVisible(app_.store().readInt(QString::fromLatin1(settings::kShortcutsBar), 1) != 0);
    const std::optional<WindowPlacement> placement =
        WindowPlacement::parse(app_.store().readString(QString::fromLatin1(settings::kWindowsPos), QString()));
    if (placement && placement->normalRect().width() > 0 && placement->normalRect().height() > 0) {
        placement->applyTo(*this);
        return;
    }
    resize(DefaultSize(app_.app().japaneseUi != 0));
    show();
}

int CMainFrame::shownPageIndex() const
{
    for (int i = 0; i < kPageCount; ++i) {
        if (pages_[static_cast<size_t>(i)] && stack_->currentWidget() == pages_[static_cast<size_t>(i)])
            return i;
    }
    return -1;
}

void CMainFrame::showPage(int index)
{
    QWidget* next = page(index);
    stack_->setCurrentWidget(next);
    next->update();
}

int CMainFrame::targetPageOf(int destination) const
{
    switch (destination) {
    case 0:
        return kPrinterSettingsPage;
    case 1:
        return kSystemParametersPage;
    case 2:
        return kInitialValuesPage + initialValuesTab_;
    case 3:
        return kDownloadPage;
    default:
        return kToolsPage;
    }
}

bool CMainFrame::SwitchPage(int command)
{
    const int destination = command - kFirstDestinationCommand;
    if (destination < 0 || destination >= kDestinationCount) {
        navigation_->setCurrent(currentPage_);
        return false;
    }
    const int target = targetPageOf(destination);
    bool changed = false;
    if ((currentPage_ != 0 || printerSettings_->CheckControlCodes()) && target != shownPageIndex() &&
        leaveCurrentDestination(target)) {
        currentPage_ = destination;
        showPage(target);
        changed = true;
    }
    // The pressed button always follows the destination shown.
    navigation_->setCurrent(currentPage_);
    return changed;
}

bool CMainFrame::leaveCurrentDestination(int targetPage)
{
    switch (currentPage_) {
    case 0:
        printerSettings_->ApplyControlCodes();
        return printerSettings_->CheckControlCodes() != 0;
    case 1:
        if (auto* page = dynamic_cast<SystemParameterLeaving*>(pages_[kSystemParametersPage]))
            return page->ValidateRanges() && page->ConfirmSaveChanges();
        return true;
    case 2: {
        // The group page shown answers for the group (the tab may already name the next one).
        auto* group = dynamic_cast<InitialTableLeaving*>(stack_->currentWidget());
        if (!group)
            return true;
        if (!group->ValidateInitialTableDocument())
            return false;
        const bool leavingGroup = targetPage < kInitialValuesPage || targetPage > kResponseCommandsPage;
        return !leavingGroup || group->ConfirmSaveInitialTable();
    }
    default:
        return true;
    }
}

void CMainFrame::SetInitialValuesTab(int tab)
{
    if (tab >= 0 && tab <= kResponseCommandsPage - kInitialValuesPage)
        initialValuesTab_ = tab;
}

bool CMainFrame::ShowInitialValuesTab(int tab)
{
    SetInitialValuesTab(tab);
    const bool shown = SwitchPage(kFirstDestinationCommand + 2);
    // A refused switch keeps the group on the page it shows, and destination 2 names that page.
    const int page = shownPageIndex();
    if (!shown && page >= kInitialValuesPage && page <= kResponseCommandsPage)
        initialValuesTab_ = page - kInitialValuesPage;
    return shown;
}

void CMainFrame::BringInitialValuesTabForward(int tab)
{
    SetInitialValuesTab(tab);
    currentPage_ = 2;
    showPage(kInitialValuesPage + initialValuesTab_);
    navigation_->setCurrent(currentPage_);
}

void CMainFrame::ToggleNavigationBar() { navigationDock_->setVisible(navigationDock_->isHidden()); }

void CMainFrame::OpenOptions()
{
    CEnvironmentSheet sheet(app_, *this, look_, this);
    sheet_ = &sheet;
    sheet.exec();
    sheet_ = nullptr;
}

void CMainFrame::OpenAbout()
{
    AboutDialog about(app_, this);
    about.exec();
}

void CMainFrame::SetHeaderText(const QString& headerText)
{
    headerText_ = headerText;
    if (created_)
        header_->SetHeaderText(headerText);
}

void CMainFrame::PrinterChanged()
{
    // A page not built yet is built for the printer chosen by then.
    const QString printer = app_.app().selectedPrinterName;
    for (QWidget* page : pages_) {
        if (auto* listener = dynamic_cast<PrinterChangeListener*>(page))
            listener->OnPrinterChanged(printer);
    }
}

void CMainFrame::SetLook(int lookId)
{
    look_ = lookId;
    app_.app().applicationLook = lookId;
    ApplyLook(*this, {header_, navigation_}, lookId);
    focusFrames_->setEditsShowFocus(LookFor(lookId).editsShowFocus);
    // Written when it changes: a write makes the settings file be synced to disk, and at the start
    // that would come before the window's first paint.
    const QString key = QString::fromLatin1(settings::kApplicationLook);
    if (app_.store().readInt(key, lookId - 1) != lookId)
        app_.store().writeInt(key, lookId);
}

void CMainFrame::ShowHeaderIcon(bool shown) { header_->SetIconShown(shown); }

void CMainFrame::ShowHeaderDeviceInfo(bool shown) { header_->SetDeviceInfoShown(shown); }

void CMainFrame::RestartForLanguage()
{
    app_.app().restartRequested = 1;
    close();
}

bool CMainFrame::confirmUnsavedPages()
{
    if (auto* system = dynamic_cast<SystemParameterLeaving*>(pages_[kSystemParametersPage]);
        system && !system->ConfirmSaveChanges())
        return false;
    for (int index = kInitialValuesPage; index <= kResponseCommandsPage; ++index) {
        // Any page of the group answers for the group.
        if (auto* group = dynamic_cast<InitialTableLeaving*>(pages_[static_cast<size_t>(index)]))
            return group->ConfirmSaveBeforeExit();
    }
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Closing (and the language's restart) asks about unsaved pages first; staying restarts nothing.
    if (!confirmUnsavedPages()) {
        app_.app().restartRequested = 0;
        event->ignore();
        return;
    }
    WindowPlacement placement = WindowPlacement::of(*this);
    placement.flags = 0;
    app_.store().writeString(QString::fromLatin1(settings::kWindowsPos), placement.format());
    app_.store().writeInt(QString::fromLatin1(settings::kShortcutsBar), navigationDock_->isHidden() ? 0 : 1);
    app_.SaveCustomState();
    app_.SaveSettings();
    event->accept();
}

}  // namespace vormex::gui
