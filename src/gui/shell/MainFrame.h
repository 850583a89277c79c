#pragma once

#include "gui/dialogs/EnvironmentSheet.h"
#include "gui/pages/PageInterfaces.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QDockWidget;
class QStackedWidget;

namespace vormex::gui {

class CDownloadView;
class FocusFrameFollower;
class CHeaderView;
class CPrinterSettingView;
class CToolsView;
class CVORMEXSettingToolApp;
class NavigationBar;

// Creates one of the pages 1 to 5 (system parameters, the initial-values group).
using PageFactory = std::function<QWidget*(CVORMEXSettingToolApp& app, QWidget* parent)>;
using PageFactories = std::array<PageFactory, kPageCount>;

// The pages of this build: the ones not built yet are placeholders whose checks pass.
PageFactories DefaultPageFactories();

// The main window: navigation bar, header pane, the eight pages (one shown at a time), the menu.
// A page is built when it is first shown (or first asked for); the printer settings page at the
// start. A page not built yet has nothing to check or to reset: it is built for the printer
// chosen by then.
class CMainFrame : public QMainWindow, public PrinterSettingsHost, public OptionsHost, public InitialValuesHost {
    Q_OBJECT
public:
    explicit CMainFrame(CVORMEXSettingToolApp& app, const PageFactories& factories = DefaultPageFactories(),
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Restores "WindowsPos" or gives the default size of the language, and shows the window.
    void ShowWindow();

    // Moves to a destination (command 32818..32822) after the leaving checks; true when the
    // shown page changed.
    bool SwitchPage(int command);
    // The initial-values group chooses which of its pages destination 2 shows.
    void SetInitialValuesTab(int tab);
    int currentPage() const { return currentPage_; }
    int initialValuesTab() const { return initialValuesTab_; }
    int shownPageIndex() const;
    // The page of that index, built now if it was not yet.
    QWidget* page(int index);
    // Whether the page of that index has been built.
    bool isPageBuilt(int index) const { return pages_.at(static_cast<size_t>(index)) != nullptr; }

    void ToggleNavigationBar();
    void OpenOptions();
    void OpenAbout();

    // PrinterSettingsHost
    void SetHeaderText(const QString& headerText) override;
    void PrinterChanged() override;
    // InitialValuesHost
    bool ShowInitialValuesTab(int tab) override;
    void BringInitialValuesTabForward(int tab) override;
    // OptionsHost
    void SetLook(int lookId) override;
    void ShowHeaderIcon(bool shown) override;
    void ShowHeaderDeviceInfo(bool shown) override;
    void RestartForLanguage() override;

    int look() const { return look_; }
    QString headerText() const { return headerText_; }
    CHeaderView* header() const { return header_; }
    NavigationBar* navigationBar() const { return navigation_; }
    QDockWidget* navigationDock() const { return navigationDock_; }
    CPrinterSettingView* printerSettings() const { return printerSettings_; }
    CToolsView* tools();
    CDownloadView* download();
    // The options sheet while it is open (tests); nullptr otherwise.
    CEnvironmentSheet* openSheet() const { return sheet_; }

    static QSize DefaultSize(bool japaneseUi);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createPages();
    QWidget* buildPage(int index);
    void showPage(int index);
    int targetPageOf(int destination) const;
    bool leaveCurrentDestination(int targetPage);
    // The save questions of the pages with unsaved changes, before the program ends; false when
    // the user chose to stay.
    bool confirmUnsavedPages();

    CVORMEXSettingToolApp& app_;
    PageFactories factories_;
    int look_ = 0;
    int currentPage_ = 0;
    int initialValuesTab_ = 0;
    bool created_ = false;
    QString headerText_;
    CHeaderView* header_ = nullptr;
    NavigationBar* navigation_ = nullptr;
    QDockWidget* navigationDock_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::array<QWidget*, kPageCount> pages_{};
    CPrinterSettingView* printerSettings_ = nullptr;
    CToolsView* tools_ = nullptr;
    CDownloadView* download_ = nullptr;
    CEnvironmentSheet* sheet_ = nullptr;
    // The focus frame where the look's style draws none.
    FocusFrameFollower* focusFrames_ = nullptr;
};

}  // namespace vormex::gui
