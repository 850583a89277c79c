#include "gui/dialogs/FindPrinterDlg.h"
#include "gui/pages/PrinterSettingView.h"
#include "GuiHarness.h"
#include "GuiTests.h"
#include "SimulatorProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace vormex::gui::test {
namespace {

// Waits, with the window alive, until the dialog's scan has ended.
bool waitForScanEnd(CFindPrinterDlg& dialog)
{
    QElapsedTimer timer;
    timer.start();
    while (dialog.stopButton()->isEnabled() && timer.elapsed() < 10000)
        QTest::qWait(20);
    return !dialog.stopButton()->isEnabled();
}

}  // namespace

class FindPrinterDlgTest : public QObject {
    Q_OBJECT
private slots:
    // "Find..." scans a loopback address, the printer found goes into the page and is stored as a
    // typed address is.
    void fillsThePageFromASimulatedPrinter()
    {
        SimulatorProcess sim({QStringLiteral("--mode"), QStringLiteral("kirn")});
        const int port = sim.device().section(QLatin1Char(':'), 2).toInt();
        QVERIFY(port > 0);
        Harness harness;
        CMainFrame& frame = harness.frame();
        frame.show();
        CPrinterSettingView* page = frame.printerSettings();
        QVERIFY(page->findButton()->isVisible());
        QString prefilled, row;
        bool chosen = false;
        QTimer::singleShot(0, page, [&] {
            auto* dialog = qobject_cast<CFindPrinterDlg*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            prefilled = dialog->rangeField()->text();
            // An explicit loopback range, never the prefilled one.
            dialog->rangeField()->setText(QStringLiteral("127.0.0.1"));
            dialog->portField()->setValue(port);
            if (!dialog->StartScan() || !waitForScanEnd(*dialog) || dialog->printerList()->topLevelItemCount() != 1) {
                dialog->reject();
                return;
            }
            const QTreeWidgetItem* item = dialog->printerList()->topLevelItem(0);
            row = QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join(QLatin1Char('|'));
            chosen = dialog->okButton()->isEnabled();
            dialog->okButton()->click();
        });
        page->findButton()->click();
        QCOMPARE(prefilled, QStringLiteral("127.0.9.0/24"));  // the first interface's subnet
        QCOMPARE(row, QStringLiteral("127.0.0.1|%1|KIRN|00 準備完了").arg(port));
        QVERIFY(chosen);
        QCOMPARE(page->ipAddress()->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(page->port()->value(), port);
        const QString device = QStringLiteral("LAN:127.0.0.1:%1").arg(port);
        QCOMPARE(harness.state().deviceInfo, device);
        QCOMPARE(harness.storedString(settings::kDeviceInfo), device);
        // The scan asked the printer for its mode and status only.
        QVERIFY(sim.log().contains(QStringLiteral("(mode query)")));
        QCOMPARE(sim.log().count(QStringLiteral("sim: <- ")), 2);
    }

    // A range that names no address is said in the dialog; Cancel during a scan ends it.
    void refusesARangeAndEndsTheScanWhenClosed()
    {
        SimulatorProcess silent({QStringLiteral("--fault"), QStringLiteral("silence")});
        Harness harness;
        CFindPrinterDlg dialog(harness.app(), silent.device().section(QLatin1Char(':'), 2).toInt(), nullptr);
        dialog.show();
        dialog.rangeField()->setText(QStringLiteral("127.0.0.1 printer_07"));
        QVERIFY(!dialog.StartScan());
        QVERIFY(!dialog.scanning());
        QVERIFY2(dialog.statusLabel()->text().contains(QStringLiteral("「printer_07」")), qPrintable(dialog.statusLabel()->text()));

        dialog.rangeField()->setText(QStringLiteral("127.0.0.1"));
        QVERIFY(dialog.StartScan());
        QVERIFY(dialog.scanning());
        QVERIFY(!dialog.rangeField()->isEnabled());
        dialog.cancelButton()->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.scanning());
        QCOMPARE(dialog.statusLabel()->text(), harness.app().text(300093).arg(0));  // stopped, not finished
    }
};

VORMEX_GUI_TEST(FindPrinterDlgTest);

}  // namespace vormex::gui::test

#include "FindPrinterDlgTest.moc"
