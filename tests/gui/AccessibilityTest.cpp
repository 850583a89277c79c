// What a screen reader and a keyboard-only user get from the desktop program: every control of
// every page and dialog named after its caption (through QAccessible, as the accessibility bus
// reads it), the Tab order of each page, the navigation shortcuts, default buttons and Escape,
// and a focus frame that shows in every look.
#include "gui/application/Looks.h"
#include "gui/binding/PropertyBinding.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/BusyDialog.h"
#include "gui/dialogs/DLProcDlg.h"
#include "gui/dialogs/EnvironmentSheet.h"
#include "gui/dialogs/FileDownloadProc.h"
#include "gui/dialogs/FindPrinterDlg.h"
#include "gui/pages/DownloadBrowser.h"
#include "gui/pages/DownloadView.h"
#include "gui/pages/DriveMappingView.h"
#include "gui/pages/FontConvertView.h"
#include "gui/pages/ParamSettingView.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/pages/SystemSettingView.h"
#include "gui/pages/ToolsView.h"
#include "gui/shell/HeaderView.h"
#include "gui/shell/NavigationBar.h"
#include "gui/widgets/BlockSpinBox.h"
#include "gui/widgets/SpinEdit.h"
#include "GuiHarness.h"
#include "GuiTests.h"
#include "pages/SystemSettingsModel.h"
#include "sysparam/SystemParameterSet.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFile>
#include <QItemSelectionModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>
#include <set>

namespace vormex::gui::test {
namespace {

constexpr int kFirstCommand = 32818;
const QString kNobodyThere = QStringLiteral("LAN:127.0.0.1:1");  // a device text that reaches nothing
const QString kVariableCodesPrinter = QStringLiteral("Q-KB4");

QAccessibleInterface* accessible(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }
QString nameOf(QWidget* widget) { return accessible(widget) ? accessible(widget)->text(QAccessible::Name) : QString(); }
QString descriptionOf(QWidget* widget)
{
    return accessible(widget) ? accessible(widget)->text(QAccessible::Description) : QString();
}

// What the control holds as the user sees it: the value a screen reader reads after the name.
QStringList valuesOf(QWidget* widget)
{
    QStringList values;
    // A list is named by its caption and holds the entry chosen (Qt gives lists no value).
    if (auto* view = qobject_cast<QAbstractItemView*>(widget))
        return {view->currentIndex().data().toString()};
    if (QAccessibleInterface* face = accessible(widget))
        values << face->text(QAccessible::Value);
    if (auto* list = qobject_cast<QComboBox*>(widget))
        values << list->currentText();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        values << edit->text();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        values << spin->text();
    values.removeAll(QString());
    return values;
}

QString describe(QWidget* widget)
{
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(widget->metaObject()->className()), nameOf(widget), widget->objectName());
}

// A control the user works with: one that Tab stops at, or one of the kinds of input (also while
// hidden or disabled: another printer, interface or mode shows it). The inner edit of a spin box
// or list, whose outer control answers for it, and the popups of lists are left out.
bool isInput(QWidget* widget, QWidget* root)
{
    if (widget->window() != root->window() || qobject_cast<QLabel*>(widget))
        return false;
    QWidget* parent = widget->parentWidget();
    if (widget->focusProxy() || qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent))
        return false;
    if (widget->focusPolicy() == Qt::NoFocus)
        return false;
    const bool inputKind = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                           qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                           qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
                           qobject_cast<QTabBar*>(widget);
    return inputKind || (widget->focusPolicy() & Qt::TabFocus);
}

QList<QWidget*> inputsOf(QWidget* root)
{
    QList<QWidget*> inputs;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (isInput(widget, root))
            inputs << widget;
    }
    return inputs;
}

// Every input of `root` has a name, the name is not what it holds, and no two inputs of the same
// role share a name.
void expectNamed(QWidget* root, const QString& where)
{
    std::set<std::pair<QString, int>> seen;
    for (QWidget* widget : inputsOf(root)) {
        const QString name = nameOf(widget);
        const QByteArray what = (where + QStringLiteral(": ") + describe(widget)).toUtf8();
        QVERIFY2(!name.trimmed().isEmpty(), what.constData());
        QVERIFY2(!valuesOf(widget).contains(name), what.constData());
        QVERIFY2(!name.contains(QLatin1Char('\n')) && !name.endsWith(QChar(0xFF1A)) && !name.endsWith(QLatin1Char(':')),
                 what.constData());
        QVERIFY2(seen.insert({name, int(accessible(widget)->role())}).second, ("twice: " + what).constData());
    }
}

// The first control of `root` that Tab stops at.
QWidget* firstTabStop(QWidget* root)
{
    for (QWidget* widget = root->nextInFocusChain(); widget != root; widget = widget->nextInFocusChain()) {
        if (root->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() &&
            widget->isEnabled() && !widget->focusProxy())
            return widget;
    }
    return nullptr;
}

// The names of the controls that Tab visits in `root`, from its first one until Tab leaves it or
// comes back.
QStringList tabOrder(QWidget* root)
{
    QStringList names;
    QWidget* first = firstTabStop(root);
    if (!first)
        return names;
    first->setFocus(Qt::TabFocusReason);
    QWidget* current = QApplication::focusWidget();
    for (int i = 0; i < 100 && current && root->isAncestorOf(current); ++i) {
        names << nameOf(current);
        QTest::keyClick(current, Qt::Key_Tab);
        current = QApplication::focusWidget();
        if (current == first)
            break;
    }
    return names;
}

// Shows the window and gives it the keyboard (after the events of windows that went before).
bool activate(QWidget& window)
{
    window.show();
    for (int attempt = 0; attempt < 3; ++attempt) {
        window.activateWindow();
        if (QTest::qWaitForWindowActive(&window)) {
            QApplication::processEvents();
            if (QApplication::activeWindow() == &window)
                return true;
        }
    }
    return false;
}

// The main window over the shipped definitions in one language, and every dialog it opens.
struct Program {
    explicit Program(const char* language, const QString& printer = kFixedPrinter)
        : harness({{QString::fromLatin1(settings::kLanguage), QString::fromLatin1(language)},
                   {QString::fromLatin1(settings::kPrinterName), printer},
                   {QString::fromLatin1(settings::kDeviceInfo), kNobodyThere}})
    {
        harness.ports->serial = {{QStringLiteral("COM1"), QStringLiteral("/dev/ttyS0")}};
        harness.ports->parallel = {{QStringLiteral("LPT1"), QStringLiteral("/dev/lp0")}};
        harness.ports->usb.paths = {QStringLiteral("/dev/usb/lp0")};
        harness.ports->usb.names = {QStringLiteral("ORN Q-KA5")};
        harness.useShippedDefinitions();
        harness.state().selectedPrinterName = printer;
        frame = &harness.frame();
    }

    CPrinterSettingView* printerPage() const { return frame->printerSettings(); }
    CSystemSettingView* systemPage() const
    {
        return static_cast<CSystemSettingView*>(frame->page(kSystemParametersPage));
    }

    CParamSettingView* valuesPage() const { return static_cast<CParamSettingView*>(frame->page(kInitialValuesPage)); }
    CFontConvertView* fontPage() const { return static_cast<CFontConvertView*>(frame->page(kFontTablesPage)); }
    CDriveMappingView* drivePage() const { return static_cast<CDriveMappingView*>(frame->page(kDriveMappingPage)); }

    std::unique_ptr<CEnvironmentSheet> options()
    {
        return std::make_unique<CEnvironmentSheet>(harness.app(), *frame, frame->look(), frame);
    }
    std::unique_ptr<CFileDownloadProc> parameterDownload()
    {
        const PrinterDefinition& printer = *harness.state().selectedPrinter();
        const ParameterDownloadSetup setup = PrepareSystemParameterDownload(
            DefaultSystemParameters(printer), printer, harness.state().controlCodes, harness.state().strings);
        return std::make_unique<CFileDownloadProc>(harness.app(), setup, frame);
    }
    // Not shown: shown, it would start its job.
    std::unique_ptr<CDLProcDlg> download()
    {
        return std::make_unique<CDLProcDlg>(harness.app(), frame->download()->job(), LinkSettings{}, false, frame);
    }

    Harness harness;
    CMainFrame* frame = nullptr;
};

using Locator = std::function<QWidget*(Program&)>;

struct SampleName {
    const char* where;
    Locator control;
    const char* japanese;
    const char* english;
};

QWidget* systemItem(Program& program, const char* item) { return program.systemPage()->control(item); }

// What a row of the Tab order table does to the page before Tab goes round.
using Preparation = std::function<void(Program&)>;

}  // namespace
}  // namespace vormex::gui::test

Q_DECLARE_METATYPE(vormex::gui::test::Preparation)

namespace vormex::gui::test {

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    // A text cursor that does not blink, so pictures of the edits are steady.
    void initTestCase()
    {
        flashTime_ = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
    }
    void cleanupTestCase() { QApplication::setCursorFlashTime(flashTime_); }

    // Every page of the main window (the ones other builds add included), its frame and every
    // dialog: each input named, and not by its value.
    void everyInputIsNamed()
    {
        for (const char* language : {"JPN", "ENG"}) {
            Program program(language, kVariableCodesPrinter);
            CMainFrame& frame = *program.frame;
            for (int page = 0; page < kPageCount; ++page)
                expectNamed(frame.page(page), QStringLiteral("%1 page %2").arg(QLatin1String(language)).arg(page));
            expectNamed(frame.navigationBar(), QStringLiteral("navigation bar"));
            expectNamed(frame.header(), QStringLiteral("header"));
            expectNamed(program.options().get(), QStringLiteral("options sheet"));
            AboutDialog about(program.harness.app(), &frame);
            expectNamed(&about, QStringLiteral("about box"));
            expectNamed(program.parameterDownload().get(), QStringLiteral("parameter download dialog"));
            expectNamed(program.download().get(), QStringLiteral("download dialog"));
            BusyDialog busy(QStringLiteral("title"), QStringLiteral("text"), &frame);
            expectNamed(&busy, QStringLiteral("busy window"));
            CFindPrinterDlg find(program.harness.app(), 8000, &frame);
            expectNamed(&find, QStringLiteral("find dialog"));
        }
    }

    // A sample of controls with the names and descriptions a screen reader announces.
    void sampleNamesInBothLanguages()
    {
        const auto browseButton = [](int item) {
            return [item](Program& p) -> QWidget* { return p.frame->download()->browser(item)->browseButton(); };
        };
        const SampleName samples[] = {
            {"printer", [](Program& p) -> QWidget* { return p.printerPage()->printerList(); }, "プリンタ", "Printer"},
            {"printer", [](Program& p) -> QWidget* { return p.printerPage()->interfaceList(); }, "接続Ｉ／Ｆ", "Interface"},
            {"printer", [](Program& p) -> QWidget* { return p.printerPage()->parity(); }, "パリティ", "Parity"},
            {"printer", [](Program& p) -> QWidget* { return p.printerPage()->controlCodeType(); }, "コマンド制御コード",
             "Command control codes"},
            {"printer", [](Program& p) -> QWidget* { return p.printerPage()->manualCode(1); }, "制御コード２",
             "Control code 2"},
            {"printer", [](Program& p) -> QWidget* { return p.printerPage()->port(); }, "ポート", "Port"},
            {"system", [](Program& p) { return systemItem(p, "LABEL LENGTH"); }, "ラベル長", "Label length"},
            {"system", [](Program& p) { return systemItem(p, "RIBBON"); }, "リボン", "Ribbon"},
            {"system", [](Program& p) { return systemItem(p, "MAXIMUM LENGTH"); }, "最大用紙長（キャリブレーション時）",
             "Maximum media length (calibration)"},
            {"system", [](Program& p) { return systemItem(p, "TAB->SP"); }, "タブスペース変換", "Tab to spaces"},
            {"system", [](Program& p) { return systemItem(p, "LABEL SIZE(LL)"); }, "ラベル長（ＬＬ）", "Label length (LL)"},
            {"system", [](Program& p) -> QWidget* { return p.systemPage()->button(CSystemSettingView::kRead); },
             "読み込み", "Open"},
            // Two groups of the font table hold a "Width": the group's title comes first.
            {"fonts", [](Program& p) { return p.fontPage()->control("BMP Adjust Width"); },
             "ビットマップフォント補正 幅補正係数", "Bitmap font corrections Width"},
            {"fonts", [](Program& p) { return p.fontPage()->control("TrueType Adjust Width"); },
             "アウトラインフォント補正 幅補正係数", "Outline font corrections Width"},
            {"drives", [](Program& p) -> QWidget* { return p.drivePage()->kirnDrive(0); }, "R: KIRN ドライブ",
             "R: KIRN drive"},
            {"download", [](Program& p) -> QWidget* { return p.frame->download()->areaEdit(0); },
             "TrueType フォント登録領域", "TrueType font area"},
            {"download", [](Program& p) -> QWidget* { return p.frame->download()->kanjiList(); }, "漢字削除",
             "Kanji deletion"},
            {"download", [](Program& p) -> QWidget* { return p.frame->download()->startBlockEdit(2); },
             "システムパラメータファイル 開始ブロック", "System parameter file Start block"},
            {"download", browseButton(DownloadItem::BasicMain), "ＢＡＳＩＣメイン・プログラム の参照",
             "Browse for BASIC main program"},
            {"download", [](Program& p) -> QWidget* { return p.frame->download()->vormexSwitchList(); },
             "VORMEX切り替え", "VORMEX switch"},
            {"tools", [](Program& p) -> QWidget* { return p.frame->tools()->findChildren<QPushButton*>().value(2); },
             "Ｔｒｕｅ Ｔｙｐｅ　フォントのダウンローダーを起動する", "Start the TrueType font downloader"},
            {"navigation", [](Program& p) -> QWidget* { return p.frame->navigationBar()->button(2); },
             "初期値&テーブル設定", "Initial Values & Tables"},
            {"header", [](Program& p) -> QWidget* { return p.frame->header()->optionsButton(); }, "環境設定", "Options"},
        };
        for (const char* language : {"JPN", "ENG"}) {
            Program program(language, kVariableCodesPrinter);
            const bool japanese = QByteArray(language) == "JPN";
            for (const SampleName& sample : samples) {
                QWidget* control = sample.control(program);
                QVERIFY2(control, sample.where);
                QVERIFY2(nameOf(control) == QString::fromUtf8(japanese ? sample.japanese : sample.english),
                         qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(sample.where), nameOf(control))));
            }
            const auto sheet = program.options();
            QCOMPARE(nameOf(sheet->downloaderPage()->waitTimeEdit()), japanese ? QStringLiteral("待ち時間") : QStringLiteral("Wait time"));
            QCOMPARE(nameOf(sheet->stylePage()->lookList()), japanese ? QStringLiteral("スタイル") : QStringLiteral("Style"));
            QCOMPARE(nameOf(sheet->languagePage()->restartButton()),
                     japanese ? QStringLiteral("言語を切り換えるには、アプリケーションの再起動が必要です。直ちに、再起動する。")
                              : QStringLiteral("The application must restart to change the language. Restart now."));
            // The tabs are known by the page shown.
            QCOMPARE(nameOf(sheet->tabs()->tabBar()), sheet->tabs()->tabText(0));
            const auto dialog = program.parameterDownload();
            QCOMPARE(nameOf(dialog->startBlock()), japanese ? QStringLiteral("開始ブロック") : QStringLiteral("Start block"));
            QCOMPARE(nameOf(dialog->log()), japanese ? QStringLiteral("ログ") : QStringLiteral("Log"));
        }
    }

    // What the caption leaves out, the unit and the range, is the description; it follows the
    // printer's definitions.
    void descriptionsSayUnitAndRange()
    {
        for (const char* language : {"JPN", "ENG"}) {
            Program program(language);
            const bool japanese = QByteArray(language) == "JPN";
            const auto range = [japanese](const char* min, const char* max, const char* unit = nullptr) {
                if (unit)
                    return japanese ? QStringLiteral("範囲 %1 ～ %2 %3").arg(QLatin1String(min), QLatin1String(max), QString::fromUtf8(unit))
                                    : QStringLiteral("Range %1 to %2 %3").arg(QLatin1String(min), QLatin1String(max), QString::fromUtf8(unit));
                return japanese ? QStringLiteral("範囲 %1 ～ %2").arg(QLatin1String(min), QLatin1String(max))
                                : QStringLiteral("Range %1 to %2").arg(QLatin1String(min), QLatin1String(max));
            };
            const QString blocks = japanese ? QStringLiteral("ブロック") : QStringLiteral("blocks");
            // Lengths in tenths of a millimetre, shown as the mask shows them.
            QCOMPARE(descriptionOf(systemItem(program, "LABEL LENGTH")), range("5.0", "999.9", "mm"));
            QCOMPARE(descriptionOf(systemItem(program, "RFID ADJUST")), range("-99.9", "99.9", "mm"));
            QCOMPARE(descriptionOf(systemItem(program, "TAB->SP")), range("0", "99"));
            QCOMPARE(descriptionOf(systemItem(program, "CONTROL PREFIX")),
                     japanese ? QStringLiteral("16 進数 2 桁") : QStringLiteral("2 hexadecimal digits"));
            QCOMPARE(descriptionOf(systemItem(program, "RIBBON")), QString());
            QCOMPARE(descriptionOf(program.printerPage()->port()), range("1", "65535"));
            QCOMPARE(descriptionOf(program.valuesPage()->control("INC/DEC")), range("-9999999999", "9999999999"));
            CDownloadView* download = program.frame->download();
            QCOMPARE(descriptionOf(download->areaEdit(0)), range("0", "16", japanese ? "ブロック" : "blocks"));
            QCOMPARE(descriptionOf(download->startBlockEdit(0)), range("0", "20"));  // the BASIC area
            QCOMPARE(descriptionOf(download->pcSaveArea()), blocks);
            const auto sheet = program.options();
            QCOMPARE(descriptionOf(sheet->downloaderPage()->waitTimeEdit()),
                     range("1", "60000", japanese ? "ミリ秒" : "ms"));

            // Another printer, another range; a kanji variant, other limits.
            program.printerPage()->printerList()->setCurrentText(kVariableCodesPrinter);
            QCOMPARE(descriptionOf(systemItem(program, "LABEL LENGTH")), range("5.0", "1500.0", "mm"));
            QCOMPARE(descriptionOf(download->areaEdit(0)), range("0", "8", japanese ? "ブロック" : "blocks"));
        }
    }

    // Tab visits each page's controls top to bottom, left to right within a row (the left
    // column of the system parameters before the right one), skipping what is hidden or off.
    void tabOrderOfEachPage_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<Preparation>("prepare");
        QTest::addColumn<QStringList>("names");
        const Preparation asIs = [](Program&) {};
        QTest::newRow("printer settings, LAN") << kFirstCommand << kFixedPrinter << asIs
                                               << QStringList{"プリンタ", "接続Ｉ／Ｆ", "ＩＰアドレス", "検索", "ポート"};
        QTest::newRow("printer settings, COM and manual codes")
            << kFirstCommand << kVariableCodesPrinter << Preparation([](Program& p) {
                   p.printerPage()->interfaceList()->setCurrentText(QStringLiteral("COM1"));
                   p.printerPage()->controlCodeType()->setCurrentIndex(3);
               })
            << QStringList{"プリンタ", "接続Ｉ／Ｆ", "伝送速度", "データ長", "パリティ", "ストップビット", "コマンド制御コード",
                           "制御コード１", "制御コード１の文字", "制御コード２", "制御コード２の文字", "制御コード３",
                           "制御コード３の文字"};
        QTest::newRow("printer settings, USB") << kFirstCommand << kFixedPrinter
                                               << Preparation([](Program& p) {
                                                      p.printerPage()->interfaceList()->setCurrentText(QStringLiteral("USB"));
                                                  })
                                               << QStringList{"プリンタ", "接続Ｉ／Ｆ", "デバイス名"};
        QTest::newRow("system parameters")
            << kFirstCommand + 1 << kFixedPrinter << asIs
            << QStringList{"ラベル長", "ラベル幅", "リボン", "発行モード", "センサー種別", "印字速度",
                           "最大用紙長（キャリブレーション時）", "電源投入用紙動作", "ヘッドクローズ用紙動作", "ＤＯＴ/ＭＭ",
                           "フォーマット変換", "グラフィック座標", "タブスペース変換", "コントロールＰＲＥＦＩＸ(~)",
                           "フォーマットＰＲＥＦＩＸ(^)", "デリミタ文字(,)", "ラベル長（ＬＬ）", "用紙タイプ（ＭＮ）",
                           "リボン有無（ＭＴ）", "印字濃度微調（ＳＤ）", "印字濃度微調（ＭＤ）", "ＲＦＩＤ書き込み位置調整",
                           "ＲＦＩＤオフセット印刷", "ラベルシフト", "ファイル名", "読み込み", "保存", "パラメータ取得",
                           "ダウンロード", "初期値に戻す"};
        // The pages of the initial-values group, by their tab: the tab row (known by the tab
        // shown), the page's own controls, then the file name and the buttons under them.
        const QStringList documentButtons{"ファイル名", "読み込み", "保存", "パラメータ取得", "ダウンロード", "初期値に戻す"};
        const std::pair<const char*, QStringList> groupPages[] = {
            {"initial values",
             {"初期値設定", "デフォルト高さ", "モジュールサイズ", "細バー太バーの比", "デフォルトローテーション",
              "キャラクタ間ギャップ", "INC/DEC", "ゼロサプレス", "単位", "キャラクタセット", "矩形の幅", "行数", "行間DOT",
              "文字揃え", "X座標補正", "ライン幅", "濃度微調値", "印字枚数", "カット枚数", "ラベルホームＸ座標",
              "ラベルホームＹ座標", "ラベル回転・ミラー印字", "Ｙオフセット", "フィード微調値", "フォーマットデータ領域",
              "動作設定"}},
            // Modify and Delete wait for a chosen row, the fields for Add or Modify.
            {"font tables", {"フォントコンバートテーブル", "フォントコンバートテーブル", "追　加"}},
            {"drive mapping",
             {"ドライブマッピング", "R: KIRN ドライブ", "B: KIRN ドライブ", "E: KIRN ドライブ", "A: KIRN ドライブ"}},
            {"response commands",
             {"応答コマンド", "HI コマンド", "HM コマンド", "HS-1 コマンド", "HS-2 コマンド", "HS-3 コマンド",
              "HQMA コマンド", "HQMI コマンド", "HQOD コマンド", "HQPH コマンド", "HQES コマンド", "HQHA コマンド",
              "HQJT コマンド", "HQPP コマンド", "HQSN コマンド", "HQUI コマンド"}},
        };
        for (int tab = 0; tab < 4; ++tab) {
            QTest::newRow(groupPages[tab].first) << kFirstCommand + 2 << kFixedPrinter << Preparation([tab](Program& p) {
                p.frame->SetInitialValuesTab(tab);
                p.frame->SwitchPage(kFirstCommand + 2);
            }) << groupPages[tab].second + documentButtons;
        }
        QTest::newRow("download, as it opens")
            << kFirstCommand + 3 << kFixedPrinter << asIs
            << QStringList{"BASICファイル ダウンロード", "メモリ・アロケート", "ＢＡＳＩＣメイン・プログラム", "ＢＡＳＩＣシステムモード・プログラム", "システムパラメータファイル",
                           "初期値＆テーブルファイル", "VORMEX切り替え", "テストファイル送信", "送 信 開 始"};
        QTest::newRow("download, every step")
            << kFirstCommand + 3 << kFixedPrinter << Preparation([](Program& p) {
                   CDownloadView* view = p.frame->download();
                   view->allocationBox()->click();
                   view->vormexSwitchBox()->click();
                   for (int type = 0; type < 5; ++type)
                       view->fileStepBox(type)->click();
               })
            << QStringList{"BASICファイル ダウンロード", "メモリ・アロケート", "ＢＡＳＩＣ領域を保持する", "漢字削除",
                           "TrueType フォント登録領域", "ビットマップ外字登録領域", "ＢＡＳＩＣファイル登録領域",
                           "ＰＣセーブデータ領域", "ＢＡＳＩＣメイン・プログラム", "ＢＡＳＩＣメイン・プログラム",
                           "ＢＡＳＩＣメイン・プログラム の参照", "ＢＡＳＩＣメイン・プログラム 開始ブロック",
                           "ＢＡＳＩＣシステムモード・プログラム", "ＢＡＳＩＣシステムモード・プログラム",
                           "ＢＡＳＩＣシステムモード・プログラム の参照", "ＢＡＳＩＣシステムモード・プログラム 開始ブロック",
                           "システムパラメータファイル", "システムパラメータファイル", "システムパラメータファイル の参照",
                           "システムパラメータファイル 開始ブロック", "初期値＆テーブルファイル", "初期値＆テーブルファイル",
                           "初期値＆テーブルファイル の参照", "初期値＆テーブルファイル 開始ブロック", "VORMEX切り替え",
                           "VORMEX切り替え", "テストファイル送信", "テストファイル送信", "テストファイル送信 の参照",
                           "送 信 開 始"};
        QTest::newRow("download, firmware")
            << kFirstCommand + 3 << kFixedPrinter << Preparation([](Program& p) {
                   p.frame->download()->firmwareMode()->click();
               })
            << QStringList{"プリンタ・ファームウェア・ダウンロード", "プリンタ・ファームウェア・ダウンロード",
                           "プリンタ・ファームウェア・ダウンロード の参照", "モデル", "バージョン", "日付", "アドレス",
                           "サイズ", "送 信 開 始"};
        QTest::newRow("tools") << kFirstCommand + 4 << kFixedPrinter << asIs
                               << QStringList{"VORMEXをＯＮにする", "VORMEXをＯＦＦにする",
                                              "Ｔｒｕｅ Ｔｙｐｅ　フォントのダウンローダーを起動する"};
    }

    void tabOrderOfEachPage()
    {
        QFETCH(int, command);
        QFETCH(QString, printer);
        QFETCH(Preparation, prepare);
        QFETCH(QStringList, names);
        Program program("JPN", printer);
        CMainFrame& frame = *program.frame;
        QVERIFY(activate(frame));
        QVERIFY(frame.SwitchPage(command) || frame.currentPage() == command - kFirstCommand);
        prepare(program);
        QCOMPARE(tabOrder(frame.page(frame.shownPageIndex())), names);
    }

    // The initial-values group shows the tab of its own pages; whatever they hold, Tab reaches
    // every control Tab stops at, and nothing else.
    void tabReachesEveryControlOfEveryPage()
    {
        Program program("ENG", kVariableCodesPrinter);
        CMainFrame& frame = *program.frame;
        QVERIFY(activate(frame));
        for (int tab = 0; tab < 4; ++tab) {
            frame.SetInitialValuesTab(tab);
            for (int command = kFirstCommand; command < kFirstCommand + kDestinationCount; ++command) {
                frame.SwitchPage(command);
                QWidget* page = frame.page(frame.shownPageIndex());
                QStringList reachable;
                for (QWidget* widget : inputsOf(page)) {
                    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled())
                        reachable << nameOf(widget);
                }
                QStringList visited = tabOrder(page);
                visited.sort();
                reachable.sort();
                QCOMPARE(visited, reachable);
            }
        }
    }

    void dialogTabOrders()
    {
        Program program("JPN");
        const auto sheet = program.options();
        QVERIFY(activate(*sheet));
        const QStringList expected[] = {
            {"アプリケーションのスタイル", "スタイル", "アイコン表示", "デバイス設定表示", "OK", "キャンセル"},
            {"ダウンロード", "ダウンローダー", "ダウンローダー の参照", "待ち時間", "OK", "キャンセル"},
            {"言語", "言語", "OK", "キャンセル"},  // the restart button waits for another language
        };
        for (int tab = 0; tab < 3; ++tab) {
            sheet->tabs()->setCurrentIndex(tab);
            QCOMPARE(tabOrder(sheet.get()), expected[tab]);
        }
        sheet->hide();

        const auto dialog = program.parameterDownload();
        QVERIFY(activate(*dialog));
        QCOMPARE(tabOrder(dialog.get()),
                 (QStringList{"開始ブロック", "ダウンロード後に VORMEX を起動する", "ダウンロード開始", "ログ", "キャンセル"}));
        dialog->hide();

        // OK and Stop wait for a printer and a scan.
        CFindPrinterDlg find(program.harness.app(), 8000, program.frame);
        QVERIFY(activate(find));
        QCOMPARE(tabOrder(&find), (QStringList{"検索範囲", "ポート", "検索開始", "見つかったプリンタ", "キャンセル"}));
        find.hide();
    }

    // Ctrl+1 to Ctrl+5 move to the five destinations, with the leaving checks of the buttons, also
    // while the bar is hidden; the keyboard goes on in the page shown; the tips say the keys.
    void navigationShortcuts()
    {
        Program program("JPN");
        CMainFrame& frame = *program.frame;
        QVERIFY(activate(frame));
        for (int destination = 0; destination < kDestinationCount; ++destination) {
            const QString tip = frame.navigationBar()->button(destination)->toolTip();
            QVERIFY2(tip.startsWith(frame.navigationBar()->button(destination)->accessibleName()), qPrintable(tip));
            QVERIFY2(tip.endsWith(QStringLiteral("(Ctrl+%1)").arg(destination + 1)), qPrintable(tip));
        }
        const std::pair<Qt::Key, int> moves[] = {{Qt::Key_5, kToolsPage},           {Qt::Key_4, kDownloadPage},
                                                 {Qt::Key_3, kInitialValuesPage},   {Qt::Key_2, kSystemParametersPage},
                                                 {Qt::Key_1, kPrinterSettingsPage}};
        for (const auto& [key, page] : moves) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
            QCOMPARE(frame.shownPageIndex(), page);
            QCOMPARE(frame.navigationBar()->current(), frame.currentPage());
            if (QWidget* first = firstTabStop(frame.page(page)))
                QCOMPARE(QApplication::focusWidget(), first);
        }
        frame.ToggleNavigationBar();
        QVERIFY(!frame.navigationDock()->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_4, Qt::ControlModifier);
        QCOMPARE(frame.shownPageIndex(), int(kDownloadPage));

        // A page that may not be left stays, as with the buttons.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_2, Qt::ControlModifier);
        program.harness.answer = QMessageBox::Cancel;
        QWidget* length = program.systemPage()->control("LABEL LENGTH");
        length->setFocus(Qt::TabFocusReason);
        QTest::keyClick(length, Qt::Key_Home);
        QTest::keyClick(length, Qt::Key_1);
        QVERIFY(program.systemPage()->isModified());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_5, Qt::ControlModifier);
        QCOMPARE(frame.shownPageIndex(), int(kSystemParametersPage));
        QVERIFY(!program.harness.messages.empty());
    }

    // The navigation entries and the page's buttons are pressed with the keyboard.
    void buttonsArePressedFromTheKeyboard()
    {
        Program program("JPN");
        CMainFrame& frame = *program.frame;
        QVERIFY(activate(frame));
        frame.navigationBar()->button(4)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(frame.navigationBar()->button(4), Qt::Key_Space);
        QCOMPARE(frame.shownPageIndex(), int(kToolsPage));

        QPushButton* on = frame.tools()->findChildren<QPushButton*>().value(0);
        on->setFocus(Qt::TabFocusReason);
        QTest::keyClick(on, Qt::Key_Space);
        QTRY_COMPARE(program.harness.switches().size(), size_t(1));
        QVERIFY(program.harness.switches().front().on);
    }

    // Every dialog has a default button for Enter, and Escape cancels.
    void dialogsHaveADefaultButtonAndEscapeCancels()
    {
        Program program("JPN");
        CMainFrame& frame = *program.frame;
        const int look = frame.look();

        {
            const auto sheet = program.options();
            QVERIFY(activate(*sheet));
            QVERIFY(sheet->buttons()->button(QDialogButtonBox::Ok)->isDefault());
            sheet->stylePage()->lookList()->setCurrentRow(6);
            QCOMPARE(frame.look(), 216);
            QTest::keyClick(sheet->stylePage()->lookList(), Qt::Key_Escape);
            QCOMPARE(sheet->result(), int(QDialog::Rejected));
            QVERIFY(!sheet->isVisible());
            QCOMPARE(frame.look(), look);  // as Cancel does
        }
        {
            // Enter in the wait time confirms the sheet.
            const auto sheet = program.options();
            QVERIFY(activate(*sheet));
            sheet->tabs()->setCurrentIndex(1);
            auto* wait = sheet->downloaderPage()->waitTimeEdit();
            wait->setFocus(Qt::TabFocusReason);
            wait->selectAll();
            QTest::keyClicks(wait, QStringLiteral("1500"));
            QTest::keyClick(wait, Qt::Key_Up);  // the spin's step, from the keyboard
            QCOMPARE(wait->text(), QStringLiteral("1501"));
            QTest::keyClick(wait, Qt::Key_Return);
            QCOMPARE(sheet->result(), int(QDialog::Accepted));
            QCOMPARE(program.harness.state().waitTimeMs, 1501);
        }
        {
            AboutDialog about(program.harness.app(), &frame);
            QVERIFY(activate(about));
            QPushButton* ok = about.findChild<QPushButton*>();
            QVERIFY(ok && ok->isDefault());
            QTest::keyClick(&about, Qt::Key_Escape);
            QVERIFY(!about.isVisible());
        }
        {
            const auto dialog = program.parameterDownload();
            QVERIFY(activate(*dialog));
            QVERIFY(dialog->startButton()->isDefault());
            QTest::keyClick(dialog->startBlock(), Qt::Key_Escape);  // before the start: closes at once
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
            QVERIFY(!dialog->isVisible());
            QVERIFY(!dialog->running());
        }
        {
            // Enter scans (nothing is started here: Escape comes first).
            CFindPrinterDlg find(program.harness.app(), 8000, &frame);
            QVERIFY(activate(find));
            QVERIFY(find.scanButton()->isDefault());
            QTest::keyClick(find.rangeField(), Qt::Key_Escape);
            QCOMPARE(find.result(), int(QDialog::Rejected));
            QVERIFY(!find.isVisible());
            QVERIFY(!find.scanning());
        }
        {
            const auto dialog = program.download();
            QVERIFY(dialog->okButton()->isDefault());
            QVERIFY(!dialog->cancelButton()->isDefault());
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
        }
    }

    // In every look a control with the keyboard focus shows a frame: the picture of each kind of
    // control changes clearly when it gets the focus, on its border for the edits (whose text
    // cursor alone would not do).
    void focusIsVisibleInEveryLook()
    {
        Program program("JPN", kVariableCodesPrinter);
        CMainFrame& frame = *program.frame;
        QVERIFY(activate(frame));
        struct Sample {
            const char* what;
            int command;
            std::function<QWidget*()> control;
            bool onBorder;
        };
        CPrinterSettingView* printer = program.printerPage();
        CDownloadView* download = frame.download();
        const Sample samples[] = {
            {"navigation, pressed", kFirstCommand, [&] { return frame.navigationBar()->button(0); }, true},
            {"navigation", kFirstCommand, [&] { return frame.navigationBar()->button(3); }, true},
            {"options button", kFirstCommand, [&] { return frame.header()->optionsButton(); }, false},
            {"list", kFirstCommand, [&] { return printer->printerList(); }, false},
            {"edit", kFirstCommand, [&] { return printer->ipAddress(); }, true},
            {"number", kFirstCommand, [&] { return printer->port(); }, true},
            {"masked edit", kFirstCommand + 1, [&] { return program.systemPage()->control("LABEL LENGTH"); }, true},
            {"check box", kFirstCommand + 1, [&] { return program.systemPage()->control("LABEL SIZE(LL)"); }, false},
            {"page button", kFirstCommand + 1,
             [&] { return program.systemPage()->button(CSystemSettingView::kSave); }, false},
            {"radio button", kFirstCommand + 3, [&] { return download->basicFilesMode(); }, false},
            {"tools button", kFirstCommand + 4, [&] { return frame.tools()->findChildren<QPushButton*>().value(1); }, false},
        };
        for (int look = kFirstLookId; look <= kLastLookId; ++look) {
            frame.SetLook(look);
            for (const Sample& sample : samples) {
                frame.SwitchPage(sample.command);
                // The focus elsewhere (on a navigation button of another page), then on the control.
                QWidget* elsewhere = frame.navigationBar()->button(sample.command == kFirstCommand + 4 ? 1 : 4);
                expectFocusShows(sample.control(), elsewhere, sample.onBorder,
                                 LookFor(look).name.toUtf8() + ": " + sample.what);
            }
        }

        // The dialogs, which take the look of the window.
        const auto sheet = program.options();
        const auto dialog = program.parameterDownload();
        for (int look = kFirstLookId; look <= kLastLookId; ++look) {
            frame.SetLook(look);
            const QByteArray name = LookFor(look).name.toUtf8();
            QVERIFY(activate(*sheet));
            sheet->tabs()->setCurrentIndex(0);
            expectFocusShows(sheet->stylePage()->lookList(), sheet->buttons()->button(QDialogButtonBox::Cancel), true,
                             name + ": look list");
            sheet->tabs()->setCurrentIndex(1);
            expectFocusShows(sheet->downloaderPage()->pathEdit(), sheet->downloaderPage()->browseButton(), true,
                             name + ": read-only edit");
            sheet->hide();
            QVERIFY(activate(*dialog));
            expectFocusShows(dialog->log(), dialog->startButton(), true, name + ": log");
            expectFocusShows(dialog->vormexOnAfter(), dialog->startButton(), false, name + ": dialog check box");
            dialog->hide();
        }
    }

    // A destination's accessible actions go the way a click goes: the leaving page's checks, one
    // destination pressed. They return at once; the switch and its question come after.
    void navigationActionsGoTheWayOfAClick_data()
    {
        QTest::addColumn<int>("start");        // the destination shown first
        QTest::addColumn<bool>("changed");     // the system parameters hold unsaved changes
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("destination");  // the button acted on
        QTest::addColumn<int>("shown");        // the page shown afterwards
        QTest::addColumn<int>("questions");
        const QString press = QAccessibleActionInterface::pressAction();
        const QString toggle = QAccessibleActionInterface::toggleAction();
        QTest::newRow("press") << 0 << false << press << 3 << int(kDownloadPage) << 0;
        QTest::newRow("toggle") << 0 << false << toggle << 4 << int(kToolsPage) << 0;
        QTest::newRow("toggle the page shown") << 0 << false << toggle << 0 << int(kPrinterSettingsPage) << 0;
        QTest::newRow("leaving page asks, Cancel stays") << 1 << true << press << 4 << int(kSystemParametersPage) << 1;
    }

    void navigationActionsGoTheWayOfAClick()
    {
        QFETCH(int, start);
        QFETCH(bool, changed);
        QFETCH(QString, action);
        QFETCH(int, destination);
        QFETCH(int, shown);
        QFETCH(int, questions);
        Program program("JPN");
        CMainFrame& frame = *program.frame;
        program.harness.answer = QMessageBox::Cancel;
        QVERIFY(frame.SwitchPage(kFirstCommand + start) || start == 0);
        if (changed) {
            QWidget* length = systemItem(program, "LABEL LENGTH");
            QTest::keyClick(length, Qt::Key_Home);
            QTest::keyClick(length, Qt::Key_1);
            QVERIFY(program.systemPage()->isModified());
        }
        const int before = frame.shownPageIndex();

        QAccessibleActionInterface* actions = accessible(frame.navigationBar()->button(destination))->actionInterface();
        QVERIFY(actions && actions->actionNames().contains(action));
        actions->doAction(action);
        QCOMPARE(frame.shownPageIndex(), before);
        QVERIFY(program.harness.messages.empty());

        QApplication::processEvents();
        QCOMPARE(frame.shownPageIndex(), shown);
        QCOMPARE(int(program.harness.messages.size()), questions);
        for (int i = 0; i < kDestinationCount; ++i) {
            QCOMPARE(frame.navigationBar()->button(i)->isChecked(), i == frame.currentPage());
            QCOMPARE(accessible(frame.navigationBar()->button(i))->state().checked, i == frame.currentPage());
        }
    }

    // Text set through the editable-text interface (what AT-SPI's EditableText calls) is typed:
    // through the mask or the number's limits, refused as keys are refused, and what the field
    // shows is what is saved.
    void editsTakeTextAsTyped_data()
    {
        QTest::addColumn<bool>("initialValues");  // else the system parameters
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("at");              // insert there; -1 replaces the whole text
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("saved");    // what the saved file holds
        QTest::newRow("masked, whole") << false << "LABEL LENGTH" << -1 << "100.0" << "100.0 mm" << QByteArray("01000,");
        QTest::newRow("masked, refused") << false << "LABEL LENGTH" << 0 << "abc" << " 60.0 mm" << QByteArray("00600,");
        QTest::newRow("masked, digit by digit") << false << "LABEL LENGTH" << 1 << "7" << " 70.0 mm" << QByteArray("00700,");
        QTest::newRow("ratio") << true << "Ratio" << -1 << "2.5" << "2.5" << QByteArray("010,02,2.5");
        QTest::newRow("ratio, refused") << true << "Ratio" << -1 << "x" << "3.0" << QByteArray("010,02,3.0");
        QTest::newRow("number") << true << "BARCODE Height" << -1 << "20" << "20" << QByteArray("020,02,3.0");
        QTest::newRow("number, refused") << true << "BARCODE Height" << -1 << "abc" << "10" << QByteArray("010,02,3.0");
    }

    void editsTakeTextAsTyped()
    {
        QFETCH(bool, initialValues);
        QFETCH(QString, item);
        QFETCH(int, at);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QByteArray, saved);
        Program program("JPN");
        QWidget* control = initialValues ? program.valuesPage()->control(item.toLatin1().constData())
                                         : systemItem(program, item.toLatin1().constData());
        auto* edit = qobject_cast<QLineEdit*>(control) ? qobject_cast<QLineEdit*>(control) : control->findChild<QLineEdit*>();
        QAccessibleEditableTextInterface* editable = accessible(edit)->editableTextInterface();
        QVERIFY(editable);
        if (at < 0)
            editable->replaceText(0, accessible(edit)->textInterface()->characterCount(), text);
        else
            editable->insertText(at, text);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(accessible(edit)->text(QAccessible::Value), shown);

        const QString path = program.harness.folder() + QStringLiteral("/saved.txt");
        if (initialValues)
            QVERIFY(program.valuesPage()->group().SaveFile(path));
        else
            QVERIFY(program.systemPage()->SaveFile(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(initialValues ? bytes.contains(saved) : bytes.startsWith(saved), bytes.left(80).constData());
    }

    // Whatever is set through the editable-text interface of any edit the property layer builds,
    // the field shows what its page keeps: committed and loaded back, it shows the same.
    void everyBoundEditShowsWhatItKeeps()
    {
        Program program("ENG");
        program.harness.answer = QMessageBox::Yes;  // to the restore questions
        const QString texts[] = {QStringLiteral("abc"),  QStringLiteral("7"),   QStringLiteral("-3"),
                                 QStringLiteral("100.0"), QStringLiteral("ＡＢ1"), QString(),
                                 QStringLiteral("123456789012345678901234567890")};
        CSystemSettingView* system = program.systemPage();
        CParamSettingView* values = program.valuesPage();
        for (PropertyBinding* binding : {&system->binding(), &values->binding()}) {
            // A value its page refuses to keep (the page names the problem) is not kept.
            const auto refused = [&](const Property& property) {
                if (binding == &system->binding())
                    return binding->commit() == &property;
                const std::optional<PageProblem> problem = values->CheckPage(false);
                return problem && problem->field == property.widget();
            };
            const auto restore = [&] {
                if (binding == &system->binding())
                    system->OnRestoreDefaults();
                else
                    values->OnRestoreDefaults();
            };
            for (const auto& property : binding->properties()) {
                QWidget* widget = property->widget();
                auto* edit = qobject_cast<QLineEdit*>(widget) ? qobject_cast<QLineEdit*>(widget) : widget->findChild<QLineEdit*>();
                if (!edit || !widget->isEnabled())
                    continue;
                for (const QString& text : texts) {
                    const QByteArray what = (property->itemName() + QStringLiteral(": ") + text).toUtf8();
                    QAccessibleInterface* face = accessible(edit);
                    face->editableTextInterface()->replaceText(0, face->textInterface()->characterCount(), text);
                    const QString shown = edit->text();
                    if (!refused(*property)) {
                        binding->commit();
                        binding->load();
                        QVERIFY2(edit->text() == shown,
                                 (what + " shown " + shown.toUtf8() + ", kept " + edit->text().toUtf8()).constData());
                    }
                    restore();
                }
            }
        }
    }

    // A list's current entry is its value and its text, also after the program chose it, and the
    // popup list (once a reader has reached it) has that entry selected; a value set through the interface chooses the entry as
    // the mouse does (the page counts it as a change).
    void listsGiveTheirEntryAsValueAndText()
    {
        Program program("JPN");
        CSystemSettingView* page = program.systemPage();
        auto* ribbon = static_cast<QComboBox*>(systemItem(program, "RIBBON"));
        QAccessibleInterface* face = accessible(ribbon);
        QVERIFY(face->valueInterface() && face->textInterface());
        // A reader reaches the entries through the popup list, the list's first child.
        QCOMPARE(face->child(0)->object(), ribbon->view());
        const auto expectInStep = [&] {
            const QString entry = ribbon->currentText();
            QCOMPARE(face->valueInterface()->currentValue().toString(), entry);
            QCOMPARE(face->textInterface()->text(0, face->textInterface()->characterCount()), entry);
            QCOMPARE(face->text(QAccessible::Value), entry);
            const QModelIndexList selected = ribbon->view()->selectionModel()->selectedIndexes();
            QCOMPARE(selected.size(), 1);
            QCOMPARE(selected.first().row(), ribbon->currentIndex());
            QCOMPARE(ribbon->view()->currentIndex().row(), ribbon->currentIndex());
        };
        expectInStep();
        ribbon->setCurrentIndex(1);  // as a file or the printer sets it
        expectInStep();
        QVERIFY(!page->isModified());
        program.harness.answer = QMessageBox::Yes;
        page->OnRestoreDefaults();
        expectInStep();

        const QString other = ribbon->itemText(1);
        face->valueInterface()->setCurrentValue(other);
        QCOMPARE(ribbon->currentText(), other);
        QVERIFY(page->isModified());
        expectInStep();
        face->valueInterface()->setCurrentValue(QStringLiteral("no such entry"));
        QCOMPARE(ribbon->currentText(), other);
    }

    // The tabs of the initial-values group say which is selected; pressing one while the page's
    // check fails returns at once, the message comes after, and the focus is on the field it
    // names.
    void tabsSayWhichIsSelectedAndTheirActionsReturnAtOnce()
    {
        Program program("JPN");
        CMainFrame& frame = *program.frame;
        QVERIFY(activate(frame));
        QVERIFY(frame.SwitchPage(kFirstCommand + 2));
        CParamSettingView* values = program.valuesPage();
        QAccessibleInterface* row = accessible(values->tabBar());
        QCOMPARE(row->role(), QAccessible::PageTabList);
        QCOMPARE(row->childCount(), 4);
        for (int tab = 0; tab < 4; ++tab) {
            QAccessibleInterface* child = row->child(tab);
            QCOMPARE(child->role(), QAccessible::PageTab);
            QCOMPARE(child->text(QAccessible::Name), values->tabBar()->tabText(tab));
            QVERIFY(child->state().selectable);
            QCOMPARE(child->state().selected, tab == 0);
            QCOMPARE(row->indexOfChild(child), tab);
        }

        // A good page moves on at once, as a click does.
        row->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(frame.shownPageIndex(), int(kFontTablesPage));
        QVERIFY(accessible(program.fontPage()->tabBar())->child(1)->state().selected);
        QVERIFY(frame.SwitchPage(kFirstCommand + 2) || true);
        accessible(program.fontPage()->tabBar())->child(0)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QCOMPARE(frame.shownPageIndex(), int(kInitialValuesPage));

        // A failing check: the module size above its limit.
        QWidget* height = values->control("Module Size");
        auto* heightEdit = height->findChild<QLineEdit*>();
        accessible(heightEdit)->editableTextInterface()->replaceText(0, heightEdit->text().size(), QStringLiteral("99"));
        values->tabBar()->setFocus(Qt::TabFocusReason);
        row->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(program.harness.messages.empty());
        QCOMPARE(frame.shownPageIndex(), int(kInitialValuesPage));
        QTRY_COMPARE(program.harness.messages.size(), size_t(1));
        QCOMPARE(frame.shownPageIndex(), int(kInitialValuesPage));
        QVERIFY(row->child(0)->state().selected);
        QVERIFY(!row->child(2)->state().selected);
        QVERIFY(height->hasFocus());
    }

    // What a reader could not reach or tell apart: the document's file name is the text of a
    // field named after its caption; each drive of the drive mapping has a name of its own; the
    // wait time is a spin box.
    void fileNamesDrivesAndWaitTimeAreReadable()
    {
        for (const char* language : {"JPN", "ENG"}) {
            Program program(language);
            const QString path = program.harness.folder() + QStringLiteral("/system.txt");
            QVERIFY(program.systemPage()->SaveFile(path));
            QLineEdit* field = program.systemPage()->fileNameField();
            QCOMPARE(nameOf(field), QByteArray(language) == "JPN" ? QStringLiteral("ファイル名") : QStringLiteral("File name"));
            QCOMPARE(accessible(field)->text(QAccessible::Value), path);
            QVERIFY(accessible(field)->state().readOnly);
            QCOMPARE(nameOf(program.valuesPage()->fileNameField()), nameOf(field));

            QSet<QString> names;
            for (int row = 0; row < 4; ++row)
                names.insert(nameOf(program.drivePage()->vormexDrive(row)));
            QCOMPARE(names.size(), 4);

            const auto sheet = program.options();
            QCOMPARE(accessible(sheet->downloaderPage()->waitTimeEdit())->role(), QAccessible::SpinBox);
        }
    }

private:
    int flashTime_ = 0;

    // The control as shown (over its parent's background) with the focus on `elsewhere` and then
    // on it, after a Tab key, as a keyboard user sees it.
    static void expectFocusShows(QWidget* control, QWidget* elsewhere, bool onBorder, const QByteArray& what)
    {
        const auto shown = [control] { return control->parentWidget()->grab(control->geometry()).toImage(); };
        elsewhere->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        const QImage before = shown();
        control->setFocus(Qt::TabFocusReason);
        control->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        QApplication::processEvents();
        QVERIFY2(control->hasFocus(), what.constData());
        QVERIFY2(focusShows(before, shown(), onBorder), what.constData());
    }

    // Clearly changed pixels (a colour step of at least 96 over the three channels): at least a
    // tenth of the border ring's (a dotted frame changes every other pixel of its line), or 24
    // anywhere.
    static bool focusShows(const QImage& before, const QImage& after, bool onBorder)
    {
        if (before.size() != after.size())
            return true;
        const int ring = 2 * int(before.devicePixelRatio() + 0.5);
        int changed = 0;
        int counted = 0;
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                const bool border = x < ring || y < ring || x >= before.width() - ring || y >= before.height() - ring;
                if (onBorder && !border)
                    continue;
                ++counted;
                const QColor a = before.pixelColor(x, y);
                const QColor b = after.pixelColor(x, y);
                if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) >= 96)
                    ++changed;
            }
        }
        return onBorder ? changed * 10 >= counted : changed >= 24;
    }
};

VORMEX_GUI_TEST(AccessibilityTest);

}  // namespace vormex::gui::test

#include "AccessibilityTest.moc"
