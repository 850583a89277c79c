#include "GuiHarness.h"
#include "GuiTests.h"
#include "HeaderView.h"
#include "Looks.h"
#include "EnvironmentSheet.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace vormex::gui::test {

class EnvironmentSheetTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheCurrentValues()
    {
        Harness harness({{QString::fromLatin1(settings::kApplicationLook), 216},
                         {QString::fromLatin1(settings::kHeaderIcon), 0}});
        CMainFrame& frame = harness.frame();
        CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
        QCOMPARE(sheet.windowTitle(), QStringLiteral("環境設定"));
        QCOMPARE(sheet.tabs()->count(), 3);
        QCOMPARE(sheet.tabs()->currentIndex(), 0);
        QCOMPARE(sheet.tabs()->tabText(0), QStringLiteral("アプリケーションのスタイル"));
        QCOMPARE(sheet.tabs()->tabText(1), QStringLiteral("ダウンロード"));
        QCOMPARE(sheet.tabs()->tabText(2), QStringLiteral("言語"));
        QCOMPARE(sheet.stylePage()->lookList()->count(), 9);
        QCOMPARE(sheet.stylePage()->lookList()->currentItem()->text(), QStringLiteral("Office 2007 BLACK"));
        QVERIFY(!sheet.stylePage()->iconBox()->isChecked());
        QVERIFY(sheet.stylePage()->deviceInfoBox()->isChecked());
        QCOMPARE(sheet.downloaderPage()->waitTimeEdit()->text(), QStringLiteral("20000"));
        QVERIFY(sheet.downloaderPage()->pathEdit()->isReadOnly());
    }

    void unknownLookSelectsTheFirstEntry()
    {
        for (int look : {210, 260}) {
            Harness harness({{QString::fromLatin1(settings::kApplicationLook), look}});
            CMainFrame& frame = harness.frame();
            CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
            QCOMPARE(sheet.stylePage()->lookList()->currentRow(), 0);
            QCOMPARE(frame.look(), look);  // the look itself stays as stored
        }
    }

    void cancelRestoresLookAndHeader()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        QCOMPARE(frame.look(), 213);
        CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
        sheet.show();
        sheet.tabs()->setCurrentIndex(1);
        sheet.stylePage()->lookList()->setCurrentRow(6);  // Office 2007 BLACK, at once
        QCOMPARE(frame.look(), 216);
        QCOMPARE(sheet.tabs()->currentIndex(), 0);
        sheet.stylePage()->iconBox()->setChecked(false);
        QVERIFY(!frame.header()->iconShown());
        sheet.stylePage()->deviceInfoBox()->setChecked(false);
        QVERIFY(!frame.header()->textArea()->deviceInfoShown());

        sheet.reject();
        QCOMPARE(frame.look(), 213);
        QCOMPARE(frame.styleSheet(), FrameStyleSheet(LookFor(213)));
        QCOMPARE(harness.storedInt(settings::kApplicationLook), 213);
        QVERIFY(frame.header()->iconShown());
        QVERIFY(frame.header()->textArea()->deviceInfoShown());
        QCOMPARE(harness.storedInt(settings::kHeaderIcon), -12345);  // nothing stored
    }

    void okStoresTheHeaderSwitchesAndDownloader()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
        sheet.stylePage()->lookList()->setCurrentRow(8);
        sheet.stylePage()->iconBox()->setChecked(false);
        sheet.downloaderPage()->waitTimeEdit()->setText(QStringLiteral("60000"));
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(harness.storedInt(settings::kApplicationLook), 218);
        QCOMPARE(harness.storedInt(settings::kHeaderIcon), 0);
        QCOMPARE(harness.storedInt(settings::kHeaderDeviceInfo), 1);
        QCOMPARE(harness.storedInt(settings::kWaitTime), 60000);
        QCOMPARE(harness.state().waitTimeMs, 60000);
        QCOMPARE(harness.state().headerIcon, 0);
    }

    void waitTimeOutOfRangeKeepsTheSheetOpen()
    {
        for (const char* bad : {"0", "60001", "", "12a"}) {
            Harness harness;
            CMainFrame& frame = harness.frame();
            CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
            sheet.show();
            sheet.downloaderPage()->waitTimeEdit()->setText(QString::fromLatin1(bad));
            sheet.accept();
            QVERIFY2(sheet.isVisible(), bad);
            QCOMPARE(harness.messages.size(), size_t(1));
            QCOMPARE(harness.messages[0].text, QStringLiteral("1 から 60000 までの整数を入力してください。"));
            QCOMPARE(sheet.tabs()->currentIndex(), 1);
            QCOMPARE(harness.storedInt(settings::kWaitTime), -12345);
            sheet.reject();
        }
    }

    void languageButtonFollowsTheChoice()
    {
        Harness harness;  // Japanese
        CMainFrame& frame = harness.frame();
        CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
        QListWidget* languages = sheet.languagePage()->languageList();
        QCOMPARE(languages->item(0)->text(), QStringLiteral("英語"));
        QCOMPARE(languages->item(1)->text(), QStringLiteral("日本語"));
        QCOMPARE(languages->currentRow(), 1);
        QVERIFY(!sheet.languagePage()->restartButton()->isEnabled());
        languages->setCurrentRow(0);
        QVERIFY(sheet.languagePage()->restartButton()->isEnabled());
        languages->setCurrentRow(1);
        QVERIFY(!sheet.languagePage()->restartButton()->isEnabled());
    }

    void restartRequestStoresTheLanguageAndRestarts()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        frame.ShowWindow();
        CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
        sheet.show();
        sheet.stylePage()->lookList()->setCurrentRow(1);      // undone by the restart path
        sheet.downloaderPage()->waitTimeEdit()->setText("5"); // not stored
        sheet.languagePage()->languageList()->setCurrentRow(0);
        QTest::mouseClick(sheet.languagePage()->restartButton(), Qt::LeftButton);

        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QVERIFY(!sheet.isVisible());
        QCOMPARE(harness.storedString(settings::kLanguage), QStringLiteral("ENG"));
        QCOMPARE(harness.storedInt(settings::kWaitTime), -12345);
        QCOMPARE(frame.look(), 213);
        QCOMPARE(harness.state().restartRequested, 1);
        QVERIFY(!frame.isVisible());  // the main window closed
        QVERIFY(!harness.storedString(settings::kWindowsPos).isEmpty());

        harness.app().programPath = QStringLiteral("/opt/vormex/bin/vormex-setting-tool");
        harness.app().ExitInstance();
        QCOMPARE(harness.launches.size(), size_t(1));
        QCOMPARE(harness.launches[0].first, QStringLiteral("/opt/vormex/bin/vormex-setting-tool"));
        QCOMPARE(harness.launches[0].second, QStringLiteral("/opt/vormex/bin"));
        QCOMPARE(harness.storedString(settings::kWindowsPos), QString());
        QVERIFY(harness.state().printerDefinitions.empty());
    }

    void exitWithoutRestartStartsNothing()
    {
        Harness harness;
        harness.app().ExitInstance();
        QVERIFY(harness.launches.empty());
    }
};

VORMEX_GUI_TEST(EnvironmentSheetTest);

}  // namespace vormex::gui::test

#include "EnvironmentSheetTest.moc"
