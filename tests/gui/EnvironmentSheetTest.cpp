#include "gui/application/Looks.h"
#include "gui/dialogs/EnvironmentSheet.h"
#include "gui/shell/HeaderView.h"
#include "gui/shell/NavigationBar.h"
#include "gui/widgets/SpinEdit.h"
#include "GuiHarness.h"
#include "GuiTests.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace vormex::gui::test {

namespace {

// The wait time typed over whatever the field held, as the keyboard types it.
void typeWaitTime(CEnvironmentSheet& sheet, const QString& text)
{
    SpinEdit* wait = sheet.downloaderPage()->waitTimeEdit();
    wait->selectAll();
    QTest::keyClick(wait, Qt::Key_Backspace);
    QTest::keyClicks(wait, text);
}

void writeFile(const QString& path, QFileDevice::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

// The names the browse dialog lists in its folder.
QStringList listedNames(QFileDialog* dialog)
{
    auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    QStringList names;
    for (int row = 0; view && row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    return names;
}

}  // namespace

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
        QCOMPARE(frame.header()->styleSheet(), FrameStyleSheet(LookFor(213)));
        QCOMPARE(frame.navigationBar()->styleSheet(), FrameStyleSheet(LookFor(213)));
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
        typeWaitTime(sheet, QStringLiteral("60000"));
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
        for (const char* bad : {"0", "60001", ""}) {
            Harness harness;
            CMainFrame& frame = harness.frame();
            CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
            sheet.show();
            typeWaitTime(sheet, QString::fromLatin1(bad));
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
        typeWaitTime(sheet, QStringLiteral("5"));  // not stored
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

    // On this system the downloader is a program without extension: the dialog lists
    // executables, adds nothing to a typed name and refuses a file that cannot be run.
    void browseTakesAProgramWithoutExtension()
    {
        QTemporaryDir folder;
        const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        writeFile(folder.filePath(QStringLiteral("fake-dl")), readable | QFileDevice::ExeOwner);
        writeFile(folder.filePath(QStringLiteral("notes.txt")), readable);
        Harness harness({{QString::fromLatin1(settings::kTtfDownloader), folder.filePath(QStringLiteral("old-dl"))}});
        CMainFrame& frame = harness.frame();
        CEnvironmentSheet sheet(harness.app(), frame, frame.look(), &frame);
        sheet.show();
        sheet.tabs()->setCurrentIndex(1);
        CTTFDownLoaderPage* page = sheet.downloaderPage();

        QString prefilled, folderShown, lookIn;
        QStringList programs, everything;
        bool columnsReadable = true;
        const auto pick = [&](const QString& name, bool inspect) {
            QTimer::singleShot(0, page, [&, name, inspect] {
                QFileDialog* dialog = page->browseDialog();
                QVERIFY(dialog);
                auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                // The dialog is closed also when a check below fails.
                const auto close = qScopeGuard([&] {
                    fileName->setFocus();  // typing there replaces the selection in the list
                    fileName->setText(name);
                    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept checks the name
                });
                dialog->activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(dialog));
                if (inspect) {
                    prefilled = fileName->text();
                    folderShown = dialog->directory().absolutePath();
                    lookIn = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
                    QTRY_VERIFY(listedNames(dialog).contains(QStringLiteral("fake-dl")));
                    programs = listedNames(dialog);
                    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                    types->setCurrentIndex(1);
                    emit types->activated(1);
                    emit types->textActivated(types->itemText(1));
                    QTRY_VERIFY(listedNames(dialog).contains(QStringLiteral("notes.txt")));
                    everything = listedNames(dialog);
                    QHeaderView* header = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))->header();
                    for (int i = 0; i < header->count(); ++i) {
                        const QString title = header->model()->headerData(i, Qt::Horizontal).toString();
                        columnsReadable = columnsReadable &&
                                          header->sectionSize(i) > header->fontMetrics().horizontalAdvance(title);
                    }
                }
            });
            QTest::mouseClick(page->browseButton(), Qt::LeftButton);
        };

        pick(QStringLiteral("fake-dl"), true);
        QCOMPARE(prefilled, QStringLiteral("old-dl"));  // the program's name, not its folder's
        QCOMPARE(folderShown, QDir(folder.path()).absolutePath());
        QCOMPARE(programs, QStringList{QStringLiteral("fake-dl")});
        QCOMPARE(everything, (QStringList{QStringLiteral("fake-dl"), QStringLiteral("notes.txt")}));
        QVERIFY(columnsReadable);
        QCOMPARE(lookIn, QStringLiteral("アドレス:"));  // Qt's own texts in Japanese
        QCOMPARE(page->pathEdit()->text(), folder.filePath(QStringLiteral("fake-dl")));
        QVERIFY(harness.messages.empty());

        pick(QStringLiteral("notes.txt"), false);
        QCOMPARE(page->pathEdit()->text(), folder.filePath(QStringLiteral("fake-dl")));
        QCOMPARE(harness.messages.size(), size_t(1));
        QCOMPARE(harness.messages[0].text,
                 folder.filePath(QStringLiteral("notes.txt")) + QStringLiteral(" は実行できるプログラムではありません。"));
        sheet.reject();
    }

    void qtTextsFollowTheLanguage()
    {
        {
            Harness japanese;
            QVERIFY(japanese.app().qtTranslationFile().endsWith(QStringLiteral("qtbase_ja.qm")));
            QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("ファイル名(&N):"));
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
        }
        Harness english({{QString::fromLatin1(settings::kLanguage), QStringLiteral("ENG")}});
        QVERIFY(english.app().qtTranslationFile().isEmpty());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("File &name:"));
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
