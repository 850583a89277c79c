#include "gui/pages/PrinterSettingView.h"
#include "gui/shell/HeaderView.h"
#include "gui/shell/NavigationBar.h"
#include "GuiHarness.h"
#include "GuiTests.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>

#include <initializer_list>

namespace vormex::gui::test {
namespace {

void addSamplePorts(Harness& harness, bool withUsb)
{
    harness.ports->serial = {{QStringLiteral("COM1"), QStringLiteral("/dev/ttyS0")},
                             {QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB0")}};
    harness.ports->parallel = {{QStringLiteral("LPT1"), QStringLiteral("/dev/lp0")}};
    if (withUsb) {
        harness.ports->usb.paths = {QStringLiteral("/dev/usb/lp0"), QStringLiteral("/dev/usb/lp1")};
        harness.ports->usb.names = {QStringLiteral("ORN Q-KA5"), QStringLiteral("ORN Q-KB4")};
    }
}

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

}  // namespace

class PrinterSettingViewTest : public QObject {
    Q_OBJECT
private slots:
    void listsAreFilled()
    {
        Harness harness;
        addSamplePorts(harness, true);
        CPrinterSettingView* page = harness.frame().printerSettings();
        QCOMPARE(itemsOf(page->printerList()), (QStringList{kFixedPrinter, kVariablePrinter}));
        QCOMPARE(itemsOf(page->interfaceList()), (QStringList{"LAN", "USB", "COM1", "COM3", "LPT1"}));
        QCOMPARE(itemsOf(page->baudRate()), (QStringList{"2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
        QCOMPARE(itemsOf(page->dataBits()), (QStringList{"7", "8"}));
        QCOMPARE(itemsOf(page->parity()), (QStringList{"none", "odd", "even"}));
        QCOMPARE(itemsOf(page->stopBits()), (QStringList{"1", "2"}));
        QCOMPARE(page->usbDevices()->count(), 2);
        QCOMPARE(page->SelectedUsbDevicePath(), QStringLiteral("/dev/usb/lp0"));
        QCOMPARE(page->port()->stepMaximum(), 65535);
        QCOMPARE(page->port()->stepMinimum(), 1);
        QVERIFY(!page->usbProblems()->isVisibleTo(page));
    }

    void unreachableUsbPrintersAreExplained()
    {
        Harness harness;
        harness.ports->usb.unreachable = {{QStringLiteral("/dev/usb/lp2"), QStringLiteral("Permission denied")}};
        CPrinterSettingView* page = harness.frame().printerSettings();
        QVERIFY(page->usbProblems()->isVisibleTo(page));
        QCOMPARE(page->usbProblems()->text(), QStringLiteral("USB プリンタ /dev/usb/lp2 を開けません: Permission denied"));
        QVERIFY(page->interfaceList()->findText(QStringLiteral("USB")) < 0);
    }

    void everyChangeIsStoredAtOnce()
    {
        Harness harness;
        addSamplePorts(harness, true);
        CMainFrame& frame = harness.frame();
        CPrinterSettingView* page = frame.printerSettings();
        QCOMPARE(page->port()->value(), 8000);

        page->port()->setValue(9100);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:192.168.1.100:9100"));
        page->ipAddress()->setText(QStringLiteral("10.1.2.3"));
        emit page->ipAddress()->editingFinished();
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9100"));
        QCOMPARE(harness.state().deviceInfo, QStringLiteral("LAN:10.1.2.3:9100"));
        QCOMPARE(frame.header()->textArea()->deviceInfo(), QStringLiteral("LAN:10.1.2.3:9100"));

        // An address that is not whole is not stored.
        page->ipAddress()->setText(QStringLiteral("10.1.2"));
        emit page->ipAddress()->editingFinished();
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9100"));

        page->interfaceList()->setCurrentIndex(page->interfaceList()->findText(QStringLiteral("COM3")));
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("COM3:9600,8,none,1"));
        QCOMPARE(page->interfaceDevice()->text(), QStringLiteral("/dev/ttyUSB0"));
        QVERIFY(page->baudRate()->isVisibleTo(page));
        QVERIFY(!page->ipAddress()->isVisibleTo(page));
        page->baudRate()->setCurrentText(QStringLiteral("115200"));
        page->parity()->setCurrentText(QStringLiteral("even"));
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("COM3:115200,8,even,1"));

        page->interfaceList()->setCurrentIndex(page->interfaceList()->findText(QStringLiteral("USB")));
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("USB:"));
        QVERIFY(page->usbDevices()->isVisibleTo(page));
        QVERIFY(!page->baudRate()->isVisibleTo(page));

        page->interfaceList()->setCurrentIndex(page->interfaceList()->findText(QStringLiteral("LPT1")));
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LPT1:"));
        QVERIFY(!page->usbDevices()->isVisibleTo(page));
        QVERIFY(!page->ipAddress()->isVisibleTo(page));
        QCOMPARE(harness.storedString(settings::kPrinterName), kFixedPrinter);
    }

    void storedSerialSettingsAreSelected()
    {
        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), QStringLiteral("COM3:9600,7,odd,2")}});
        addSamplePorts(harness, false);
        CPrinterSettingView* page = harness.frame().printerSettings();
        QCOMPARE(page->interfaceList()->currentText(), QStringLiteral("COM3"));
        QCOMPARE(page->baudRate()->currentText(), QStringLiteral("9600"));
        QCOMPARE(page->dataBits()->currentText(), QStringLiteral("7"));
        QCOMPARE(page->parity()->currentText(), QStringLiteral("odd"));
        QCOMPARE(page->stopBits()->currentText(), QStringLiteral("2"));
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("COM3:9600,7,odd,2"));
    }

    void usbWithoutPrinterFallsBackToLan()
    {
        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), QStringLiteral("USB:")}});
        addSamplePorts(harness, false);
        CPrinterSettingView* page = harness.frame().printerSettings();
        QVERIFY(page->interfaceList()->findText(QStringLiteral("USB")) < 0);
        QCOMPARE(page->interfaceList()->currentText(), QStringLiteral("LAN"));
        QCOMPARE(page->port()->value(), 8000);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:192.168.1.100:8000"));
    }

    // An unplugged adapter or a missing parallel port must not cost the user the stored port.
    void missingPortIsKeptAndShownAsMissing()
    {
        struct Case {
            const char* language;
            const char* stored;
            const char* shown;
            QStringList list;
        };
        const Case cases[] = {
            {"JPN", "COM9:19200,7,even,2", "COM9 (未接続)", {"LAN", "COM1", "COM3", "COM9 (未接続)", "LPT1"}},
            {"ENG", "COM2:9600,8,none,1", "COM2 (not connected)", {"LAN", "COM1", "COM2 (not connected)", "COM3", "LPT1"}},
            {"JPN", "LPT2:", "LPT2 (未接続)", {"LAN", "COM1", "COM3", "LPT1", "LPT2 (未接続)"}},
            {"ENG", "LPT2:", "LPT2 (not connected)", {"LAN", "COM1", "COM3", "LPT1", "LPT2 (not connected)"}},
        };
        for (const Case& c : cases) {
            const QString stored = QString::fromUtf8(c.stored);
            const QString port = stored.section(QLatin1Char(':'), 0, 0);
            Harness harness({{QString::fromLatin1(settings::kLanguage), QString::fromLatin1(c.language)},
                             {QString::fromLatin1(settings::kDeviceInfo), stored}});
            addSamplePorts(harness, false);
            CMainFrame& frame = harness.frame();
            CPrinterSettingView* page = frame.printerSettings();
            QCOMPARE(itemsOf(page->interfaceList()), c.list);
            QCOMPARE(page->interfaceList()->currentText(), QString::fromUtf8(c.shown));
            QCOMPARE(page->selectedInterfaceName(), port);
            QVERIFY(!page->interfaceDevice()->isVisibleTo(page));
            // Page, header, application and settings file agree on the stored text.
            QCOMPARE(harness.state().deviceInfo, stored);
            QCOMPARE(frame.header()->textArea()->deviceInfo(), stored);
            harness.store().sync();
            QCOMPARE(SettingsStore(harness.settingsPath()).readString(QString::fromLatin1(settings::kDeviceInfo), {}),
                     stored);
            QCOMPARE(page->baudRate()->isVisibleTo(page), port.startsWith(QLatin1String("COM")));
            if (port == QLatin1String("COM9")) {
                QCOMPARE(page->baudRate()->currentText(), QStringLiteral("19200"));
                QCOMPARE(page->dataBits()->currentText(), QStringLiteral("7"));
                QCOMPARE(page->parity()->currentText(), QStringLiteral("even"));
                QCOMPARE(page->stopBits()->currentText(), QStringLiteral("2"));
            }

            // Another choice is stored at once; the missing port stays in the list to come back to.
            page->interfaceList()->setCurrentIndex(page->interfaceList()->findText(QStringLiteral("COM1")));
            QCOMPARE(harness.storedString(settings::kDeviceInfo).section(QLatin1Char(':'), 0, 0), QStringLiteral("COM1"));
            page->interfaceList()->setCurrentIndex(page->interfaceList()->findText(QString::fromUtf8(c.shown)));
            QCOMPARE(harness.storedString(settings::kDeviceInfo), stored);
        }
    }

    void mistypedIpAddressIsMarkedAndNotStored()
    {
        struct Case {
            const char* language;
            const char* typed;
            const char* message;
        };
        const Case cases[] = {
            {"JPN", "999.300..1",
             "IP アドレス 999.300..1 は使えません: 999 は 255 より大きい数値です。\n保存されているアドレス 10.1.2.3 のままです。"},
            {"ENG", "10.1..7",
             "The IP address 10.1..7 cannot be used: number 3 is missing.\nThe stored address 10.1.2.3 stays in use."},
            {"ENG", "10.1.2",
             "The IP address 10.1.2 cannot be used: enter four numbers from 0 to 255, separated by dots.\nThe "
             "stored address 10.1.2.3 stays in use."},
        };
        for (const Case& c : cases) {
            Harness harness({{QString::fromLatin1(settings::kLanguage), QString::fromLatin1(c.language)},
                             {QString::fromLatin1(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9100")}});
            CMainFrame& frame = harness.frame();
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.activateWindow();
            CPrinterSettingView* page = frame.printerSettings();
            QLineEdit* ip = page->ipAddress();
            ip->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), ip);
            ip->selectAll();
            QTest::keyClicks(ip, QString::fromLatin1(c.typed));
            QCOMPARE(ip->text(), QString::fromLatin1(c.typed));  // typed as it is, to be corrected
            page->port()->setFocus();                             // leaving the field
            QTRY_VERIFY(ip->property("invalidInput").toBool());

            const QString message = QString::fromUtf8(c.message);
            QCOMPARE(page->ipAddressProblem()->text(), message);
            QVERIFY(page->ipAddressProblem()->isVisibleTo(page));
            QCOMPARE(ip->toolTip(), message);
            QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9100"));
            QCOMPARE(frame.header()->textArea()->deviceInfo(), QStringLiteral("LAN:10.1.2.3:9100"));

            // Another change meanwhile goes with the stored address.
            page->port()->setValue(9200);
            QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9200"));
            QVERIFY(ip->property("invalidInput").toBool());

            // A good address is taken and the mark goes.
            ip->setText(QStringLiteral("10.1.2.4"));
            emit ip->editingFinished();
            QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.4:9200"));
            QVERIFY(!ip->property("invalidInput").toBool());
            QVERIFY(!page->ipAddressProblem()->isVisibleTo(page));
            QCOMPARE(ip->toolTip(), QString());
            frame.hide();
        }
    }

    // A port outside 1..65535 typed in the port field is kept in the field, marked and explained
    // beside it; the stored port stays in use until a good one is typed. Typed digits are never
    // dropped, and nothing is stored while they are typed.
    void portOutsideItsRangeIsRefused_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("70000") << "JPN" << "70000"
                               << "ポート 70000 は使えません: 1 から 65535 までの数値を入力してください。\n保存されているポート 9100 のままです。";
        QTest::newRow("0") << "ENG" << "0"
                           << "The port 0 cannot be used: enter a number from 1 to 65535.\nThe stored port 9100 stays in use.";
        QTest::newRow("65536") << "ENG" << "65536"
                               << "The port 65536 cannot be used: enter a number from 1 to 65535.\nThe stored port 9100 stays in use.";
    }

    void portOutsideItsRangeIsRefused()
    {
        QFETCH(QString, language);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Harness harness({{QString::fromLatin1(settings::kLanguage), language},
                         {QString::fromLatin1(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9100")}});
        CMainFrame& frame = harness.frame();
        CPrinterSettingView* page = frame.printerSettings();
        SpinEdit* port = page->port();
        port->selectAll();
        QTest::keyClicks(port, typed);
        QCOMPARE(port->text(), typed);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9100"));
        QTest::keyClick(port, Qt::Key_Return);
        QCOMPARE(port->text(), typed);
        QCOMPARE(page->portProblem()->text(), message);
        QVERIFY(page->portProblem()->isVisibleTo(page));
        QVERIFY(port->property("invalidInput").toBool());
        QCOMPARE(QAccessible::queryAccessibleInterface(port)->text(QAccessible::Description), message);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.3:9100"));

        // Another change meanwhile goes with the stored port; a good port is taken, the mark goes.
        page->ipAddress()->setText(QStringLiteral("10.1.2.4"));
        emit page->ipAddress()->editingFinished();
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.4:9100"));
        port->selectAll();
        QTest::keyClicks(port, QStringLiteral("9200"));
        QTest::keyClick(port, Qt::Key_Return);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:10.1.2.4:9200"));
        QVERIFY(!port->property("invalidInput").toBool());
        QVERIFY(!page->portProblem()->isVisibleTo(page));
    }

    // The controls keep their place whatever rows the page shows.
    void labelColumnHasOneWidthForEveryState()
    {
        for (const char* language : {"JPN", "ENG"}) {
            Harness harness({{QString::fromLatin1(settings::kLanguage), QString::fromLatin1(language)}});
            addSamplePorts(harness, true);
            CMainFrame& frame = harness.frame();
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            CPrinterSettingView* page = frame.printerSettings();
            const auto fieldLeft = [page](QWidget* field) {
                QApplication::processEvents();
                return field->mapTo(page, QPoint(0, 0)).x();
            };
            const int left = fieldLeft(page->printerList());
            const auto expectSameLeft = [&](const char* state) {
                QCOMPARE(fieldLeft(page->printerList()), left);
                QCOMPARE(fieldLeft(page->interfaceList()), left);
                for (QWidget* field : std::initializer_list<QWidget*>{
                         page->ipAddress(), page->baudRate(), page->usbDevices(), page->controlCodeType(),
                         page->manualCode(0)}) {
                    if (field->isVisibleTo(page))
                        QVERIFY2(fieldLeft(field) == left, state);
                }
            };
            for (const char* interface : {"LAN", "COM1", "USB", "LPT1"}) {
                page->interfaceList()->setCurrentText(QString::fromLatin1(interface));
                expectSameLeft(interface);
            }
            page->printerList()->setCurrentText(kVariablePrinter);
            for (const char* interface : {"LAN", "COM1", "USB", "LPT1"}) {
                page->interfaceList()->setCurrentText(QString::fromLatin1(interface));
                for (int type : {0, 3}) {
                    page->controlCodeType()->setCurrentIndex(type);
                    QVERIFY(page->manualCode(0)->isVisibleTo(page) == (type == 3));
                    expectSameLeft(interface);
                }
            }
            frame.hide();
        }
    }

    void unknownStoredPrinterSelectsTheFirst()
    {
        Harness harness({{QString::fromLatin1(settings::kPrinterName), QStringLiteral("gone")},
                         {QString::fromLatin1(settings::kDeviceInfo), QStringLiteral("LAN:10.0.0.1:1234")}});
        harness.state().selectedPrinterName = QStringLiteral("gone");
        CPrinterSettingView* page = harness.frame().printerSettings();
        QCOMPARE(page->printerList()->currentText(), kFixedPrinter);
        QCOMPARE(harness.storedString(settings::kPrinterName), kFixedPrinter);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:192.168.1.100:8000"));
    }

    void controlCodeChoiceFollowsThePrinter()
    {
        Harness harness;
        CPrinterSettingView* page = harness.frame().printerSettings();
        // Fixed codes: no choice shown.
        QVERIFY(!page->controlCodeType()->isVisibleTo(page));
        QVERIFY(!page->manualCode(0)->isVisibleTo(page));

        page->printerList()->setCurrentText(kVariablePrinter);
        QVERIFY(page->controlCodeType()->isVisibleTo(page));
        QCOMPARE(page->controlCodeType()->currentIndex(), 0);
        QCOMPARE(page->controlCodeType()->itemText(2), QStringLiteral("{ | }"));
        page->controlCodeType()->setCurrentIndex(2);
        QCOMPARE(harness.state().controlCodes, ControlCodes::forType(2));

        page->controlCodeType()->setCurrentIndex(3);
        QVERIFY(page->manualCode(0)->isVisibleTo(page));
        QCOMPARE(page->manualCode(0)->text(), QStringLiteral("HEX(1B)"));
        QCOMPARE(page->manualCode(1)->text(), QStringLiteral("HEX(0A)"));
        QCOMPARE(page->manualCode(2)->text(), QStringLiteral("HEX(00)"));
        QCOMPARE(harness.state().controlCodes, (ControlCodes{3, 0x1B, 0x0A, 0x00}));

        // A typed code is applied once the edit has settled.
        page->manualCode(1)->setFocus();
        page->manualCode(1)->setCursorPosition(4);
        page->manualCode(1)->setSelection(4, 2);
        QTest::keyClicks(page->manualCode(1), QStringLiteral("7c"));
        QCOMPARE(page->manualCode(1)->text(), QStringLiteral("HEX(7C)"));
        QTRY_COMPARE(harness.state().controlCodes, (ControlCodes{3, 0x1B, 0x7C, 0x00}));
        QCOMPARE(page->codeCharacter(1)->text(), QStringLiteral("|"));
        QCOMPARE(page->codeCharacter(0)->text(), QStringLiteral("ESC"));
        QCOMPARE(page->codeCharacter(2)->text(), QStringLiteral("NUL"));

        // Back to a printer with fixed codes: ESC, LF, NUL and the choice hidden.
        page->printerList()->setCurrentText(kFixedPrinter);
        QCOMPARE(harness.state().controlCodes, ControlCodes::forType(0));
        QVERIFY(!page->controlCodeType()->isVisibleTo(page));
        QVERIFY(!page->manualCode(0)->isVisibleTo(page));
    }

    void equalCodesFocusTheFirstOffendingCode()
    {
        struct Case {
            int code3;
            int focused;
        };
        for (const Case c : {Case{0x1B, 0}, Case{0x0A, 1}}) {
            Harness harness({{QString::fromLatin1(settings::kPrinterName), kVariablePrinter},
                             {QString::fromLatin1(settings::kControlCodeType), 3},
                             {QString::fromLatin1(settings::kControlCode1), 0x1B},
                             {QString::fromLatin1(settings::kControlCode2), 0x0A},
                             {QString::fromLatin1(settings::kControlCode3), c.code3}});
            CMainFrame& frame = harness.frame();
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.activateWindow();
            frame.navigationBar()->setFocus();
            harness.messages.clear();
            QCOMPARE(frame.printerSettings()->CheckControlCodes(), 0);
            QCOMPARE(harness.messages.size(), size_t(1));
            QTRY_COMPARE(QApplication::focusWidget(), frame.printerSettings()->manualCode(c.focused));
            frame.hide();
        }
    }

    // At start-up the message waits for the main window and is shown over it; the focus is on
    // the code to fix afterwards.
    void equalCodesAtStartUpShowOverTheWindow()
    {
        Harness harness({{QString::fromLatin1(settings::kPrinterName), kVariablePrinter},
                         {QString::fromLatin1(settings::kControlCodeType), 3},
                         {QString::fromLatin1(settings::kControlCode1), 0x1B},
                         {QString::fromLatin1(settings::kControlCode2), 0x0A},
                         {QString::fromLatin1(settings::kControlCode3), 0x1B}});
        CMainFrame* shownFrame = nullptr;
        bool windowShown = false;
        QWidget* parent = nullptr;
        harness.app().messageBox = [&](QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons) {
            harness.messages.push_back({icon, text});
            windowShown = shownFrame && shownFrame->isVisible();
            parent = CVORMEXSettingToolApp::MessageParent();
            return QMessageBox::Ok;
        };
        CMainFrame& frame = harness.frame();
        QApplication::processEvents();
        QVERIFY(harness.messages.empty());  // nothing before the window is there

        shownFrame = &frame;
        frame.ShowWindow();
        QTRY_COMPARE(harness.messages.size(), size_t(1));
        QCOMPARE(harness.messages[0].text, QStringLiteral("制御コードに同一の値が設定されています"));
        QVERIFY(windowShown);
        QCOMPARE(parent, &frame);
        QTRY_COMPARE(QApplication::focusWidget(), frame.printerSettings()->manualCode(0));
        // Shown once: going back to the page does not ask again by itself.
        frame.hide();
        frame.show();
        QApplication::processEvents();
        QCOMPARE(harness.messages.size(), size_t(1));
        frame.hide();
    }
};

VORMEX_GUI_TEST(PrinterSettingViewTest);

}  // namespace vormex::gui::test

#include "PrinterSettingViewTest.moc"
