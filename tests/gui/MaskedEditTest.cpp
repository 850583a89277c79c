#include "gui/widgets/MaskedEdit.h"
#include "GuiTests.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>

namespace vormex::gui::test {
namespace {

// Keystrokes as text: every character is typed, except these keys.
const std::map<QChar, Qt::Key> kKeys = {
    {QChar(0x232B), Qt::Key_Backspace},  // ⌫
    {QChar(0x2326), Qt::Key_Delete},     // ⌦
    {QChar(0x2190), Qt::Key_Left},       // ←
    {QChar(0x2192), Qt::Key_Right},      // →
    {QChar(0x21E4), Qt::Key_Home},       // ⇤
    {QChar(0x21E5), Qt::Key_End},        // ⇥
};
constexpr QChar kFinish = QChar(0x2713);  // ✓ editing ends (the focus leaves)
constexpr QChar kPaste = QChar(0x2398);   // ⎘ Ctrl+V of the clipboard text set by the case

// A character beyond ASCII, as an input method delivers it: a key event with its text only.
void typeWide(MaskedEdit& edit, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&edit, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&edit, &release);
}

void press(MaskedEdit& edit, const QString& keys)
{
    for (QChar c : keys) {
        if (const auto key = kKeys.find(c); key != kKeys.end())
            QTest::keyClick(&edit, key->second);
        else if (c == kFinish)
            edit.finishEditing();
        else if (c == kPaste)
            QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        else if (c.unicode() < 0x80)
            QTest::keyClicks(&edit, QString(c));
        else
            typeWide(edit, c);
    }
}

}  // namespace

class MaskedEditTest : public QObject {
    Q_OBJECT
private slots:
    void typing_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("validChars");
        QTest::addColumn<QChar>("placeholder");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("cursor");  // -1: everything selected, as after Tab
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("masked");

        const QString length = QStringLiteral("999.9 mm"), lengthTemplate = QStringLiteral("___._ mm");
        const QString sign = QStringLiteral("+999.9 mm"), signTemplate = QStringLiteral("____._ mm");
        const QString signChars = QStringLiteral("+- 0123456789");
        const QString hex = QStringLiteral("----HH-"), hexTemplate = QStringLiteral("HEX(__)");
        const QString hexChars = QStringLiteral("0123456789ABCDEFabcdef");
        const QChar blank = QLatin1Char('_'), zero = QLatin1Char('0');
        const QString initial = QStringLiteral(" 60.0 mm");

        QTest::newRow("digits skip the point") << length << lengthTemplate << QString() << blank << initial << 0 << QString()
                                               << QStringLiteral("1234") << QStringLiteral("123.4 mm") << QStringLiteral("1234");
        QTest::newRow("typing at the point goes past it") << length << lengthTemplate << QString() << blank << initial << 3
                                                          << QString() << QStringLiteral("5") << QStringLiteral(" 60.5 mm")
                                                          << QStringLiteral(" 605");
        QTest::newRow("the point aligns what was typed") << length << lengthTemplate << QString() << blank << initial << -1
                                                         << QString() << QStringLiteral("60.5") << QStringLiteral(" 60.5 mm")
                                                         << QStringLiteral(" 605");
        QTest::newRow("leaving fills blanks and decimals") << length << lengthTemplate << QString() << blank << initial << -1
                                                           << QString() << QStringLiteral("6✓") << QStringLiteral("  6.0 mm")
                                                           << QStringLiteral("  60");
        QTest::newRow("full-width digits") << length << lengthTemplate << QString() << blank << initial << -1 << QString()
                                           << QStringLiteral("１２．５") << QStringLiteral(" 12.5 mm") << QStringLiteral(" 125");
        QTest::newRow("letters are refused") << length << lengthTemplate << QString() << blank << initial << 0 << QString()
                                             << QStringLiteral("a1") << QStringLiteral("160.0 mm") << QStringLiteral("1600");
        QTest::newRow("backspace empties the place before") << length << lengthTemplate << QString() << blank << initial
                                                            << 8 << QString() << QStringLiteral("⌫⌫") << QStringLiteral(" 6_._ mm")
                                                            << QStringLiteral(" 6__");
        QTest::newRow("delete empties the place after") << length << lengthTemplate << QString() << blank << initial << 1
                                                        << QString() << QStringLiteral("⌦") << QStringLiteral(" _0.0 mm")
                                                        << QStringLiteral(" _00");
        QTest::newRow("arrows skip fixed characters") << length << lengthTemplate << QString() << blank << initial << 0
                                                      << QString() << QStringLiteral("→→→9←←9") << QStringLiteral(" 69.9 mm")
                                                      << QStringLiteral(" 699");
        QTest::newRow("end then type stays put") << length << lengthTemplate << QString() << blank << initial << 0 << QString()
                                                 << QStringLiteral("⇥7") << initial << QStringLiteral(" 600");
        QTest::newRow("paste of a number") << length << lengthTemplate << QString() << blank << initial << -1
                                           << QStringLiteral("80.5") << QString(kPaste) << QStringLiteral(" 80.5 mm")
                                           << QStringLiteral(" 805");
        QTest::newRow("paste of a display text") << length << lengthTemplate << QString() << blank << initial << 0
                                                 << QStringLiteral("104.0 mm") << QString(kPaste)
                                                 << QStringLiteral("104.0 mm") << QStringLiteral("1040");

        QTest::newRow("minus at the sign") << sign << signTemplate << signChars << blank << QStringLiteral("   0.0 mm") << -1
                                           << QString() << QStringLiteral("-12.5") << QStringLiteral("- 12.5 mm")
                                           << QStringLiteral("- 125");
        QTest::newRow("a digit at the sign leaves it blank") << sign << signTemplate << signChars << blank
                                                             << QStringLiteral("   0.0 mm") << -1 << QString()
                                                             << QStringLiteral("12.5") << QStringLiteral("  12.5 mm")
                                                             << QStringLiteral("  125");
        QTest::newRow("minus typed later sets the sign") << sign << signTemplate << signChars << blank
                                                         << QStringLiteral("  12.5 mm") << 9 << QString() << QStringLiteral("-")
                                                         << QStringLiteral("- 12.5 mm") << QStringLiteral("- 125");
        QTest::newRow("plus replaces the minus") << sign << signTemplate << signChars << blank << QStringLiteral("- 12.5 mm")
                                                 << 3 << QString() << QStringLiteral("+") << QStringLiteral("+ 12.5 mm")
                                                 << QStringLiteral("+ 125");

        QTest::newRow("hex digits in either case") << hex << hexTemplate << hexChars << zero << QStringLiteral("HEX(7E)") << -1
                                                   << QString() << QStringLiteral("5e") << QStringLiteral("HEX(5e)")
                                                   << QStringLiteral("5e");
        QTest::newRow("typing at a fixed character goes to the digits") << hex << hexTemplate << hexChars << zero
                                                                       << QStringLiteral("HEX(7E)") << 0 << QString()
                                                                       << QStringLiteral("A") << QStringLiteral("HEX(AE)")
                                                                       << QStringLiteral("AE");
        QTest::newRow("no hex digit refused") << hex << hexTemplate << hexChars << zero << QStringLiteral("HEX(7E)") << 4
                                              << QString() << QStringLiteral("G2") << QStringLiteral("HEX(2E)")
                                              << QStringLiteral("2E");
        QTest::newRow("emptied hex reads as zeros") << hex << hexTemplate << hexChars << zero << QStringLiteral("HEX(7E)") << -1
                                                    << QString() << QStringLiteral("⌫") << QStringLiteral("HEX(00)")
                                                    << QStringLiteral("00");
    }

    void typing()
    {
        QFETCH(QString, mask);
        QFETCH(QString, templateText);
        QFETCH(QString, validChars);
        QFETCH(QChar, placeholder);
        QFETCH(QString, initial);
        QFETCH(int, cursor);
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(QString, masked);

        MaskedEdit edit;
        edit.setModel(MaskedText(mask, templateText, validChars, placeholder));
        edit.setValueText(initial);
        QCOMPARE(edit.text(), initial);
        if (!clipboard.isEmpty())
            QApplication::clipboard()->setText(clipboard);
        if (cursor < 0)
            edit.selectAll();
        else
            edit.setCursorPosition(cursor);
        press(edit, keys);
        QCOMPARE(edit.text(), display);
        QCOMPARE(edit.maskedText(), masked);
    }

    // What QLineEdit changes by itself (an insertion, undo, a word deletion) keeps the template.
    void lineEditEditingKeepsTheTemplate()
    {
        MaskedEdit edit;
        edit.setModel(MaskedText(QStringLiteral("999.9 mm"), QStringLiteral("___._ mm"), QString(), QLatin1Char('_')));
        edit.setValueText(QStringLiteral(" 60.0 mm"));
        edit.setCursorPosition(2);
        edit.insert(QStringLiteral("77"));
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        edit.setCursorPosition(8);
        QTest::keyClick(&edit, Qt::Key_Backspace, Qt::ControlModifier);
        QCOMPARE(edit.text(), QStringLiteral(" 60._ mm"));
        QCOMPARE(edit.maskedText(), QStringLiteral(" 60_"));
    }
};

VORMEX_GUI_TEST(MaskedEditTest);

}  // namespace vormex::gui::test

#include "MaskedEditTest.moc"
