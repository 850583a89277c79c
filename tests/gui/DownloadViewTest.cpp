#include "gui/dialogs/DLProcDlg.h"
#include "gui/pages/DownloadBrowser.h"
#include "gui/pages/DownloadView.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/widgets/BlockSpinBox.h"
#include "GuiHarness.h"
#include "GuiTests.h"
#include "SimulatorProcess.h"

#include "definitions/DefinitionReader.h"
#include "initialtable/InitialTableDocument.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"
#include "sysparam/SystemParameterSet.h"
#include "timing/PacingClock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace vormex::gui::test {
namespace {

const QString kKa5 = QStringLiteral("ORN Q-KA5");  // 64 KB blocks, total 48, kanji deletion
const QString kKb4 = QStringLiteral("Q-KB4");      // 128 KB blocks, no kanji deletion, firmware handshake
const QString kNoPrinterThere = QStringLiteral("LAN:127.0.0.1:1");

QString definitionFile() { return QStringLiteral(VORMEX_BIN_DIR "/VORMEX Setting Tool Parameter-JPN.XML"); }

// The main frame over the shipped definitions, with a printer and a device of the test's own.
struct Page {
    explicit Page(const QString& printer = kKa5, const QString& device = kNoPrinterThere)
        : harness({{QString::fromLatin1(settings::kPrinterName), printer},
                   {QString::fromLatin1(settings::kDeviceInfo), device}})
    {
        PrinterDefinitions definitions;
        LoadDefinitions(definitionFile(), definitions);
        harness.state().printerDefinitions = definitions;
        harness.state().selectedPrinterName = printer;
        view = harness.frame().download();
    }
    QString messageTexts() const
    {
        QStringList texts;
        for (const Harness::Message& message : harness.messages)
            texts << message.text;
        return texts.join(QLatin1Char('|'));
    }

    Harness harness;
    CDownloadView* view = nullptr;
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// A firmware image: a body of `bodyBytes` and the 256-byte trailer the page shows.
QByteArray firmwareImage(int bodyBytes)
{
    QByteArray trailer(256, '\0');
    const auto put = [&trailer](int at, const QByteArray& bytes) { trailer.replace(at, bytes.size(), bytes); };
    put(0, QByteArray::fromHex("00020000"));  // size
    put(4, QByteArray::fromHex("00100000"));  // start address
    put(32, "15JAN2024");                     // date
    put(48, "  Q-KA5     ");                  // model
    put(64, "V1.02");                         // version
    return QByteArray(bodyBytes, '\x5A') + trailer;
}

void sendDrop(QWidget* target, const QList<QUrl>& urls, bool* accepted = nullptr)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (accepted)
        *accepted = enter.isAccepted();
    if (!enter.isAccepted())
        return;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

// Presses the start button and, once the download dialog is up, runs `whileOpen`; a dialog
// still open afterwards is cancelled. Gives whether a dialog opened.
bool startWithDialog(CDownloadView* view, const std::function<void(CDLProcDlg&)>& whileOpen)
{
    bool opened = false;
    QTimer::singleShot(0, view, [&] {
        CDLProcDlg* dialog = view->openDialog();
        if (!dialog)
            return;
        opened = true;
        whileOpen(*dialog);
        if (dialog->isVisible() && !dialog->closing())
            dialog->Finish(QDialog::Rejected);
    });
    view->startButton()->click();
    QCoreApplication::processEvents();
    return opened;
}

QStringList logLines(const CDLProcDlg& dialog) { return dialog.logView()->toPlainText().split(QLatin1Char('\n')); }

QStringList textsOf(const Harness& harness, std::initializer_list<int> ids)
{
    QStringList texts;
    for (int id : ids)
        texts << const_cast<Harness&>(harness).app().text(id);
    return texts;
}

}  // namespace

class DownloadViewTest : public QObject {
    Q_OBJECT
private slots:
    void allocationArithmetic()
    {
        Page page;
        CDownloadView* view = page.view;
        QVERIFY(view->isReady());
        QCOMPARE(view->pcSaveArea()->text(), QString());  // allocation off
        view->allocationBox()->click();
        QCOMPARE(view->areaEdit(0)->value(), 8);
        QCOMPARE(view->areaEdit(1)->value(), 4);
        QCOMPARE(view->areaEdit(2)->value(), 14);
        QCOMPARE(view->pcSaveArea()->text(), QStringLiteral("22"));
        QCOMPARE(view->kbLabel(3)->text(), QStringLiteral("1408 KBytes"));
        QCOMPARE(view->kbLabel(0)->text(), QStringLiteral("512 KBytes"));
        QCOMPARE(view->kbLabel(2)->text(), QStringLiteral("896 KBytes"));

        // Typed values count at once; a negative PC save area is shown without its size.
        view->areaEdit(0)->setValue(16);
        view->areaEdit(2)->setValue(20);
        QCOMPARE(view->pcSaveArea()->text(), QStringLiteral("8"));
        view->areaEdit(1)->setValue(8);
        view->areaEdit(0)->edit()->setText(QStringLiteral("30"));
        QCOMPARE(view->job().trueTypeBlocks, 30);
        QCOMPARE(view->pcSaveArea()->text(), QStringLiteral("-10"));
        QCOMPARE(view->kbLabel(3)->text(), QString());

        view->keepBasicAreaBox()->click();
        QCOMPARE(view->pcSaveArea()->text(), QString());
        QCOMPARE(view->kbLabel(3)->text(), QString());
        view->areaEdit(0)->setValue(8);
        QCOMPARE(BuildAllocationCommand(view->job()), QByteArray("{XF;08,08,AA|}"));
    }

    void kanjiVariantsResetTheValues()
    {
        Page page;
        CDownloadView* view = page.view;
        QVERIFY(view->kanjiList()->isVisibleTo(view));
        QCOMPARE(view->kanjiList()->count(), 3);
        QCOMPARE(view->kanjiList()->itemText(1), QStringLiteral("漢字１＋２"));
        view->allocationBox()->click();
        view->areaEdit(0)->setValue(12);
        view->startBlockEdit(0)->setValue(6);

        struct Case {
            int variant, trueTypeMax, bitmapMax, pcSave;
        };
        for (const Case& c : {Case{2, 20, 10, 26}, Case{1, 24, 12, 30}, Case{0, 16, 8, 22}}) {
            view->kanjiList()->setCurrentIndex(c.variant);
            QCOMPARE(view->job().kanjiVariant, c.variant);
            QCOMPARE(view->areaEdit(0)->value(), 8);  // the definition's value again
            QCOMPARE(view->areaEdit(0)->stepMaximum(), c.trueTypeMax);
            QCOMPARE(view->areaEdit(1)->stepMaximum(), c.bitmapMax);
            QCOMPARE(view->pcSaveArea()->text(), QString::number(c.pcSave));
            view->areaEdit(0)->setValue(12);
        }
        QCOMPARE(view->startBlockEdit(0)->value(), 0);
        view->kanjiList()->setCurrentIndex(2);
        QCOMPARE(BuildAllocationCommand(view->job()), QByteArray("{XF2;08,04,14|}"));

        // A printer without kanji deletion has no list.
        Page other(kKb4);
        QVERIFY(!other.view->kanjiList()->isVisibleTo(other.view));
        QVERIFY(!other.view->kanjiLabel()->isVisibleTo(other.view));
    }

    void enablingFollowsModeAndCheckBoxes()
    {
        Page page;
        CDownloadView* view = page.view;
        struct Case {
            const char* name;
            std::function<void(CDownloadView*)> act;
            bool firmwareItem, header, stepBoxes, basicMainItem, testItem, keepBasic, basicArea, pcSave, kanji,
                vormexList, startBlock0;
        };
        const Case cases[] = {
            {"start", [](CDownloadView*) {}, false, false, true, false, false, false, false, false, false, false, false},
            {"allocation", [](CDownloadView* v) { v->allocationBox()->click(); },
             false, false, true, false, false, true, true, true, true, false, false},
            {"keep BASIC area", [](CDownloadView* v) { v->keepBasicAreaBox()->click(); },
             false, false, true, false, false, true, false, true, true, false, false},
            {"files and switch", [](CDownloadView* v) {
                 v->fileStepBox(DownloadItem::BasicMain)->click();
                 v->fileStepBox(DownloadItem::TestFile)->click();
                 v->vormexSwitchBox()->click();
             },
             false, false, true, true, true, true, false, true, true, true, true},
            // The start block follows its check box, which keeps its state while disabled.
            {"firmware mode", [](CDownloadView* v) { v->firmwareMode()->click(); },
             true, true, false, false, false, false, false, false, false, false, true},
            {"back to BASIC files", [](CDownloadView* v) { v->basicFilesMode()->click(); },
             false, false, true, true, true, true, false, true, true, true, true},
        };
        for (const Case& c : cases) {
            c.act(view);
            const QByteArray name(c.name);
            QVERIFY2(view->browser(DownloadItem::Firmware)->isEnabled() == c.firmwareItem, name);
            QVERIFY2(view->headerField(0)->isEnabled() == c.header && view->headerLabel(4)->isEnabled() == c.header, name);
            QVERIFY2(view->allocationBox()->isEnabled() == c.stepBoxes, name);
            QVERIFY2(view->fileStepBox(DownloadItem::InitialTable)->isEnabled() == c.stepBoxes, name);
            QVERIFY2(view->vormexSwitchBox()->isEnabled() == c.stepBoxes, name);
            QVERIFY2(view->browser(DownloadItem::BasicMain)->isEnabled() == c.basicMainItem, name);
            QVERIFY2(!view->browser(DownloadItem::BasicSystem)->isEnabled(), name);
            QVERIFY2(view->browser(DownloadItem::TestFile)->isEnabled() == c.testItem, name);
            QVERIFY2(view->keepBasicAreaBox()->isEnabled() == c.keepBasic, name);
            QVERIFY2(view->areaEdit(0)->isEnabled() == c.keepBasic, name);
            QVERIFY2(view->areaEdit(2)->isEnabled() == c.basicArea && view->blocksLabel(3)->isEnabled() == c.basicArea, name);
            QVERIFY2(view->pcSaveArea()->isEnabled() == c.pcSave, name);
            QVERIFY2(view->kbLabel(3)->isEnabled() == c.stepBoxes, name);
            QVERIFY2(view->kanjiList()->isEnabled() == c.kanji, name);
            QVERIFY2(view->vormexSwitchList()->isEnabled() == c.vormexList, name);
            QVERIFY2(view->startBlockEdit(0)->isEnabled() == c.startBlock0, name);
            QVERIFY2(!view->startBlockEdit(1)->isEnabled(), name);
            QVERIFY2(view->startBlockLabel()->isEnabled() == c.stepBoxes, name);
        }
        // Firmware mode for a printer outside "Q-KB" showed the notice once.
        QCOMPARE(page.harness.messages.size(), size_t(1));
        QVERIFY(page.harness.messages[0].text.startsWith(QStringLiteral("注意：\n・ファームウェアのダウンロード")));
        QCOMPARE(page.harness.messages[0].icon, QMessageBox::Warning);

        Page qkb(kKb4);
        qkb.view->firmwareMode()->click();
        QVERIFY(qkb.harness.messages.empty());
    }

    void fileDialogsAndPrinterChange()
    {
        Page page;
        CDownloadView* view = page.view;
        struct Case {
            int type;
            const char* extension;
            const char* filter;
        };
        for (const Case& c : {Case{DownloadItem::Firmware, "ROM", "ファームウェアファイル (*.ROM)|*.ROM|すべてのファイル (*.*)|*.*||"},
                              Case{DownloadItem::BasicSystem, "BAS", "BASICファイル (*.BAS)|*.BAS|すべてのファイル (*.*)|*.*||"},
                              Case{DownloadItem::SystemParameters, "TXT", "システムパラメータファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*||"},
                              Case{DownloadItem::InitialTable, "TXT", "初期値＆テーブルファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*||"},
                              Case{DownloadItem::TestFile, "TXT", "KIRNファイル (*.TXT)|*.TXT|すべてのファイル (*.*)|*.*||"}}) {
            QCOMPARE(view->browser(c.type)->defaultExtension(), QString::fromLatin1(c.extension));
            QCOMPARE(view->browser(c.type)->filter(), QString::fromUtf8(c.filter));
        }

        // Steps on, a file chosen, firmware mode: a new printer starts again from nothing.
        QTemporaryDir dir;
        view->fileStepBox(DownloadItem::TestFile)->click();
        view->browser(DownloadItem::TestFile)->Pick(writeFile(dir, QStringLiteral("t.txt"), "{WS|}"));
        QVERIFY(view->job().item(DownloadItem::TestFile).ready());
        view->startBlockEdit(2)->setValue(9);
        view->firmwareMode()->click();
        view->browser(DownloadItem::Firmware)->Pick(writeFile(dir, QStringLiteral("f.rom"), firmwareImage(512)));
        QCOMPARE(view->headerField(0)->text(), QStringLiteral("Q-KA5"));

        QComboBox* printers = page.harness.frame().printerSettings()->printerList();
        printers->setCurrentIndex(printers->findText(kKb4));
        QVERIFY(view->basicFilesMode()->isChecked());
        QVERIFY(!view->fileStepBox(DownloadItem::TestFile)->isChecked());
        QCOMPARE(view->browser(DownloadItem::TestFile)->text(), QString());
        QVERIFY(!view->job().item(DownloadItem::TestFile).prepared);
        QVERIFY(!view->job().item(DownloadItem::Firmware).prepared);
        QCOMPARE(view->headerField(0)->text(), QString());
        QCOMPARE(view->startBlockEdit(2)->value(), 3);
        QCOMPARE(view->areaEdit(0)->value(), 4);
        QCOMPARE(view->kbLabel(0)->text(), QStringLiteral("512 KBytes"));
        QCOMPARE(view->browser(DownloadItem::Firmware)->defaultExtension(), QStringLiteral("BIN"));
        QCOMPARE(view->browser(DownloadItem::Firmware)->filter(),
                 QStringLiteral("ファームウェアファイル (*.BIN)|*.BIN|すべてのファイル (*.*)|*.*||"));
    }

    void browsingOpensTheItemsFileDialog()
    {
        Page page;
        CDownloadView* view = page.view;
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("MAIN.BAS"), "10 A=1\r\n20 END\r\n");
        view->fileStepBox(DownloadItem::BasicMain)->click();
        CDownloadBrowser* browser = view->browser(DownloadItem::BasicMain);
        QStringList filters;
        QString suffix;
        QTimer::singleShot(0, browser, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(browser->openDialog());
            if (!dialog)
                return;
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        browser->browseButton()->click();
        QCOMPARE(suffix, QStringLiteral("BAS"));
        QCOMPARE(filters, (QStringList{QStringLiteral("BASICファイル (*.BAS *.bas)"), QStringLiteral("すべてのファイル (*)")}));
        QCOMPARE(browser->text(), path);
        QVERIFY(view->job().item(DownloadItem::BasicMain).ready());

        // Switching the step off drops the file.
        view->fileStepBox(DownloadItem::BasicMain)->click();
        QCOMPARE(browser->text(), QString());
        QVERIFY(!view->job().item(DownloadItem::BasicMain).prepared);
    }

    void preparingShowsWhyAFileIsNotTaken()
    {
        Page page;
        CDownloadView* view = page.view;
        QTemporaryDir dir;
        for (int type : {DownloadItem::BasicMain, DownloadItem::SystemParameters})
            view->fileStepBox(type)->click();

        // The encoder's message stands alone, without an icon; the field is emptied.
        CDownloadBrowser* basic = view->browser(DownloadItem::BasicMain);
        basic->Pick(writeFile(dir, QStringLiteral("BAD.BAS"), "10 A=1\r\n\r\n30 END\r\n"));
        QCOMPARE(page.harness.messages.size(), size_t(1));
        QCOMPARE(page.harness.messages[0].text, QStringLiteral("2 : Linefeed Error"));
        QCOMPARE(page.harness.messages[0].icon, QMessageBox::NoIcon);
        QCOMPARE(basic->text(), QString());
        QVERIFY(!view->job().item(DownloadItem::BasicMain).prepared);

        // A file that is not a system parameter file is refused with the check's message.
        CDownloadBrowser* system = view->browser(DownloadItem::SystemParameters);
        system->Pick(writeFile(dir, QStringLiteral("notes.txt"), "hello\r\n"));
        QCOMPARE(page.harness.messages.size(), size_t(2));
        QVERIFY(!page.harness.messages[1].text.isEmpty());
        QCOMPARE(system->text(), QString());
        // A file whose values the system parameter page would refuse is not taken either.
        system->Pick(writeFile(dir, QStringLiteral("ribbon.txt"),
                               "00600,0800,Q,A,T,W,0,4,03000,C,F,0,7E,5E,2C,0,0,0,1,0,04,+0000,0,+0000\r\n"));
        QCOMPARE(page.harness.messages.size(), size_t(3));
        QCOMPARE(page.harness.messages[2].text, QStringLiteral("\"RIBBON\" に \"Q\" は設定できません（リストにない値です）。"));
        QCOMPARE(system->text(), QString());

        // A firmware file shorter than 252 bytes is not taken and shows no header; one of 252
        // bytes shows its trailer.
        view->firmwareMode()->click();
        for (const auto& [bytes, header] : {std::pair(251, ""), std::pair(252, "78787878"), std::pair(200, "")}) {
            const QString path = writeFile(dir, QStringLiteral("short%1.rom").arg(bytes), QByteArray(bytes, 'x'));
            view->browser(DownloadItem::Firmware)->Pick(path);
            QCOMPARE(view->browser(DownloadItem::Firmware)->text(), *header ? path : QString());
            QCOMPARE(view->headerField(3)->text(), QString::fromLatin1(header));
            if (!*header)
                for (int i = 0; i < 5; ++i)
                    QCOMPARE(view->headerField(i)->text(), QString());
        }
        view->browser(DownloadItem::Firmware)->Pick(writeFile(dir, QStringLiteral("fw.rom"), firmwareImage(1024)));
        const QStringList header = {view->headerField(0)->text(), view->headerField(1)->text(), view->headerField(2)->text(),
                                    view->headerField(3)->text(), view->headerField(4)->text()};
        QCOMPARE(header, (QStringList{QStringLiteral("Q-KA5"), QStringLiteral("V1.02"), QStringLiteral("JAN.15.2024"),
                                      QStringLiteral("00100000"), QStringLiteral("00020000")}));
    }

    void droppedFileIsPreparedLikeABrowsedOne()
    {
        Page page;
        CDownloadView* view = page.view;
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("MAIN.BAS"), "10 A=1\r\n20 B=2\r\n30 END\r\n");

        // A disabled chooser (its step is off) takes no drop.
        bool accepted = true;
        sendDrop(view->browser(DownloadItem::BasicMain), {QUrl::fromLocalFile(path)}, &accepted);
        QVERIFY(!accepted);
        view->fileStepBox(DownloadItem::BasicMain)->click();
        QCOMPARE(view->browser(DownloadItem::BasicMain)->text(), QString());

        view->browser(DownloadItem::BasicMain)->Pick(path);
        const QByteArray browsed = view->job().item(DownloadItem::BasicMain).bytes;
        view->fileStepBox(DownloadItem::BasicMain)->click();
        view->fileStepBox(DownloadItem::BasicMain)->click();
        QCOMPARE(view->browser(DownloadItem::BasicMain)->text(), QString());

        sendDrop(view->browser(DownloadItem::BasicMain), {QUrl::fromLocalFile(path)}, &accepted);
        QVERIFY(accepted);
        QCOMPARE(view->browser(DownloadItem::BasicMain)->text(), path);
        QVERIFY(view->job().item(DownloadItem::BasicMain).ready());
        QCOMPARE(view->job().item(DownloadItem::BasicMain).bytes, browsed);

        // Two files, a folder, or anything but a local file are refused; so is the window itself.
        const QList<QList<QUrl>> refused = {{QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)},
                                            {QUrl::fromLocalFile(dir.path())},
                                            {QUrl(QStringLiteral("https://example.invalid/MAIN.BAS"))}};
        for (const QList<QUrl>& urls : refused) {
            sendDrop(view->browser(DownloadItem::BasicMain), urls, &accepted);
            QVERIFY(!accepted);
        }
        QVERIFY(!page.harness.frame().acceptDrops());
        QCOMPARE(view->browser(DownloadItem::BasicMain)->text(), path);
    }

    void startNeedsValuesInRangeAndSomethingToDo()
    {
        Page page;
        CDownloadView* view = page.view;
        QVERIFY(!startWithDialog(view, [](CDLProcDlg&) {}));  // nothing to do
        QVERIFY(page.harness.messages.empty());

        view->allocationBox()->click();
        view->areaEdit(0)->edit()->setText(QStringLiteral("17"));
        QVERIFY(!startWithDialog(view, [](CDLProcDlg&) {}));
        QCOMPARE(page.messageTexts(), QStringLiteral("0 から 16 までの整数を入力してください。"));

        // A start block is checked only when its step is on.
        view->areaEdit(0)->setValue(8);
        view->allocationBox()->click();
        view->startBlockEdit(3)->edit()->setText(QStringLiteral("21"));
        view->vormexSwitchBox()->click();
        view->fileStepBox(DownloadItem::InitialTable)->click();
        QVERIFY(!startWithDialog(view, [](CDLProcDlg&) {}));
        QCOMPARE(page.harness.messages.size(), size_t(2));
        QCOMPARE(page.harness.messages[1].text, QStringLiteral("0 から 20 までの整数を入力してください。"));
    }

    void pageAndCommandLineAgreeOnTheValues()
    {
        struct Case {
            const char* allocate;  // TrueType, bitmap, BASIC (or AA), as vormexctl takes them
            int kanji;
            bool accepted;
        };
        const Case cases[] = {{"8,4,14", 0, true},   {"16,8,20", 0, true},  {"17,4,14", 0, false},
                              {"8,9,14", 0, false},  {"8,4,21", 0, false},  {"8,4,AA", 0, true},
                              {"20,10,14", 2, true}, {"21,10,14", 2, false}, {"24,12,0", 1, true}};
        for (const Case& c : cases) {
            const QStringList values = QString::fromLatin1(c.allocate).split(QLatin1Char(','));
            Page page;
            CDownloadView* view = page.view;
            view->allocationBox()->click();
            view->kanjiList()->setCurrentIndex(c.kanji);
            view->areaEdit(0)->edit()->setText(values[0]);
            view->areaEdit(1)->edit()->setText(values[1]);
            if (values[2] == QLatin1String("AA"))
                view->keepBasicAreaBox()->click();
            else
                view->areaEdit(2)->edit()->setText(values[2]);
            const bool pageAccepted = startWithDialog(view, [](CDLProcDlg& dialog) { dialog.cancelButton()->click(); });

            QProcess cli;
            cli.start(QStringLiteral(VORMEX_BIN_DIR "/vormexctl"),
                      {QStringLiteral("--definitions"), definitionFile(), QStringLiteral("--printer"), kKa5,
                       QStringLiteral("--language"), QStringLiteral("jpn"), QStringLiteral("download"),
                       QStringLiteral("--device"), kNoPrinterThere, QStringLiteral("--allocate"),
                       QString::fromLatin1(c.allocate), QStringLiteral("--kanji"), QString::number(c.kanji)});
            QVERIFY(cli.waitForFinished(30000));
            const QString errors = QString::fromUtf8(cli.readAllStandardError());
            const bool cliAccepted = !errors.contains(QStringLiteral("までの整数を入力してください"));
            QVERIFY2(pageAccepted == c.accepted, c.allocate);
            QVERIFY2(cliAccepted == c.accepted, qPrintable(QLatin1String(c.allocate) + QLatin1Char(' ') + errors));
            if (!c.accepted)
                QVERIFY2(errors.contains(page.harness.messages.at(0).text), qPrintable(errors));
        }
    }

    void fullJobRunsToCompletion()
    {
        SimulatorProcess sim;
        QVERIFY2(sim.device().startsWith(QLatin1String("LAN:127.0.0.1:")), qPrintable(sim.device()));
        Page page(kKa5, sim.device());
        CDownloadView* view = page.view;
        const PrinterDefinition& printer = *page.harness.state().selectedPrinter();
        QTemporaryDir dir;
        const QString systemFile = dir.filePath(QStringLiteral("system.txt"));
        QVERIFY(!WriteSystemParameterTextFile(systemFile, BuildSystemParameterLine(DefaultSystemParameters(printer), printer)));
        const QString initialFile = dir.filePath(QStringLiteral("initial.txt"));
        QVERIFY(!WriteInitialTableTextFile(initialFile, ComposeInitialTableText(DefaultInitialTableDocument(printer), printer)));

        view->allocationBox()->click();
        for (int type = 0; type <= DownloadItem::TestFile; ++type)
            view->fileStepBox(type)->click();
        view->vormexSwitchBox()->click();
        const std::pair<int, QString> files[] = {
            {DownloadItem::BasicMain, writeFile(dir, QStringLiteral("MAIN.BAS"), "10 A=1\r\n20 END\r\n")},
            {DownloadItem::BasicSystem, writeFile(dir, QStringLiteral("SYS.BAS"), "10 B=2\r\n20 END\r\n")},
            {DownloadItem::SystemParameters, systemFile},
            {DownloadItem::InitialTable, initialFile},
            {DownloadItem::TestFile, writeFile(dir, QStringLiteral("test.txt"), "{WS|}")},
        };
        for (const auto& [type, path] : files) {
            view->browser(type)->Pick(path);
            QVERIFY2(view->job().item(type).ready(), qPrintable(page.messageTexts()));
        }

        QCOMPARE(CountDownloadSteps(view->job()), 7);
        QStringList shownFiles;
        QStringList shownJobPercents;
        const bool opened = startWithDialog(view, [&](CDLProcDlg& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("ダウンロード"));
            QVERIFY(!dialog.okButton()->isEnabled());
            QVERIFY(dialog.cancelButton()->isEnabled());
            QElapsedTimer timer;
            timer.start();
            while (!dialog.okButton()->isEnabled() && timer.elapsed() < 60000) {
                QTest::qWait(20);
                if (!dialog.fileName()->text().isEmpty() && !shownFiles.contains(dialog.fileName()->text()))
                    shownFiles << dialog.fileName()->text();
                if (!shownJobPercents.contains(dialog.jobPercent()->text()))
                    shownJobPercents << dialog.jobPercent()->text();
                const int item = dialog.itemBar()->value();
                QVERIFY(item >= 0 && item <= 100);
                QCOMPARE(dialog.itemPercent()->text(), QStringLiteral("%1%").arg(item));
            }
            QVERIFY2(dialog.okButton()->isEnabled(), qPrintable(dialog.logView()->toPlainText()));
            // Seven counted steps: the whole job goes by sevenths, rounded.
            const QStringList sevenths = {QStringLiteral("0%"),  QStringLiteral("14%"), QStringLiteral("29%"),
                                          QStringLiteral("43%"), QStringLiteral("57%"), QStringLiteral("71%"),
                                          QStringLiteral("86%"), QStringLiteral("100%")};
            for (const QString& percent : shownJobPercents)
                QVERIFY2(sevenths.contains(percent), qPrintable(percent));
            QVERIFY(shownJobPercents.size() >= 3);
            QTRY_VERIFY(!dialog.engineRunning());
            QVERIFY(!dialog.cancelButton()->isEnabled());
            QCOMPARE(dialog.focusWidget(), dialog.okButton());  // the keyboard goes on from OK
            QCOMPARE(dialog.itemPercent()->text(), QStringLiteral("100%"));
            QCOMPARE(dialog.jobPercent()->text(), QStringLiteral("100%"));
            QCOMPARE(dialog.jobBar()->value(), 100);
            QCOMPARE(dialog.jobBarLabel()->text(), QStringLiteral("全体："));
            QCOMPARE(logLines(dialog),
                     textsOf(page.harness, {8021, 8041, 8000, 8001, 8024, 8025, 8003, 8004, 8024, 8025, 8006, 8007, 8024,
                                            8025, 8012, 8013, 8024, 8025, 8015, 8016, 8009, 8010, 8018, 8019, 8022}));
            QCOMPARE(logLines(dialog).constFirst(), QStringLiteral("ダウンロード開始"));
            QCOMPARE(logLines(dialog).constLast(), QStringLiteral("ダウンロード完了"));
            dialog.okButton()->click();
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(opened);
        QVERIFY(!view->openDialog());
        QCOMPARE(view->lateEngines(), size_t(0));
        QVERIFY(shownFiles.contains(files[0].second));

        const QString log = sim.log();
        for (const char* expected : {"memory allocation", "stored QUILLPRM.TXT", "stored ZDEFAULT.TXT", "VORMEX on"})
            QVERIFY2(log.contains(QLatin1String(expected)), expected);
    }

    void firmwareJobRunsToCompletion()
    {
        SimulatorProcess sim;
        Page page(kKa5, sim.device());
        CDownloadView* view = page.view;
        QTemporaryDir dir;
        view->firmwareMode()->click();
        view->browser(DownloadItem::Firmware)->Pick(writeFile(dir, QStringLiteral("fw.rom"), firmwareImage(2 * 65536)));
        QVERIFY(view->job().item(DownloadItem::Firmware).ready());

        const bool opened = startWithDialog(view, [&](CDLProcDlg& dialog) {
            QTRY_VERIFY_WITH_TIMEOUT(dialog.okButton()->isEnabled(), 60000);
            QTRY_VERIFY(!dialog.engineRunning());
            QCOMPARE(logLines(dialog), textsOf(page.harness, {8024, 8025, 8033, 8034}));
            QCOMPARE(dialog.itemPercent()->text(), QStringLiteral("100%"));
            QCOMPARE(dialog.jobPercent()->text(), QStringLiteral("100%"));
            dialog.okButton()->click();
        });
        QVERIFY(opened);
        QVERIFY(sim.log().contains(QLatin1String("firmware block")));
    }

    void failedJobLeavesOnlyCancel()
    {
        Page page(kKa5, kNoPrinterThere);
        page.view->vormexSwitchBox()->click();
        const bool opened = startWithDialog(page.view, [&](CDLProcDlg& dialog) {
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.engineRunning(), 20000);
            QTest::qWait(2 * CDLProcDlg::kRefreshMs);
            QCOMPARE(dialog.logView()->toPlainText(), QStringLiteral("デバイスオープンエラー"));
            QVERIFY(!dialog.okButton()->isEnabled());
            QVERIFY(dialog.cancelButton()->isEnabled());
            dialog.cancelButton()->click();
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(opened);
    }

    void cancelDuringAWaitClosesWithinTheBound()
    {
        SimulatorProcess sim({QStringLiteral("--fault"), QStringLiteral("silence")});
        Page page(kKa5, sim.device());
        page.harness.state().waitTimeMs = 600000;  // the printer's answer would be waited for long
        page.view->vormexSwitchBox()->click();
        qint64 closedAfterMs = -1;
        const bool opened = startWithDialog(page.view, [&](CDLProcDlg& dialog) {
            QTRY_VERIFY_WITH_TIMEOUT(dialog.logView()->toPlainText().contains(page.harness.app().text(8009)), 10000);
            QTest::qWait(300);
            QVERIFY(dialog.engineRunning());
            QElapsedTimer timer;
            timer.start();
            dialog.cancelButton()->click();
            QVERIFY(!dialog.okButton()->isEnabled() && !dialog.cancelButton()->isEnabled());
            const auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(
                pacing::scaled(CDLProcDlg::kCloseBoundMs));
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), int(bound.count()) + 1000);
            closedAfterMs = timer.elapsed();
        });
        QVERIFY(opened);
        QVERIFY(closedAfterMs >= 0);
        QVERIFY2(closedAfterMs < 2000, qPrintable(QString::number(closedAfterMs)));
        QCOMPARE(page.view->lateEngines(), size_t(0));
    }
};

VORMEX_GUI_TEST(DownloadViewTest);

}  // namespace vormex::gui::test

#include "DownloadViewTest.moc"
