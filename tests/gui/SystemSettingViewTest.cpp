#include "definitions/Lookups.h"
#include "gui/dialogs/BusyDialog.h"
#include "gui/dialogs/FileDownloadProc.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/pages/SystemSettingView.h"
#include "gui/widgets/MaskedEdit.h"
#include "gui/widgets/SpinEdit.h"
#include "GuiHarness.h"
#include "GuiTests.h"
#include "SimulatorProcess.h"
#include "sysparam/SystemParameterLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace vormex::gui::test {
namespace {

constexpr int kPrinterDestination = 32818;
constexpr int kSystemDestination = 32819;

// A line of a user's text file with values of its own (all within the shipped definitions).
const QByteArray kSampleLine = "01000,1040,D,A,P,M,1,6,05000,F,C,1,7E,5E,2C,0,0,1,1,0,08,-0012,1,+0005\r\n";

const char* const kAllItems[] = {
    "LABEL LENGTH",   "LABEL WIDTH",    "RIBBON",         "DOT/MM",         "PRINT MODE",     "SENSOR",
    "GRAPHIC POSITION", "PRINT SPEED",  "MAXIMUM LENGTH", "POWER ON CALIB", "HEAD CLOSE CALIB", "FORMAT CONVERT",
    "CONTROL PREFIX", "FORMAT PREFIX",  "DELIMITER CHAR", "LABEL SIZE(LL)", "LABEL TYPE(MN)", "MEDIA TYPE(MT)",
    "TONE ADJ(SD)",   "TONE ADJ(MD)",   "TAB->SP",        "RFID ADJUST",    "OFFSET PRINT",   "LABEL SHIFT",
};

CSystemSettingView* systemPage(CMainFrame& frame)
{
    return static_cast<CSystemSettingView*>(frame.page(kSystemParametersPage));
}

MaskedEdit* masked(CSystemSettingView* page, const char* item) { return static_cast<MaskedEdit*>(page->control(item)); }
QComboBox* list(CSystemSettingView* page, const char* item) { return static_cast<QComboBox*>(page->control(item)); }

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Types into a masked edit as the user does after tabbing into it.
void retype(MaskedEdit* edit, const QString& keys)
{
    edit->selectAll();
    QTest::keyClicks(edit, keys);
}

// The shipped "ORN Q-KA5" under another name, changed by `change`, selected.
void addPrinterVariant(Harness& harness, const QString& name, const std::function<void(PrinterDefinition&)>& change)
{
    PrinterDefinition variant = *FindPrinter(harness.state().printerDefinitions, kFixedPrinter);
    variant.name = name;
    change(variant);
    harness.state().printerDefinitions.push_back(variant);
    harness.state().selectedPrinterName = name;
}

QString lastMessage(const Harness& harness)
{
    return harness.messages.empty() ? QString() : harness.messages.back().text;
}

}  // namespace

class SystemSettingViewTest : public QObject {
    Q_OBJECT
private slots:
    void controlsComeFromTheDefinitions()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CSystemSettingView* page = systemPage(harness.frame());
        for (const char* item : kAllItems) {
            QWidget* control = page->control(item);
            QVERIFY2(control && control->objectName() == QLatin1String(item) && control->isEnabled(), item);
        }
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), QStringLiteral(" 60.0 mm"));
        QCOMPARE(masked(page, "CONTROL PREFIX")->text(), QStringLiteral("HEX(7E)"));
        QCOMPARE(list(page, "RIBBON")->currentText(), QStringLiteral("熱転写"));
        QCOMPARE(list(page, "PRINT SPEED")->count(), 5);
        QCOMPARE(static_cast<SpinEdit*>(page->control("TAB->SP"))->value(), 4);
        QVERIFY(!static_cast<QCheckBox*>(page->control("TONE ADJ(SD)"))->isChecked());
        QVERIFY(static_cast<QCheckBox*>(page->control("TONE ADJ(MD)"))->isChecked());
        QCOMPARE(page->control("MAXIMUM LENGTH")->accessibleName(), QStringLiteral("最大用紙長（キャリブレーション時）"));
        QCOMPARE(page->control("LABEL SIZE(LL)")->accessibleName(), QStringLiteral("ラベル長（ＬＬ）"));
        QVERIFY(!page->isModified());
        QVERIFY(page->fileNameField()->text().isEmpty());

        retype(masked(page, "LABEL WIDTH"), QStringLiteral("70.0"));
        QVERIFY(page->isModified());
    }

    // A file read into the page and saved again gives the same bytes (the XML file's date
    // aside, which is the time of writing).
    void filesRoundTrip_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("text") << QStringLiteral("txt");
        QTest::newRow("xml") << QStringLiteral("XML");
    }

    void filesRoundTrip()
    {
        QFETCH(QString, extension);
        Harness harness;
        harness.useShippedDefinitions();
        CSystemSettingView* page = systemPage(harness.frame());
        const QString text = writeFile(harness.folder() + QStringLiteral("/sample.txt"), kSampleLine);
        QString source = text;
        if (extension != QLatin1String("txt")) {
            QVERIFY(page->ReadFile(text));
            source = harness.folder() + QStringLiteral("/sample.") + extension;
            QVERIFY(page->SaveFile(source));
            page->ApplyPrinterDefinitions(kFixedPrinter);
        }

        QVERIFY(page->ReadFile(source));
        QCOMPARE(page->currentFileName(), source);
        QCOMPARE(page->fileNameField()->text(), source);
        QVERIFY(!page->isModified());
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), QStringLiteral("100.0 mm"));
        QCOMPARE(masked(page, "RFID ADJUST")->text(), QStringLiteral("-  1.2 mm"));
        QCOMPARE(list(page, "RIBBON")->currentText(), QStringLiteral("感熱"));
        QVERIFY(!static_cast<QCheckBox*>(page->control("MEDIA TYPE(MT)"))->isChecked());

        const QString copy = harness.folder() + QStringLiteral("/copy.") + extension;
        QVERIFY(page->SaveFile(copy));
        QCOMPARE(page->currentFileName(), copy);
        const QRegularExpression date(QStringLiteral("<date>[^<]*</date>"));
        QCOMPARE(QString::fromUtf8(readFile(copy)).replace(date, QString()),
                 QString::fromUtf8(readFile(source)).replace(date, QString()));
        QVERIFY(harness.messages.empty());
    }

    void unreadableFilesSayWhy()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CSystemSettingView* page = systemPage(harness.frame());
        const struct {
            QString name;
            QByteArray bytes;
            QString message;
        } cases[] = {
            {QStringLiteral("letters.txt"), "0100A,1040,D,A,P,M,1,6,05000,F,C,1,7E,5E,2C,0,0,1,1,0,08,-0012,1,+0005\r\n",
             QStringLiteral("第1パラメータは数字のみ入力可能です")},
            {QStringLiteral("other.xml"), "<?xml version=\"1.0\"?><VORMEX_InitialTable/>",
             QStringLiteral("システム設定ファイルではありません")},
            // Values the page cannot hold are refused as a download refuses them, not shown
            // as an empty list or a cut number.
            {QStringLiteral("ribbon.txt"), QByteArray(kSampleLine).replace("1040,D,", "1040,Q,"),
             QStringLiteral("\"RIBBON\" に \"Q\" は設定できません（リストにない値です）。")},
            {QStringLiteral("ribbon.xml"),
             "<VORMEX_SystemParameter><header><printer>ORN Q-KA5</printer></header>"
             "<item name=\"RIBBON\">XYZ</item></VORMEX_SystemParameter>",
             QStringLiteral("\"RIBBON\" の \"XYZ\" はファイルのプリンタ \"ORN Q-KA5\" のリストにありません。")},
        };
        for (const auto& c : cases) {
            QVERIFY(!page->ReadFile(writeFile(harness.folder() + QLatin1Char('/') + c.name, c.bytes)));
            QCOMPARE(lastMessage(harness), c.message);
        }
        const QString missing = harness.folder() + QStringLiteral("/missing.txt");
        QVERIFY(!page->ReadFile(missing));
        QVERIFY(lastMessage(harness).contains(missing));
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), QStringLiteral(" 60.0 mm"));
        QVERIFY(page->currentFileName().isEmpty());
    }

    // Message 800 names the field and its limits in millimetres, the focus goes to the field,
    // and the page is neither left nor saved.
    void rangeMessages_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("message");
        QTest::newRow("label length") << QStringLiteral("LABEL LENGTH") << QStringLiteral("1000.0")
                                      << QStringLiteral("\"ラベル長\" は 5.0 から 999.9 の範囲で設定して下さい。");
        QTest::newRow("rfid adjust") << QStringLiteral("RFID ADJUST") << QStringLiteral("-100.0")
                                     << QStringLiteral("\"ＲＦＩＤ書き込み位置調整\" は -99.9 から 99.9 の範囲で設定して下さい。");
    }

    void rangeMessages()
    {
        QFETCH(QString, item);
        QFETCH(QString, keys);
        QFETCH(QString, message);
        Harness harness;
        harness.useShippedDefinitions();
        // A label length of five digits whose maximum stays at 999.9 mm.
        addPrinterVariant(harness, QStringLiteral("WIDE"), [](PrinterDefinition& printer) {
            for (ItemDefinition& entry : printer.systemItems) {
                if (entry.name == QLatin1String("LABEL LENGTH")) {
                    entry.mask = QStringLiteral("9999.9 mm");
                    entry.templateText = QStringLiteral("____._ mm");
                    entry.initialText = QStringLiteral("  60.0 mm");
                }
            }
        });
        CMainFrame& frame = harness.frame();
        frame.show();
        QApplication::setActiveWindow(&frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QVERIFY(frame.SwitchPage(kSystemDestination));
        CSystemSettingView* page = systemPage(frame);
        MaskedEdit* edit = masked(page, item.toLatin1().constData());
        retype(edit, keys);
        page->control("LABEL WIDTH")->setFocus();

        QVERIFY(!frame.SwitchPage(kPrinterDestination));
        QCOMPARE(frame.shownPageIndex(), int(kSystemParametersPage));
        QCOMPARE(lastMessage(harness), message);
        QCOMPARE(harness.messages.back().icon, QMessageBox::Critical);
        QCOMPARE(QApplication::focusWidget(), edit);

        QTest::mouseClick(page->button(CSystemSettingView::kSave), Qt::LeftButton);
        QCOMPARE(harness.messages.size(), size_t(2));
        QVERIFY(harness.fileRequests.empty());
    }

    void saveChangesQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("leaves");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes saves and leaves") << int(QMessageBox::Yes) << true << true;
        QTest::newRow("no leaves the changes") << int(QMessageBox::No) << true << false;
        QTest::newRow("cancel stays") << int(QMessageBox::Cancel) << false << false;
    }

    void saveChangesQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, leaves);
        QFETCH(bool, saved);
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        QVERIFY(frame.SwitchPage(kSystemDestination));
        CSystemSettingView* page = systemPage(frame);
        retype(masked(page, "LABEL WIDTH"), QStringLiteral("70.0"));
        const QString path = harness.folder() + QStringLiteral("/saved.txt");
        harness.fileAnswers = {path};
        harness.answer = QMessageBox::StandardButton(answer);

        QCOMPARE(frame.SwitchPage(kPrinterDestination), leaves);
        QCOMPARE(harness.messages.size(), size_t(1));
        QCOMPARE(harness.messages[0].text, QStringLiteral("システムパラメータの変更を保存しますか？"));
        QCOMPARE(harness.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(QFile::exists(path), saved);
        QCOMPARE(page->isModified(), !leaves);
        QCOMPARE(page->currentFileName(), saved ? path : QString());
        if (saved) {
            QVERIFY(harness.fileRequests[0].save);
            QVERIFY(readFile(path).startsWith("00600,0700,"));
        }
        // The page keeps what was typed, whatever the answer.
        QCOMPARE(masked(page, "LABEL WIDTH")->text(), QStringLiteral(" 70.0 mm"));
    }

    void restoreDefaultsAsksItsOwnQuestion()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CSystemSettingView* page = systemPage(harness.frame());
        QVERIFY(page->ReadFile(writeFile(harness.folder() + QStringLiteral("/sample.txt"), kSampleLine)));
        retype(masked(page, "LABEL WIDTH"), QStringLiteral("70.0"));

        harness.answer = QMessageBox::No;
        page->OnRestoreDefaults();
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), QStringLiteral("100.0 mm"));
        harness.answer = QMessageBox::Yes;
        page->OnRestoreDefaults();
        QCOMPARE(harness.messages.size(), size_t(2));
        QCOMPARE(harness.messages[1].text, QStringLiteral("システムパラメータを初期値に戻します\r\nよろしいですか？"));
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), QStringLiteral(" 60.0 mm"));
        QCOMPARE(list(page, "RIBBON")->currentText(), QStringLiteral("熱転写"));
        QVERIFY(page->currentFileName().isEmpty());
        QVERIFY(!page->isModified());
    }

    void printerChangeResetsThePage()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        CSystemSettingView* page = systemPage(frame);
        QVERIFY(page->ReadFile(writeFile(harness.folder() + QStringLiteral("/sample.txt"), kSampleLine)));
        retype(masked(page, "LABEL WIDTH"), QStringLiteral("70.0"));

        QComboBox* printers = frame.printerSettings()->printerList();
        printers->setCurrentIndex(printers->findText(QStringLiteral("Q-KB4")));
        QVERIFY(harness.messages.empty());
        QVERIFY(page->currentFileName().isEmpty());
        QVERIFY(page->fileNameField()->text().isEmpty());
        QVERIFY(!page->isModified());
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), QStringLiteral("  60.0 mm"));
        QCOMPARE(list(page, "DOT/MM")->currentText(), QStringLiteral("12 dot/mm (305 dpi)"));
    }

    // A printer whose definitions lack an item the range checks need: its control stays empty,
    // nothing can be saved (the message names the item), but the page can be left.
    void missingRangeItemLetsThePageGo()
    {
        Harness harness;
        harness.useShippedDefinitions();
        addPrinterVariant(harness, QStringLiteral("SHORT"), [](PrinterDefinition& printer) {
            printer.systemItems.removeIf([](const ItemDefinition& item) { return item.name == QLatin1String("LABEL SHIFT"); });
        });
        CMainFrame& frame = harness.frame();
        QVERIFY(frame.SwitchPage(kSystemDestination));
        CSystemSettingView* page = systemPage(frame);
        QVERIFY(!page->control("LABEL SHIFT")->isEnabled());
        QVERIFY(page->control("RFID ADJUST")->isEnabled());
        page->OnSaveFile();
        QCOMPARE(lastMessage(harness),
                 QStringLiteral("プリンタ「SHORT」の定義に項目「LABEL SHIFT」がないため、システムパラメータを保存・送信できません。"));
        QVERIFY(harness.fileRequests.empty());
        QVERIFY(frame.SwitchPage(kPrinterDestination));
    }

    // Reading the parameters back runs off the window's thread: a busy window shows and the
    // page keeps painting while the printer is waited for.
    void getFromPrinter_data()
    {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("labelLength");
        QTest::addColumn<bool>("modified");
        QTest::newRow("file") << QStringList{QStringLiteral("--file"), QStringLiteral("QUILLPRM.TXT=%1")}
                              << QStringLiteral("パラメータ取得完了") << QStringLiteral("100.0 mm") << true;
        QTest::newRow("no file") << QStringList{} << QStringLiteral("パラメータはプリンタに登録されていません")
                                 << QStringLiteral(" 60.0 mm") << false;
        QTest::newRow("silent printer") << QStringList{QStringLiteral("--fault"), QStringLiteral("silence")}
                                        << QStringLiteral("パラメータ取得に失敗しました") << QStringLiteral(" 60.0 mm") << false;
    }

    void getFromPrinter()
    {
        QFETCH(QStringList, simulator);
        QFETCH(QString, message);
        QFETCH(QString, labelLength);
        QFETCH(bool, modified);
        QTemporaryDir files;
        const QString line = writeFile(files.filePath(QStringLiteral("line.txt")), kSampleLine);
        for (QString& argument : simulator)
            argument = argument.arg(line);
        SimulatorProcess sim(simulator);
        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), sim.device()}});
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        frame.show();
        QVERIFY(frame.SwitchPage(kSystemDestination));
        CSystemSettingView* page = systemPage(frame);
        page->ReadFile(writeFile(harness.folder() + QStringLiteral("/defaults.txt"), "00600,0800,T,A,T,W,0,4,03000,C,F,0,7E,5E,2C,0,0,0,1,0,04,+0000,0,+0000\r\n"));

        // Paints of the page while the busy window is up.
        int busyPaints = 0;
        struct PaintCounter : QObject {
            int* count;
            explicit PaintCounter(int* c) : count(c) {}
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && BusyDialog::current())
                    ++*count;
                return false;
            }
        } counter(&busyPaints);
        page->installEventFilter(&counter);
        QTimer repaint;
        connect(&repaint, &QTimer::timeout, page, [page] { page->update(); });
        repaint.start(10);

        page->OnGetFromPrinter();
        repaint.stop();
        page->removeEventFilter(&counter);
        QVERIFY(!BusyDialog::current());
        QCOMPARE(lastMessage(harness), message);
        QCOMPARE(harness.messages.back().icon, QMessageBox::NoIcon);
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), labelLength);
        QCOMPARE(page->isModified(), modified);
        // A read from the printer clears the file name; a failed one keeps it.
        QCOMPARE(page->currentFileName().isEmpty(), modified);
        if (QTest::currentDataTag() == QLatin1String("silent printer"))
            QVERIFY2(busyPaints > 0, "the page did not paint while the printer was waited for");
    }

    void downloadButtonOpensTheDialog()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CSystemSettingView* page = systemPage(harness.frame());
        ParameterDownloadSetup seen;
        QString title;
        bool boxTicked = false;
        bool okEnabled = true;
        QTimer::singleShot(0, page, [&] {
            auto* dialog = qobject_cast<CFileDownloadProc*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = dialog->setup();
            title = dialog->windowTitle();
            boxTicked = dialog->vormexOnAfter()->isChecked();
            okEnabled = dialog->okButton()->isEnabled();
            dialog->reject();
        });
        page->OnDownload();
        QCOMPARE(title, QStringLiteral("システムパラメータ　ダウンロード"));
        QCOMPARE(seen.request.kind, int(FileDownloadRequest::SystemParameters));
        QCOMPARE(seen.request.startBlock, 3);
        QCOMPARE(seen.startBlockMin, 0);
        QCOMPARE(seen.startBlockMax, 20);
        QCOMPARE(seen.request.blockCount, 1);
        QCOMPARE(seen.request.envelope.size(), 64 * 1024 + 7);
        QVERIFY(seen.request.envelope.contains("QUILLPRM.TXT"));
        QVERIFY(boxTicked);
        QVERIFY(!okEnabled);
    }

    // What a user does without reading anything: change values, download them, read them back.
    void downloadedValuesComeBack()
    {
        SimulatorProcess sim;
        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), sim.device()}});
        harness.useShippedDefinitions();
        CSystemSettingView* page = systemPage(harness.frame());
        retype(masked(page, "LABEL LENGTH"), QStringLiteral("123.4"));
        retype(masked(page, "LABEL SHIFT"), QStringLiteral("-5.0"));
        list(page, "SENSOR")->setCurrentIndex(2);
        const QString sent = BuildSystemParameterLine(page->parameters(), *harness.state().selectedPrinter());

        bool completed = false;
        QTimer::singleShot(0, page, [&] {
            auto* dialog = qobject_cast<CFileDownloadProc*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            connect(dialog, &CFileDownloadProc::downloadEnded, dialog, [&completed, dialog](bool done) {
                completed = done;
                dialog->accept();
            });
            QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
        });
        page->OnDownload();
        QVERIFY(completed);

        // Back to the defaults; the dialog has waited for the printer to be back after storing.
        page->ApplyPrinterDefinitions(kFixedPrinter);
        page->OnGetFromPrinter();
        QCOMPARE(lastMessage(harness), QStringLiteral("パラメータ取得完了"));
        QCOMPARE(masked(page, "LABEL LENGTH")->text(), QStringLiteral("123.4 mm"));
        QCOMPARE(masked(page, "LABEL SHIFT")->text(), QStringLiteral("-  5.0 mm"));
        QCOMPARE(list(page, "SENSOR")->currentIndex(), 2);
        QCOMPARE(BuildSystemParameterLine(page->parameters(), *harness.state().selectedPrinter()), sent);
    }
};

VORMEX_GUI_TEST(SystemSettingViewTest);

}  // namespace vormex::gui::test

#include "SystemSettingViewTest.moc"
