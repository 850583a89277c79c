#include "definitions/Lookups.h"
#include "gui/dialogs/FileDownloadProc.h"
#include "gui/pages/DriveMappingView.h"
#include "gui/pages/FontConvertView.h"
#include "gui/pages/ParamSettingView.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/pages/RespCmdView.h"
#include "gui/widgets/MaskedEdit.h"
#include "gui/widgets/SpinEdit.h"
#include "GuiHarness.h"
#include "GuiTests.h"
#include "initialtable/InitialTableDocument.h"
#include "SimulatorProcess.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace vormex::gui::test {
namespace {

constexpr int kPrinterDestination = 32818;
constexpr int kInitialValuesDestination = 32820;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

// A document that differs from the shipped defaults on every tab.
InitialTableDocument sampleDocument(const Application& app)
{
    const PrinterDefinition& printer = *app.selectedPrinter();
    InitialTableDocument document = DefaultInitialTableDocument(printer);
    InitialValueSet& v = document.values;
    v.number(InitialValue::BarcodeHeight) = 123;
    v.ratio.setText(QStringLiteral("2.5"));
    v.selected(InitialValue::Rotation) = 2;
    v.number(InitialValue::IncDec) = -123456;
    v.number(InitialValue::ZeroSuppress) = 0;
    v.number(InitialValue::LineMargin) = -12;
    v.number(InitialValue::LabelShift) = -120;
    v.selected(InitialValue::Getcmdzb) = 1;
    document.drives.selection = {2, 0, 1, 0};
    document.responses.answers[1] = QStringLiteral("4096,4000,4000");
    FontTableRow row = NewFontRow(printer);
    row.ZPLFontName = QStringLiteral("MY FONT");
    row.KIRNFontType = QStringLiteral("Outline Font");
    row.KIRNFontCode = QStringLiteral("OA");
    row.TrueTypeCAPHeight = 700;
    RegisterFontRow(document.fonts, printer, row, -1, app.strings);
    return document;
}

QByteArray sampleText(const Application& app)
{
    return ComposeInitialTableText(sampleDocument(app), *app.selectedPrinter()).toLatin1();
}

struct Pages {
    CParamSettingView* values;
    CFontConvertView* fonts;
    CDriveMappingView* drives;
    CRespCmdView* responses;
    std::array<InitialTablePage*, 4> all() const { return {values, fonts, drives, responses}; }
    InitialTableGroup& group() const { return values->group(); }
};

Pages pagesOf(CMainFrame& frame)
{
    return {static_cast<CParamSettingView*>(frame.page(kInitialValuesPage)),
            static_cast<CFontConvertView*>(frame.page(kFontTablesPage)),
            static_cast<CDriveMappingView*>(frame.page(kDriveMappingPage)),
            static_cast<CRespCmdView*>(frame.page(kResponseCommandsPage))};
}

// Replaces a field's text as the user does: select everything, type.
void retype(QWidget* field, const QString& keys)
{
    QLineEdit* edit = qobject_cast<QLineEdit*>(field);
    if (!edit)
        edit = field->findChild<QLineEdit*>();
    edit->setFocus();
    edit->selectAll();
    if (keys.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, keys);
}

// Picks a list entry as the user does.
void choose(QWidget* list, int index)
{
    auto* box = static_cast<QComboBox*>(list);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QString shownText(QWidget* field)
{
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field))
        return spin->text();
    if (auto* list = qobject_cast<QComboBox*>(field))
        return list->currentText();
    return static_cast<QLineEdit*>(field)->text();
}

// What the pages show of the sample document (or of the defaults).
void expectSampleShown(const Pages& pages, bool sample)
{
    QCOMPARE(shownText(pages.values->control("BARCODE Height")), sample ? QStringLiteral("123") : QStringLiteral("10"));
    QCOMPARE(shownText(pages.values->control("Ratio")), sample ? QStringLiteral("2.5") : QStringLiteral("3.0"));
    QCOMPARE(shownText(pages.values->control("Rotation")), sample ? QStringLiteral("180度回転") : QStringLiteral("通常"));
    QCOMPARE(shownText(pages.values->control("INC/DEC")), sample ? QStringLiteral("-123456") : QStringLiteral("1"));
    QCOMPARE(static_cast<QCheckBox*>(pages.values->control("ZeroSuppress"))->isChecked(), sample);
    QCOMPARE(shownText(pages.values->control("Label Shift")), sample ? QStringLiteral("-120") : QStringLiteral("0"));
    QCOMPARE(pages.fonts->list()->topLevelItemCount(), sample ? 37 : 36);
    QCOMPARE(pages.drives->kirnDrive(0)->currentText(), sample ? QStringLiteral("FROM") : QStringLiteral("DRAM"));
    QCOMPARE(pages.responses->answerEdit(1)->text(), sample ? QStringLiteral("4096,4000,4000") : QStringLiteral("8192,8000,8000"));
}

QString lastMessage(const Harness& harness) { return harness.messages.empty() ? QString() : harness.messages.back().text; }

void showActive(CMainFrame& frame)
{
    frame.show();
    QApplication::setActiveWindow(&frame);
    QVERIFY(QTest::qWaitForWindowActive(&frame));
}

}  // namespace

class InitialTablePagesTest : public QObject {
    Q_OBJECT
private slots:
    void pagesComeFromTheDefinitions()
    {
        Harness harness;
        harness.useShippedDefinitions();
        const Pages pages = pagesOf(harness.frame());
        for (int i = 0; i < kInitialValueCount; ++i) {
            const QString item = InitialValueItemName(InitialValue(i));
            QWidget* control = pages.values->binding().widget(item);
            QVERIFY2(control && control->objectName() == item, qPrintable(item));
            QCOMPARE(control->isEnabled(), item != QLatin1String("Label Shift"));
        }
        expectSampleShown(pages, false);
        QCOMPARE(static_cast<SpinEdit*>(pages.values->control("Line Margin"))->stepMinimum(), -99);
        QCOMPARE(static_cast<SpinEdit*>(pages.values->control("Line Width"))->stepMaximum(), 999);
        QCOMPARE(pages.fonts->list()->columnCount(), CFontConvertView::kColumnCount);
        QCOMPARE(pages.fonts->list()->headerItem()->text(16), QStringLiteral("Drive"));
        QCOMPARE(pages.fonts->list()->topLevelItem(10)->text(1), QStringLiteral("BITMAP FONT A"));
        QCOMPARE(pages.fonts->list()->topLevelItem(10)->textAlignment(16) & Qt::AlignHorizontal_Mask, int(Qt::AlignHCenter));
        QCOMPARE(pages.drives->vormexDrive(3)->text(), QStringLiteral("A:"));
        QCOMPARE(pages.responses->answerEdit(0)->maxLength(), 40);
        for (InitialTablePage* page : pages.all()) {
            QCOMPARE(page->tabBar()->count(), 4);
            QCOMPARE(page->tabBar()->currentIndex(), int(page->tab()));
            QCOMPARE(page->tabBar()->tabText(3), QStringLiteral("応答コマンド"));
        }
        QCOMPARE(pages.group().changeMarks(), 0);

        // Each tab marks its own change.
        retype(pages.values->control("Char Gap"), QStringLiteral("5"));
        choose(pages.drives->kirnDrive(1), 2);
        QTest::keyClicks(pages.responses->answerEdit(14), QStringLiteral("X"));
        QCOMPARE(pages.group().changeMarks(), 1 | 4 | 8);
    }

    // A text file and an XML file go through the four pages and come back byte for byte (the
    // XML file's date aside, the time of writing).
    void filesRoundTrip()
    {
        Harness harness;
        harness.useShippedDefinitions();
        const Pages pages = pagesOf(harness.frame());
        InitialTableGroup& group = pages.group();
        const QString source = writeFile(harness.folder() + QStringLiteral("/sample.txt"), sampleText(harness.state()));

        QVERIFY(group.ReadFile(source));
        expectSampleShown(pages, true);
        for (InitialTablePage* page : pages.all())
            QCOMPARE(page->fileNameField()->text(), source);
        const QString copy = harness.folder() + QStringLiteral("/copy.txt");
        QVERIFY(group.SaveFile(copy));
        QCOMPARE(readFile(copy), readFile(source));

        const QString xml = harness.folder() + QStringLiteral("/sample.XML");
        QVERIFY(group.SaveFile(xml));
        group.ResetForPrinter(kFixedPrinter);
        expectSampleShown(pages, false);
        QVERIFY(group.ReadFile(xml));
        expectSampleShown(pages, true);
        QCOMPARE(group.filePath(), xml);
        const QString xmlCopy = harness.folder() + QStringLiteral("/copy.xml");
        QVERIFY(group.SaveFile(xmlCopy));
        const QRegularExpression date(QStringLiteral("<date>[^<]*</date>"));
        QCOMPARE(QString::fromUtf8(readFile(xmlCopy)).replace(date, QString()),
                 QString::fromUtf8(readFile(xml)).replace(date, QString()));
        QVERIFY(group.SaveFile(copy));
        QCOMPARE(readFile(copy), readFile(source));
        QVERIFY(harness.messages.empty());
    }

    void filesWithoutASection_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("cut");  // the text from here on is left out
        QTest::addColumn<QString>("message");
        QTest::newRow("no responses: their defaults") << QStringLiteral("short.txt") << QByteArray("HI String") << QString();
        QTest::newRow("no drive mapping") << QStringLiteral("nodrives.txt") << QByteArray("DRIVE Mapping")
                                          << QStringLiteral("初期値＆テーブルファイルではありません");
        QTest::newRow("xml without font rows") << QStringLiteral("nofonts.xml") << QByteArray("<FontConvertTable>")
                                               << QStringLiteral("初期値＆テーブルファイルではありません");
    }

    void filesWithoutASection()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, cut);
        QFETCH(QString, message);
        Harness harness;
        harness.useShippedDefinitions();
        const Pages pages = pagesOf(harness.frame());
        InitialTableGroup& group = pages.group();
        QByteArray bytes = sampleText(harness.state());
        if (name.endsWith(QLatin1String(".xml"))) {
            QVERIFY(group.ReadFile(writeFile(harness.folder() + QStringLiteral("/full.txt"), bytes)));
            QVERIFY(group.SaveFile(harness.folder() + QStringLiteral("/full.xml")));
            bytes = readFile(harness.folder() + QStringLiteral("/full.xml"));
            bytes = bytes.left(bytes.indexOf(cut)) + "</VORMEX_InitialValueAndTable>\n";
        } else {
            bytes = bytes.left(bytes.indexOf(cut));
        }
        const QString before = group.filePath();
        QTest::keyClicks(pages.responses->answerEdit(0), QStringLiteral("-EDITED"));
        const QString path = writeFile(harness.folder() + QLatin1Char('/') + name, bytes);

        QCOMPARE(group.ReadFile(path), message.isEmpty());
        QCOMPARE(lastMessage(harness), message);
        if (message.isEmpty()) {
            // The values before the missing section are read; the answers are the definitions'.
            QCOMPARE(shownText(pages.values->control("BARCODE Height")), QStringLiteral("123"));
            QCOMPARE(pages.responses->answerEdit(0)->text(), QStringLiteral("VORMEX-Q,V1.00,8,8192"));
            QCOMPARE(pages.responses->answerEdit(1)->text(), QStringLiteral("8192,8000,8000"));
            QCOMPARE(group.filePath(), path);
        } else {
            QVERIFY(pages.responses->answerEdit(0)->text().endsWith(QLatin1String("-EDITED")));
            QCOMPARE(group.filePath(), before);
            QVERIFY(group.changeMarks() != 0);
        }
    }

    // Each check names its problem and puts the focus on the field; nothing is saved.
    void validationMessages_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const int warning = QMessageBox::Warning;
        QTest::newRow("number below its item") << 0 << QStringLiteral("BARCODE Height") << QStringLiteral("0")
                                               << QStringLiteral("1 から 999 までの整数を入力してください。") << warning;
        QTest::newRow("own limits of line margin") << 0 << QStringLiteral("Line Margin") << QStringLiteral("100")
                                                   << QStringLiteral("-99 から 99 までの整数を入力してください。") << warning;
        QTest::newRow("ratio") << 0 << QStringLiteral("Ratio") << QStringLiteral("1.9")
                               << QStringLiteral("\"細バー太バーの比\" は 2.0 から 3.0 の範囲で設定して下さい。")
                               << int(QMessageBox::Critical);
        QTest::newRow("inc/dec beyond ten digits")
            << 0 << QStringLiteral("INC/DEC") << QStringLiteral("99999999999")
            << QStringLiteral("\"INC/DEC\" は -9999999999 から 9999999999 の範囲で設定して下さい。") << int(QMessageBox::Critical);
        QTest::newRow("inc/dec a lone sign") << 0 << QStringLiteral("INC/DEC") << QStringLiteral("-")
                                             << QStringLiteral("整数を入力してください。") << warning;
        QTest::newRow("response parameters") << 3 << QStringLiteral("HM String") << QStringLiteral("8192,8000")
                                             << QStringLiteral("HM String\r\nパラメータの数が間違っています")
                                             << int(QMessageBox::NoIcon);
        QTest::newRow("response digits") << 3 << QStringLiteral("HQPH String") << QStringLiteral("X")
                                         << QStringLiteral("HQPH String\r\n第1パラメータは数字のみ入力可能です")
                                         << int(QMessageBox::NoIcon);
    }

    void validationMessages()
    {
        QFETCH(int, tab);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(int, icon);
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        showActive(frame);
        const Pages pages = pagesOf(frame);
        QWidget* control = tab == 0 ? pages.values->control(field.toLatin1().constData())
                                    : pages.responses->findChild<QLineEdit*>(field);
        QVERIFY(control);
        frame.SetInitialValuesTab(tab);
        QVERIFY(frame.SwitchPage(kInitialValuesDestination));
        if (auto* masked = qobject_cast<MaskedEdit*>(control)) {
            masked->setFocus();
            masked->selectAll();
            QTest::keyClicks(masked, typed);
        } else {
            retype(control, typed);
        }
        // Saving stops at the check, on the download tab as well; the problem's tab comes forward.
        frame.BringInitialValuesTabForward(1);
        pages.fonts->button(CFontConvertView::kSave)->click();
        QCOMPARE(lastMessage(harness), message);
        QCOMPARE(int(harness.messages.back().icon), icon);
        QCOMPARE(frame.shownPageIndex(), kInitialValuesPage + tab);
        QVERIFY(control->hasFocus());
        QVERIFY(harness.fileRequests.empty());

        // The page's tab row does not move on, and the group is not left; the message comes
        // after the tab's choice has returned, the focus stays on the field.
        pages.all()[size_t(tab)]->tabBar()->setCurrentIndex(2);
        QCOMPARE(harness.messages.size(), size_t(1));
        QTRY_COMPARE(harness.messages.size(), size_t(2));
        QCOMPARE(lastMessage(harness), message);
        QVERIFY(control->hasFocus());
        QCOMPARE(frame.shownPageIndex(), kInitialValuesPage + tab);
        QCOMPARE(pages.all()[size_t(tab)]->tabBar()->currentIndex(), tab);
        QVERIFY(!frame.SwitchPage(kPrinterDestination));
        QCOMPARE(frame.shownPageIndex(), kInitialValuesPage + tab);
        QCOMPARE(frame.initialValuesTab(), tab);
    }

    // The font list takes the height the window gives: at least 14 rows at the default size of
    // either language, and more rows in a taller window.
    void fontListTakesTheWindowsHeight()
    {
        for (const char* language : {"JPN", "ENG"}) {
            Harness harness({{QString::fromLatin1(settings::kLanguage), QString::fromLatin1(language)}});
            harness.useShippedDefinitions();
            CMainFrame& frame = harness.frame();
            frame.ShowWindow();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.SetInitialValuesTab(1);
            QVERIFY(frame.SwitchPage(kInitialValuesDestination));
            auto* list = pagesOf(frame).fonts->findChild<QTreeWidget*>(QStringLiteral("FontTableList"));
            QVERIFY(list);
            QApplication::processEvents();
            const auto visibleRows = [list] { return list->viewport()->height() / list->sizeHintForRow(0); };
            QVERIFY2(visibleRows() >= 14, qPrintable(QStringLiteral("%1: %2 rows").arg(QLatin1String(language)).arg(visibleRows())));
            const int rows = visibleRows();
            frame.resize(frame.width(), frame.height() + 10 * list->sizeHintForRow(0));
            QTRY_VERIFY(visibleRows() >= rows + 9);
            frame.close();
        }
    }

    void tabsMoveBetweenThePages()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        const Pages pages = pagesOf(frame);
        QVERIFY(frame.SwitchPage(kInitialValuesDestination));
        pages.values->tabBar()->setCurrentIndex(1);
        QCOMPARE(frame.shownPageIndex(), int(kFontTablesPage));
        QCOMPARE(pages.values->tabBar()->currentIndex(), 0);
        pages.fonts->tabBar()->setCurrentIndex(3);
        QCOMPARE(frame.shownPageIndex(), int(kResponseCommandsPage));
        // The group comes back on the tab it was left on; leaving it unchanged asks nothing.
        QVERIFY(frame.SwitchPage(kPrinterDestination));
        QVERIFY(frame.SwitchPage(kInitialValuesDestination));
        QCOMPARE(frame.shownPageIndex(), int(kResponseCommandsPage));
        QVERIFY(harness.messages.empty());
    }

    void fontTableEditing()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        showActive(frame);
        frame.BringInitialValuesTabForward(1);
        CFontConvertView* page = pagesOf(frame).fonts;
        InitialTableGroup& group = page->group();
        QTreeWidget* list = page->list();
        const auto enabled = [page](std::initializer_list<CFontConvertView::Button> ids) {
            QStringList states;
            for (const CFontConvertView::Button id : ids)
                states << QString::number(page->tableButton(id)->isEnabled());
            return states.join(QLatin1Char(','));
        };
        using B = CFontConvertView;
        const auto buttons = {B::kAdd, B::kModify, B::kDelete, B::kRegister, B::kCancel};

        QCOMPARE(enabled(buttons), QStringLiteral("1,0,0,0,0"));
        QVERIFY(!page->control("ZPLFontName")->isEnabled());
        list->setCurrentItem(list->topLevelItem(35));  // the last convert row
        QCOMPARE(enabled(buttons), QStringLiteral("1,1,0,0,0"));

        // Add: a change row from the defaults, a bitmap font.
        page->OnAdd();
        QVERIFY(page->isEditing());
        QCOMPARE(enabled(buttons), QStringLiteral("0,0,0,1,1"));
        QVERIFY(!list->isEnabled());
        QVERIFY(page->bitmapFieldsShown());
        QCOMPARE(page->kirnCodeBox()->currentText(), QStringLiteral("XM"));
        QCOMPARE(page->kirnCodeBox()->count(), 5);
        retype(page->control("ZPLFontName"), QStringLiteral("MY FONT"));
        retype(page->control("BMP Adjust Width"), QStringLiteral("9"));
        // Choosing an outline type puts the bitmap fields back and shows the outline ones.
        auto* type = static_cast<QComboBox*>(page->control("KIRNFontType"));
        choose(type, type->findText(QStringLiteral("Outline Font")));
        QVERIFY(!page->bitmapFieldsShown());
        QCOMPARE(shownText(page->control("BMP Adjust Width")), QStringLiteral("5"));
        QCOMPARE(page->kirnCodeBox()->currentText(), QStringLiteral("OA"));
        retype(page->control("TrueType CAP Height"), QStringLiteral("800"));
        QCOMPARE(shownText(page->control("TrueType Descender")), QStringLiteral("200"));
        retype(page->control("TrueType CAP Height"), QStringLiteral("1200"));
        QCOMPARE(shownText(page->control("TrueType Descender")), QStringLiteral("0"));
        // A number outside its item's limits is named and not registered.
        QVERIFY(!page->OnRegister());
        QCOMPARE(lastMessage(harness), QStringLiteral("0 から 1000 までの整数を入力してください。"));
        QVERIFY(page->control("TrueType CAP Height")->hasFocus());
        retype(page->control("TrueType CAP Height"), QStringLiteral("700"));
        // A code of the user's own.
        page->kirnCodeBox()->setEditText(QString());
        QVERIFY(!page->tableButton(B::kRegister)->isEnabled());
        page->kirnCodeBox()->setEditText(QStringLiteral("Q1"));
        QVERIFY(page->OnRegister());

        QCOMPARE(list->topLevelItemCount(), 37);
        const FontTableRow& added = group.document().fonts.rows[36];
        QCOMPARE(added.ZPLFontName, QStringLiteral("MY FONT"));
        QCOMPARE(added.ZPLFontCode, QStringLiteral(" "));
        QCOMPARE(added.KIRNFontCode, QStringLiteral("Q1"));
        QCOMPARE(added.TrueTypeDescender, 300);
        QCOMPARE(added.BMPAdjustWidth, 5);
        QCOMPARE(list->topLevelItem(36)->text(11), QStringLiteral("300"));
        QCOMPARE(group.changeMarks(), 2);

        // Modify keeps the row's place; the new code is offered for its type from now on.
        list->setCurrentItem(list->topLevelItem(36));
        QCOMPARE(enabled(buttons), QStringLiteral("1,1,1,0,0"));
        page->OnModify();
        QCOMPARE(page->editTarget(), 36);
        QCOMPARE(page->kirnCodeBox()->currentText(), QStringLiteral("Q1"));
        QVERIFY(page->kirnCodeBox()->findText(QStringLiteral("Q1")) >= 0);
        retype(page->control("ZPLFontName"), QStringLiteral("RENAMED"));
        QVERIFY(page->OnRegister());
        QCOMPARE(list->topLevelItem(36)->text(1), QStringLiteral("RENAMED"));
        QCOMPARE(list->topLevelItemCount(), 37);

        // Up to T rows; then Add is off. Delete takes change rows only.
        const PrinterDefinition& printer = *harness.state().selectedPrinter();
        while (group.document().fonts.canAddRow())
            QVERIFY(!RegisterFontRow(group.document().fonts, printer, NewFontRow(printer), -1, harness.state().strings));
        page->ShowDocument();
        QCOMPARE(list->topLevelItemCount(), 66);
        list->setCurrentItem(list->topLevelItem(65));
        QCOMPARE(enabled(buttons), QStringLiteral("0,1,1,0,0"));
        page->OnDelete();
        QCOMPARE(list->topLevelItemCount(), 65);
        QCOMPARE(enabled(buttons), QStringLiteral("1,0,0,0,0"));
        list->setCurrentItem(list->topLevelItem(0));
        page->OnDelete();
        QCOMPARE(list->topLevelItemCount(), 65);

        // Cancel drops what was typed.
        page->OnModify();
        retype(page->control("ZPLFontName"), QStringLiteral("DROPPED"));
        page->OnCancel();
        QVERIFY(!page->isEditing());
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("SCALABLE FONT 0"));
    }

    // Without a mouse: the arrows move through the list, Enter modifies the row, Escape leaves the
    // fields, Space presses the buttons, Delete deletes a row of the user's own; after each edit
    // the keyboard is back in the list.
    void fontTableFromTheKeyboard()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        showActive(frame);
        frame.BringInitialValuesTabForward(1);
        CFontConvertView* page = pagesOf(frame).fonts;
        QTreeWidget* list = page->list();
        using B = CFontConvertView;
        const auto row = [list] { return list->indexOfTopLevelItem(list->currentItem()); };
        const auto press = [page](B::Button id) {
            page->tableButton(id)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(page->tableButton(id), Qt::Key_Space);
        };

        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(row(), 35);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(page->isEditing());
        QCOMPARE(page->editTarget(), 35);
        QVERIFY(page->control("ZPLFontName")->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("X"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!page->isEditing());
        QVERIFY(list->hasFocus());
        QCOMPARE(row(), 35);
        QCOMPARE(page->group().changeMarks(), 0);

        press(B::kAdd);
        QVERIFY(page->control("ZPLFontName")->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("KEYS"));
        press(B::kRegister);
        QCOMPARE(list->topLevelItemCount(), 37);
        QCOMPARE(list->topLevelItem(36)->text(1), QStringLiteral("KEYS"));
        QVERIFY(list->hasFocus());
        QCOMPARE(row(), 36);

        // The row the keyboard is on is chosen with Space, then deleted with Delete.
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(page->tableButton(B::kDelete)->isEnabled());
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->topLevelItemCount(), 36);
        QVERIFY(list->hasFocus());
        QCOMPARE(row(), 35);
    }

    void columnWidthsAreKept()
    {
        Harness harness({{QString::fromLatin1(settings::kListColumnWidth), QStringLiteral("50,60,,0")}});
        harness.useShippedDefinitions();
        QHeaderView* header = pagesOf(harness.frame()).fonts->list()->header();
        QCOMPARE(header->sectionSize(0), 50);
        QCOMPARE(header->sectionSize(1), 60);
        QCOMPARE(header->sectionSize(2), 100);
        QCOMPARE(header->sectionSize(3), 100);
        QCOMPARE(header->sectionSize(16), 100);
        header->resizeSection(16, 140);
        harness.dropFrame();
        QCOMPARE(harness.storedString(settings::kListColumnWidth),
                 QStringLiteral("50,60,100,100,100,100,100,100,100,100,100,100,100,100,100,100,140"));

        harness.store().writeString(QString::fromLatin1(settings::kListColumnWidth), QString());
        header = pagesOf(harness.frame()).fonts->list()->header();
        const int defaults[] = {75, 75, 75, 75, 75, 100, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 120};
        for (int column = 0; column < CFontConvertView::kColumnCount; ++column)
            QCOMPARE(header->sectionSize(column), defaults[column]);
    }

    void getFromPrinter_data()
    {
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("device");  // empty: the simulator's
        QTest::addColumn<QString>("message");
        QTest::newRow("file") << true << QString() << QStringLiteral("パラメータ取得完了");
        QTest::newRow("no file") << false << QString() << QStringLiteral("パラメータはプリンタに登録されていません");
        // A parallel port cannot answer: nothing is asked and nothing is said.
        QTest::newRow("lpt") << false << QStringLiteral("LPT1:") << QString();
    }

    void getFromPrinter()
    {
        QFETCH(bool, held);
        QFETCH(QString, device);
        QFETCH(QString, message);
        QTemporaryDir files;
        Harness harness;
        harness.useShippedDefinitions();
        const QString stored = writeFile(files.filePath(QStringLiteral("ZDEFAULT.TXT")), sampleText(harness.state()));
        SimulatorProcess sim(held ? QStringList{QStringLiteral("--file"), QStringLiteral("ZDEFAULT.TXT=") + stored} : QStringList{});
        harness.state().deviceInfo = device.isEmpty() ? sim.device() : device;
        const Pages pages = pagesOf(harness.frame());
        InitialTableGroup& group = pages.group();
        QVERIFY(group.ReadFile(writeFile(harness.folder() + QStringLiteral("/defaults.txt"),
                                         ComposeInitialTableText(DefaultInitialTableDocument(*harness.state().selectedPrinter()),
                                                                 *harness.state().selectedPrinter()).toLatin1())));

        pages.drives->button(CDriveMappingView::kGet)->click();
        QCOMPARE(lastMessage(harness), message);
        if (!message.isEmpty())
            QCOMPARE(harness.messages.back().icon, QMessageBox::NoIcon);
        expectSampleShown(pages, held);
        QCOMPARE(group.filePath().isEmpty(), held);
        QCOMPARE(group.changeMarks(), 0);
    }

    void saveQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("opened");
        QTest::newRow("yes saves instead of reading") << int(QMessageBox::Yes) << true << false;
        QTest::newRow("no reads and drops the changes") << int(QMessageBox::No) << false << true;
        QTest::newRow("cancel does nothing") << int(QMessageBox::Cancel) << false << false;
    }

    void saveQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, saved);
        QFETCH(bool, opened);
        Harness harness;
        harness.useShippedDefinitions();
        const Pages pages = pagesOf(harness.frame());
        const QString sample = writeFile(harness.folder() + QStringLiteral("/sample.txt"), sampleText(harness.state()));
        const QString target = harness.folder() + QStringLiteral("/saved.txt");
        retype(pages.values->control("Char Gap"), QStringLiteral("7"));
        harness.answer = QMessageBox::StandardButton(answer);
        harness.fileAnswers = {saved ? target : sample};

        pages.responses->button(CRespCmdView::kRead)->click();
        QCOMPARE(harness.messages.size(), size_t(1));
        QCOMPARE(harness.messages[0].text, QStringLiteral("初期値&テーブル設定値の変更を保存しますか？"));
        QCOMPARE(harness.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(harness.fileRequests.size(), size_t(answer == QMessageBox::Cancel ? 0 : 1));
        QCOMPARE(QFile::exists(target), saved);
        QCOMPARE(pages.group().filePath(), saved ? target : opened ? sample : QString());
        QCOMPARE(pages.group().changeMarks(), answer == QMessageBox::Cancel ? 1 : 0);
        QCOMPARE(shownText(pages.values->control("BARCODE Height")), opened ? QStringLiteral("123") : QStringLiteral("10"));
        if (saved) {
            QVERIFY(harness.fileRequests[0].save);
            QVERIFY(readFile(target).contains("FIELD Default\r\n0,007\r\n"));
            // The next read opens without asking.
            harness.fileAnswers = {sample};
            pages.values->button(CParamSettingView::kRead)->click();
            QCOMPARE(harness.messages.size(), size_t(1));
            QCOMPARE(pages.group().filePath(), sample);
        }
    }

    void leavingTheGroupAsks()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        const Pages pages = pagesOf(frame);
        QVERIFY(frame.SwitchPage(kInitialValuesDestination));
        choose(pages.drives->kirnDrive(2), 0);
        // Between the tabs no question; out of the group the question, and Cancel stays.
        pages.values->tabBar()->setCurrentIndex(2);
        QVERIFY(harness.messages.empty());
        harness.answer = QMessageBox::Cancel;
        QVERIFY(!frame.SwitchPage(kPrinterDestination));
        QCOMPARE(frame.shownPageIndex(), int(kDriveMappingPage));
        harness.answer = QMessageBox::No;
        QVERIFY(frame.SwitchPage(kPrinterDestination));
        QCOMPARE(harness.messages.size(), size_t(2));
        QCOMPARE(pages.drives->kirnDrive(2)->currentIndex(), 0);  // kept, not reloaded
    }

    void restoreButtonsRestoreTheirPage()
    {
        Harness harness;
        harness.useShippedDefinitions();
        const Pages pages = pagesOf(harness.frame());
        InitialTableGroup& group = pages.group();
        const QString sample = writeFile(harness.folder() + QStringLiteral("/sample.txt"), sampleText(harness.state()));
        QVERIFY(group.ReadFile(sample));
        harness.answer = QMessageBox::Yes;

        // The responses' restore keeps the file; the others clear it on every tab.
        pages.responses->OnRestoreDefaults();
        QCOMPARE(pages.responses->answerEdit(1)->text(), QStringLiteral("8192,8000,8000"));
        QCOMPARE(group.filePath(), sample);
        pages.values->OnRestoreDefaults();
        QCOMPARE(harness.messages[1].text, QStringLiteral("初期値設定を初期値に戻します\r\nよろしいですか？"));
        QCOMPARE(shownText(pages.values->control("BARCODE Height")), QStringLiteral("10"));
        QVERIFY(!pages.values->control("Label Shift")->isEnabled());
        for (InitialTablePage* page : pages.all())
            QVERIFY(page->fileNameField()->text().isEmpty());
        // The other tabs keep what was read.
        QCOMPARE(pages.fonts->list()->topLevelItemCount(), 37);
        QCOMPARE(pages.drives->kirnDrive(0)->currentText(), QStringLiteral("FROM"));
        pages.fonts->OnRestoreDefaults();
        pages.drives->OnRestoreDefaults();
        expectSampleShown(pages, false);
        QCOMPARE(harness.messages.size(), size_t(4));
    }

    void printerChangeResetsEveryPage()
    {
        Harness harness;
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        const Pages pages = pagesOf(frame);
        QVERIFY(pages.group().ReadFile(writeFile(harness.folder() + QStringLiteral("/sample.txt"), sampleText(harness.state()))));
        retype(pages.values->control("Char Gap"), QStringLiteral("7"));

        QComboBox* printers = frame.printerSettings()->printerList();
        printers->setCurrentIndex(printers->findText(QStringLiteral("Q-KB4")));
        QVERIFY(harness.messages.empty());
        expectSampleShown(pages, false);
        QCOMPARE(pages.group().changeMarks(), 0);
        for (InitialTablePage* page : pages.all())
            QVERIFY(page->fileNameField()->text().isEmpty());
        QCOMPARE(static_cast<SpinEdit*>(pages.values->control("Issue Count"))->stepMaximum(), 5000);
        QCOMPARE(static_cast<QComboBox*>(pages.fonts->control("Storage"))->count(), 5);
        QCOMPARE(pages.responses->answerEdit(0)->text(), QStringLiteral("VORMEX-QB,V2.00,12,16384"));
    }

    void downloadButtonOpensTheDialog()
    {
        Harness harness;
        harness.useShippedDefinitions();
        const Pages pages = pagesOf(harness.frame());
        ParameterDownloadSetup seen;
        QString title;
        QTimer::singleShot(0, pages.values, [&] {
            auto* dialog = qobject_cast<CFileDownloadProc*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = dialog->setup();
            title = dialog->windowTitle();
            dialog->reject();
        });
        pages.responses->button(CRespCmdView::kDownload)->click();
        QCOMPARE(title, QStringLiteral("初期値＆テーブル　ダウンロード"));
        QCOMPARE(seen.request.kind, int(FileDownloadRequest::InitialTable));
        QCOMPARE(seen.request.startBlock, 4);
        QCOMPARE(seen.startBlockMin, 0);
        QCOMPARE(seen.startBlockMax, 20);
        QCOMPARE(seen.request.blockCount, 1);
        QCOMPARE(seen.request.envelope.size(), 64 * 1024 + 7);
        QVERIFY(seen.request.envelope.contains("ZDEFAULT.TXT"));
    }

    // What a user does: the shipped defaults, a change on every tab, save, download, read back.
    void downloadedDocumentComesBack()
    {
        SimulatorProcess sim;
        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), sim.device()}});
        harness.useShippedDefinitions();
        CMainFrame& frame = harness.frame();
        const Pages pages = pagesOf(frame);
        InitialTableGroup& group = pages.group();
        retype(pages.values->control("Num Line"), QStringLiteral("12"));
        auto* unit = static_cast<QComboBox*>(pages.values->control("Unit"));
        choose(unit, 2);
        frame.BringInitialValuesTabForward(1);
        pages.fonts->list()->setCurrentItem(pages.fonts->list()->topLevelItem(10));
        pages.fonts->OnModify();
        retype(pages.fonts->control("Minimun Width"), QStringLiteral("8"));
        QVERIFY(pages.fonts->OnRegister());
        choose(pages.drives->kirnDrive(3), 1);
        retype(pages.responses->answerEdit(13), QStringLiteral("SERIAL42"));
        QCOMPARE(group.changeMarks(), 15);
        QVERIFY(group.SaveFile(harness.folder() + QStringLiteral("/mine.txt")));
        const QString sent = ComposeInitialTableText(group.document(), *harness.state().selectedPrinter());

        bool completed = false;
        QTimer::singleShot(0, pages.fonts, [&] {
            auto* dialog = qobject_cast<CFileDownloadProc*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            connect(dialog, &CFileDownloadProc::downloadEnded, dialog, [&completed, dialog](bool done) {
                completed = done;
                dialog->accept();
            });
            QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
        });
        pages.fonts->button(CFontConvertView::kDownload)->click();
        QVERIFY(completed);

        group.ResetForPrinter(kFixedPrinter);
        QCOMPARE(shownText(pages.values->control("Num Line")), QStringLiteral("1"));
        pages.values->button(CParamSettingView::kGet)->click();
        QCOMPARE(lastMessage(harness), QStringLiteral("パラメータ取得完了"));
        QCOMPARE(shownText(pages.values->control("Num Line")), QStringLiteral("12"));
        QCOMPARE(unit->currentIndex(), 2);
        QCOMPARE(pages.fonts->list()->topLevelItem(10)->text(3), QStringLiteral("8"));
        QCOMPARE(pages.drives->kirnDrive(3)->currentIndex(), 1);
        QCOMPARE(pages.responses->answerEdit(13)->text(), QStringLiteral("SERIAL42"));
        QCOMPARE(ComposeInitialTableText(group.document(), *harness.state().selectedPrinter()), sent);
    }
};

VORMEX_GUI_TEST(InitialTablePagesTest);

}  // namespace vormex::gui::test

#include "InitialTablePagesTest.moc"
