#include "gui/pages/PrinterSettingView.h"
#include "GuiHarness.h"
#include "GuiTests.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace vormex::gui::test {

// The address field of the printer settings page with a host name in it.
class HostNameFieldTest : public QObject {
    Q_OBJECT
private slots:
    void keepsAStoredHostNameUntilAnAddressIsEntered()
    {
        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), QStringLiteral("LAN:printer-07.example:9100")}});
        CMainFrame& frame = harness.frame();
        frame.show();
        CPrinterSettingView* page = frame.printerSettings();
        QCOMPARE(page->ipAddress()->text(), QStringLiteral("printer-07.example"));
        QCOMPARE(page->port()->value(), 9100);

        // Another port keeps the name.
        page->port()->setValue(9101);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:printer-07.example:9101"));

        // A mistyped address is refused and the name stays in use; an address replaces it.
        const auto enter = [page](const QString& text) {
            page->ipAddress()->setText(text);
            emit page->ipAddress()->editingFinished();
        };
        enter(QStringLiteral("10.0.0"));
        QVERIFY(page->ipAddressProblem()->isVisible());
        QVERIFY2(page->ipAddressProblem()->text().contains(QStringLiteral("printer-07.example")), qPrintable(page->ipAddressProblem()->text()));
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:printer-07.example:9101"));
        enter(QStringLiteral("127.0.0.5"));
        QVERIFY(!page->ipAddressProblem()->isVisible());
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:127.0.0.5:9101"));
        // A name typed in is taken as the stored one was.
        enter(QStringLiteral("printer-08.example"));
        QCOMPARE(harness.storedString(settings::kDeviceInfo), QStringLiteral("LAN:printer-08.example:9101"));
    }
};

VORMEX_GUI_TEST(HostNameFieldTest);

}  // namespace vormex::gui::test

#include "HostNameFieldTest.moc"
