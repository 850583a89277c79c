#include "gui/application/Looks.h"
#include "gui/pages/DownloadView.h"
#include "gui/pages/PlaceholderPage.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/shell/HeaderView.h"
#include "gui/shell/NavigationBar.h"
#include "gui/shell/WindowPlacement.h"
#include "GuiHarness.h"
#include "GuiTests.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace vormex::gui::test {
namespace {

constexpr int kPrinterDestination = 32818;
constexpr int kSystemDestination = 32819;
constexpr int kInitialValuesDestination = 32820;
constexpr int kDownloadDestination = 32821;
constexpr int kToolsDestination = 32822;

// A page whose leaving checks answer as the test says and count how often they were asked.
class ScriptedPage : public PlaceholderPage {
public:
    explicit ScriptedPage(QWidget* parent) : PlaceholderPage(QStringLiteral("scripted"), QString(), parent) {}
    bool ValidateRanges() override { ++rangeChecks; return rangesPass; }
    bool ConfirmSaveChanges() override { ++saveQuestions; return saveAnswer; }
    bool ValidateInitialTableDocument() override { ++documentChecks; return documentPasses; }
    bool ConfirmSaveInitialTable() override { ++saveQuestions; return saveAnswer; }

    bool rangesPass = true;
    bool documentPasses = true;
    bool saveAnswer = true;
    int rangeChecks = 0;
    int documentChecks = 0;
    int saveQuestions = 0;
};

PageFactories scriptedPages()
{
    PageFactories factories = DefaultPageFactories();
    for (int page : {kSystemParametersPage, kInitialValuesPage, kFontTablesPage, kDriveMappingPage,
                     kResponseCommandsPage}) {
        factories[static_cast<size_t>(page)] = [](CVORMEXSettingToolApp&, QWidget* parent) -> QWidget* {
            return new ScriptedPage(parent);
        };
    }
    return factories;
}

ScriptedPage* scripted(CMainFrame& frame, int page) { return static_cast<ScriptedPage*>(frame.page(page)); }

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void framePartsAreThere()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        QCOMPARE(frame.windowTitle(), QStringLiteral("VORMEX Setting Tool"));
        QCOMPARE(frame.navigationBar()->button(0)->text(), QStringLiteral("プリンタ設定"));
        QCOMPARE(frame.navigationBar()->button(2)->text(), QStringLiteral("初期値&&テーブル設定"));  // shows one "&"
        QCOMPARE(frame.navigationBar()->button(2)->accessibleName(), QStringLiteral("初期値&テーブル設定"));
        QCOMPARE(frame.navigationDock()->windowTitle(), QStringLiteral("ビュー"));
        QCOMPARE(frame.navigationDock()->objectName(), QStringLiteral("Shortcuts"));
        QCOMPARE(frame.shownPageIndex(), 0);
        QCOMPARE(frame.navigationBar()->current(), 0);
        QCOMPARE(frame.header()->textArea()->printerName(), kFixedPrinter);
        QCOMPARE(frame.header()->textArea()->deviceInfo(), QStringLiteral("LAN:192.168.1.100:8000"));
    }

    void headerCutsLongTextsAndHidesTheDeviceInfo()
    {
        HeaderText header;
        header.resize(400, 60);
        header.setText(QStringLiteral("ORN Q-KA5 with a name far longer than any header could show") + QChar(0x0008) +
                       QStringLiteral("LAN:192.168.1.100:8000"));
        QVERIFY(header.drawnPrinterName().endsWith(QChar(0x2026)));
        QCOMPARE(header.drawnDeviceInfo(), QStringLiteral("LAN:192.168.1.100:8000"));
        header.setDeviceInfoShown(false);
        QCOMPARE(header.drawnDeviceInfo(), QString());
        QCOMPARE(header.deviceInfo(), QStringLiteral("LAN:192.168.1.100:8000"));
        header.resize(1200, 60);
        QCOMPARE(header.drawnPrinterName(), header.printerName());
    }

    void destinationsShowTheirPages()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        const std::pair<int, int> moves[] = {{kToolsDestination, kToolsPage},
                                             {kDownloadDestination, kDownloadPage},
                                             {kInitialValuesDestination, kInitialValuesPage},
                                             {kSystemDestination, kSystemParametersPage},
                                             {kPrinterDestination, kPrinterSettingsPage}};
        for (const auto& [command, page] : moves) {
            QVERIFY(frame.SwitchPage(command));
            QCOMPARE(frame.shownPageIndex(), page);
            QCOMPARE(frame.currentPage(), command - kPrinterDestination);
            QCOMPARE(frame.navigationBar()->current(), command - kPrinterDestination);
        }
        // Commands outside the five change nothing.
        QVERIFY(!frame.SwitchPage(32817));
        QVERIFY(!frame.SwitchPage(32823));
        QCOMPARE(frame.shownPageIndex(), 0);
    }

    void clickingTheNavigationButtonSwitches()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        frame.show();
        QTest::mouseClick(frame.navigationBar()->button(4), Qt::LeftButton);
        QCOMPARE(frame.shownPageIndex(), int(kToolsPage));
        QVERIFY(frame.navigationBar()->button(4)->isChecked());
        QVERIFY(!frame.navigationBar()->button(0)->isChecked());
    }

    void equalManualCodesKeepThePrinterPage()
    {
        Harness harness({{QString::fromLatin1(settings::kPrinterName), kVariablePrinter},
                         {QString::fromLatin1(settings::kControlCodeType), 3},
                         {QString::fromLatin1(settings::kControlCode1), 0x1B},
                         {QString::fromLatin1(settings::kControlCode2), 0x0A},
                         {QString::fromLatin1(settings::kControlCode3), 0x1B}});
        CMainFrame& frame = harness.frame();
        // The filled page checks once, when the window is on the screen.
        frame.show();
        QTRY_COMPARE(harness.messages.size(), size_t(1));
        QCOMPARE(harness.messages[0].text, QStringLiteral("制御コードに同一の値が設定されています"));
        QCOMPARE(harness.messages[0].icon, QMessageBox::Critical);

        QTest::mouseClick(frame.navigationBar()->button(4), Qt::LeftButton);
        QCOMPARE(frame.shownPageIndex(), 0);
        QCOMPARE(frame.navigationBar()->current(), 0);  // the pressed button follows the page shown
        QCOMPARE(harness.messages.size(), size_t(2));

        // Pressing the shown page's button checks the codes too.
        QVERIFY(!frame.SwitchPage(kPrinterDestination));
        QCOMPARE(harness.messages.size(), size_t(3));

        // Once the codes differ the page can be left.
        frame.printerSettings()->manualCode(2)->setText(QStringLiteral("HEX(00)"));
        frame.printerSettings()->ApplyControlCodes();
        QVERIFY(frame.SwitchPage(kToolsDestination));
        QCOMPARE(harness.messages.size(), size_t(3));
        QCOMPARE(harness.state().controlCodes, (ControlCodes{3, 0x1B, 0x0A, 0x00}));
    }

    void systemPageSaveQuestion()
    {
        Harness harness;
        CMainFrame& frame = harness.frame(scriptedPages());
        ScriptedPage* system = scripted(frame, kSystemParametersPage);
        QVERIFY(frame.SwitchPage(kSystemDestination));

        // The button of the page shown asks nothing.
        QVERIFY(!frame.SwitchPage(kSystemDestination));
        QCOMPARE(system->saveQuestions, 0);

        // Cancel keeps the page.
        system->saveAnswer = false;
        QVERIFY(!frame.SwitchPage(kToolsDestination));
        QCOMPARE(frame.shownPageIndex(), int(kSystemParametersPage));
        QCOMPARE(frame.navigationBar()->current(), 1);
        QCOMPARE(system->saveQuestions, 1);

        // A failing range check stops before the question.
        system->rangesPass = false;
        system->saveAnswer = true;
        QVERIFY(!frame.SwitchPage(kToolsDestination));
        QCOMPARE(system->saveQuestions, 1);

        system->rangesPass = true;
        QVERIFY(frame.SwitchPage(kToolsDestination));
        QCOMPARE(system->saveQuestions, 2);
    }

    void initialValuesGroupAsksOnlyWhenLeft()
    {
        Harness harness;
        CMainFrame& frame = harness.frame(scriptedPages());
        QVERIFY(frame.SwitchPage(kInitialValuesDestination));
        QCOMPARE(frame.shownPageIndex(), int(kInitialValuesPage));

        // Moving to another page of the group: the document check, no question.
        ScriptedPage* first = scripted(frame, kInitialValuesPage);
        frame.SetInitialValuesTab(2);
        QVERIFY(frame.SwitchPage(kInitialValuesDestination));
        QCOMPARE(frame.shownPageIndex(), int(kDriveMappingPage));
        QCOMPARE(first->documentChecks, 1);
        QCOMPARE(first->saveQuestions, 0);

        // Leaving the group asks; No leaves it.
        ScriptedPage* shown = scripted(frame, kDriveMappingPage);
        shown->saveAnswer = false;
        QVERIFY(!frame.SwitchPage(kDownloadDestination));
        QCOMPARE(frame.shownPageIndex(), int(kDriveMappingPage));
        QCOMPARE(shown->saveQuestions, 1);
        shown->documentPasses = false;
        shown->saveAnswer = true;
        QVERIFY(!frame.SwitchPage(kDownloadDestination));
        QCOMPARE(shown->saveQuestions, 1);
        shown->documentPasses = true;
        QVERIFY(frame.SwitchPage(kDownloadDestination));
        QCOMPARE(frame.shownPageIndex(), int(kDownloadPage));
    }

    // Closing the window and the language's restart ask the save question of a page with
    // unsaved changes: Yes saves (then goes on), No drops them, Cancel keeps the program open and
    // restarts nothing.
    void closingAsksAboutUnsavedPages_data()
    {
        QTest::addColumn<bool>("initialValues");  // which page holds the changes
        QTest::addColumn<bool>("restart");        // the language's "restart now", else closing
        QTest::addColumn<int>("answer");
        for (const bool initialValues : {false, true}) {
            for (const bool restart : {false, true}) {
                for (const auto& [name, answer] : {std::pair{"Yes", QMessageBox::Yes}, std::pair{"No", QMessageBox::No},
                                                   std::pair{"Cancel", QMessageBox::Cancel}}) {
                    const QString row = QStringLiteral("%1, %2, %3")
                                            .arg(initialValues ? QStringLiteral("initial values") : QStringLiteral("system"),
                                                 restart ? QStringLiteral("restart") : QStringLiteral("close"),
                                                 QLatin1String(name));
                    QTest::newRow(row.toUtf8().constData()) << initialValues << restart << int(answer);
                }
            }
        }
    }

    void closingAsksAboutUnsavedPages()
    {
        QFETCH(bool, initialValues);
        QFETCH(bool, restart);
        QFETCH(int, answer);
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        frame.ShowWindow();
        QVERIFY(frame.SwitchPage(initialValues ? kInitialValuesDestination : kSystemDestination));
        // Typed into the first field of the page: a change not saved.
        QWidget* page = frame.page(initialValues ? kInitialValuesPage : kSystemParametersPage);
        QWidget* field = page->findChild<QWidget*>(initialValues ? QStringLiteral("BARCODE Height") : QStringLiteral("LABEL LENGTH"));
        QVERIFY(field);
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClick(field, Qt::Key_2);
        const QString path = harness.folder() + QStringLiteral("/kept.txt");
        harness.fileAnswers = {path};
        harness.answer = QMessageBox::StandardButton(answer);

        if (restart)
            frame.RestartForLanguage();
        else
            frame.close();
        QCOMPARE(harness.messages.size(), size_t(1));
        QCOMPARE(harness.messages[0].text, QString::fromUtf8(initialValues ? "初期値&テーブル設定値の変更を保存しますか？"
                                                                           : "システムパラメータの変更を保存しますか？"));
        const bool stays = answer == QMessageBox::Cancel;
        QCOMPARE(frame.isVisible(), stays);
        QCOMPARE(harness.state().restartRequested, restart && !stays ? 1 : 0);
        QCOMPARE(QFile::exists(path), answer == QMessageBox::Yes);
        QCOMPARE(harness.storedString(settings::kWindowsPos) != QStringLiteral("<absent>"), !stays);
    }

    void printerChangeReachesThePages()
    {
        Harness harness;
        CMainFrame& frame = harness.frame(scriptedPages());
        QComboBox* printers = frame.printerSettings()->printerList();
        QCOMPARE(printers->count(), 2);  // "standard" is not offered
        // The start builds the printer settings page alone; two more are built before the
        // change, the others only when first asked for.
        QVERIFY(frame.isPageBuilt(kPrinterSettingsPage));
        for (int page = kSystemParametersPage; page < kPageCount; ++page)
            QVERIFY(!frame.isPageBuilt(page));
        frame.page(kInitialValuesPage);
        frame.page(kFontTablesPage);
        for (int page : {kDriveMappingPage, kResponseCommandsPage, kDownloadPage})
            QVERIFY(!frame.isPageBuilt(page));
        printers->setCurrentIndex(printers->findText(kVariablePrinter));

        // Pages that count the changes (the real pages have tests of their own): the built ones
        // hear of it, the others are built for the printer chosen by then.
        for (int page : {kInitialValuesPage, kFontTablesPage}) {
            auto* placeholder = static_cast<PlaceholderPage*>(frame.page(page));
            QCOMPARE(placeholder->printerChanges(), 1);
            QCOMPARE(placeholder->printerName(), kVariablePrinter);
        }
        for (int page : {kDriveMappingPage, kResponseCommandsPage})
            QCOMPARE(static_cast<PlaceholderPage*>(frame.page(page))->printerChanges(), 0);
        QCOMPARE(frame.download()->job().printerName, kVariablePrinter);
        QCOMPARE(harness.storedString(settings::kPrinterName), kVariablePrinter);
        QCOMPARE(frame.header()->textArea()->printerName(), kVariablePrinter);
        QCOMPARE(frame.headerText(), kVariablePrinter + QChar(0x0008) + QStringLiteral("LAN:192.168.1.100:8000"));
    }

    void navigationBarToggles()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        frame.show();
        QVERIFY(frame.navigationDock()->isVisible());
        frame.ToggleNavigationBar();
        QVERIFY(!frame.navigationDock()->isVisible());
        QVERIFY(!frame.navigationDock()->toggleViewAction()->isChecked());
        frame.ToggleNavigationBar();
        QVERIFY(frame.navigationDock()->isVisible());
        QVERIFY(frame.navigationDock()->toggleViewAction()->isChecked());
        frame.hide();
    }

    void navigationBarStateSurvivesARestart()
    {
        Harness harness;
        {
            CMainFrame& frame = harness.frame();
            frame.ShowWindow();
            QVERIFY(frame.navigationDock()->isVisible());
            frame.ToggleNavigationBar();
            QVERIFY(frame.close());
            harness.dropFrame();
        }
        QCOMPARE(harness.storedInt(settings::kShortcutsBar), 0);
        {
            CMainFrame& frame = harness.frame();
            frame.ShowWindow();
            QVERIFY(!frame.navigationDock()->isVisible());
            QVERIFY(!frame.navigationDock()->toggleViewAction()->isChecked());
            frame.ToggleNavigationBar();
            QVERIFY(frame.close());
            harness.dropFrame();
        }
        QCOMPARE(harness.storedInt(settings::kShortcutsBar), 1);
        CMainFrame& frame = harness.frame();
        frame.ShowWindow();
        QVERIFY(frame.navigationDock()->isVisible());
        frame.hide();
    }

    void looksByIdWithAFallback()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        QCOMPARE(frame.look(), 213);  // the default
        QStringList names;
        for (int id = 210; id <= 218; ++id)
            names << LookFor(id).name;
        QCOMPARE(names.size(), 9);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 9);
        QCOMPARE(LookFor(999).name, QStringLiteral("Office 2007"));
        QCOMPARE(LookFor(209).name, QStringLiteral("Office 2007"));
        QVERIFY(LookFor(999).headerTop != LookFor(215).headerTop);
        frame.SetLook(216);
        QCOMPARE(harness.storedInt(settings::kApplicationLook), 216);
        QCOMPARE(frame.header()->styleSheet(), FrameStyleSheet(LookFor(216)));
        QCOMPARE(frame.navigationBar()->styleSheet(), FrameStyleSheet(LookFor(216)));
    }

    void windowPlacementFormat()
    {
        WindowPlacement placement;
        placement.flags = 0;
        placement.showState = WindowPlacement::Minimised;
        placement.left = 10;
        placement.top = 20;
        placement.right = 910;
        placement.bottom = 740;
        const QString text = placement.format();
        QCOMPARE(text, QStringLiteral("0,2,-1,-1,-1,-1,10,20,910,740"));
        QCOMPARE(WindowPlacement::parse(text), std::optional<WindowPlacement>(placement));
        for (const char* bad : {"", "1,2,3", "0,1,-1,-1,-1,-1,10,20,910,740,5", "0,1,-1,-1,-1,-1,10,20,910,x"})
            QVERIFY2(!WindowPlacement::parse(QString::fromLatin1(bad)), bad);
    }

    void windowPlacementRoundTrip()
    {
        Harness harness;
        {
            CMainFrame& frame = harness.frame();
            frame.ShowWindow();
            frame.setGeometry(40, 50, 760, 650);
            QVERIFY(frame.close());
            harness.dropFrame();
        }
        const std::optional<WindowPlacement> stored =
            WindowPlacement::parse(harness.storedString(settings::kWindowsPos));
        QVERIFY(stored);
        QCOMPARE(stored->flags, 0u);
        QCOMPARE(stored->showState, unsigned(WindowPlacement::Normal));
        QCOMPARE(stored->normalRect(), QRect(40, 50, 760, 650));

        CMainFrame& again = harness.frame();
        again.ShowWindow();
        QCOMPARE(again.geometry(), QRect(40, 50, 760, 650));
        again.hide();
    }

    void minimisedWindowComesBackMinimised()
    {
        Harness harness({{QString::fromLatin1(settings::kWindowsPos), QStringLiteral("0,2,-1,-1,-1,-1,30,40,830,740")}});
        CMainFrame& frame = harness.frame();
        frame.ShowWindow();
        QVERIFY(frame.isMinimized());
        QCOMPARE(frame.normalGeometry(), QRect(30, 40, 800, 700));
        frame.close();
        QCOMPARE(WindowPlacement::parse(harness.storedString(settings::kWindowsPos))->showState,
                 unsigned(WindowPlacement::Minimised));
    }

    void malformedPlacementGivesTheDefaultSize()
    {
        for (const bool japanese : {true, false}) {
            Harness harness({{QString::fromLatin1(settings::kWindowsPos), QStringLiteral("1,1,0,0,0")}});
            harness.state().japaneseUi = japanese ? 1 : 0;
            CMainFrame& frame = harness.frame();
            frame.ShowWindow();
            QCOMPARE(frame.size(), japanese ? QSize(1000, 680) : QSize(890, 720));
            frame.hide();
        }
    }

    void closingSavesTheControlCodes()
    {
        Harness harness({{QString::fromLatin1(settings::kPrinterName), kVariablePrinter}});
        CMainFrame& frame = harness.frame();
        frame.printerSettings()->controlCodeType()->setCurrentIndex(2);
        QCOMPARE(harness.state().controlCodes, ControlCodes::forType(2));
        frame.close();
        QCOMPARE(harness.storedInt(settings::kControlCodeType), 2);
        QCOMPARE(harness.storedInt(settings::kControlCode1), int('{'));
        QCOMPARE(harness.storedInt(settings::kControlCode3), int('}'));
    }
};

VORMEX_GUI_TEST(MainFrameTest);

}  // namespace vormex::gui::test

#include "MainFrameTest.moc"
