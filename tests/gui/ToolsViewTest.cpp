#include "gui/application/SystemServices.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/pages/ToolsView.h"
#include "GuiHarness.h"
#include "GuiTests.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace vormex::gui::test {

class ToolsViewTest : public QObject {
    Q_OBJECT
private slots:
    void buttonTexts()
    {
        Harness harness;
        CToolsView* tools = harness.frame().tools();
        QCOMPARE(tools->button(0)->text(), QStringLiteral("　　　　VORMEXをＯＮにする"));
        QCOMPARE(tools->button(1)->text(), QStringLiteral("　　　　VORMEXをＯＦＦにする"));
        QCOMPARE(tools->button(2)->text(), QStringLiteral("　　　　Ｔｒｕｅ Ｔｙｐｅ　フォントのダウンローダーを起動する"));
    }

    void switchesRunOffTheWindowThread()
    {
        Harness harness;
        CMainFrame& frame = harness.frame();
        CToolsView* tools = frame.tools();
        QSignalSpy finished(tools, &CToolsView::switchFinished);
        QTest::mouseClick(tools->button(0), Qt::LeftButton);
        QVERIFY(finished.wait(5000));
        QTest::mouseClick(tools->button(1), Qt::LeftButton);
        QVERIFY(finished.wait(5000));
        const std::vector<VormexSwitchRequest> sent = harness.switches();
        QCOMPARE(sent.size(), size_t(2));
        QVERIFY(sent[0].on);
        QVERIFY(!sent[1].on);
        QCOMPARE(sent[0].link.deviceInfo, QStringLiteral("LAN:192.168.1.100:8000"));
        QCOMPARE(sent[0].link.codes, harness.state().controlCodes);
        QVERIFY(tools->button(0)->isEnabled());
    }

    void unusableDeviceInfoDoesNothing()
    {
        Harness harness;
        CToolsView* tools = harness.frame().tools();
        for (const char* text : {"LAN8000", ":LAN", "L:", ""}) {
            harness.state().deviceInfo = QString::fromLatin1(text);
            tools->SendVormexSwitch(true);
            QVERIFY2(!tools->switchRunning(), text);
        }
        QVERIFY(harness.switches().empty());
    }

    void usbSwitchTakesTheSelectedPrinter()
    {
        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), QStringLiteral("USB:")}});
        harness.ports->usb.paths = {QStringLiteral("/dev/usb/lp3")};
        harness.ports->usb.names = {QStringLiteral("ORN Q-KA5")};
        CToolsView* tools = harness.frame().tools();
        QSignalSpy finished(tools, &CToolsView::switchFinished);
        tools->SendVormexSwitch(false);
        QVERIFY(finished.wait(5000));
        QCOMPARE(harness.switches().at(0).link.usbDevicePath, QStringLiteral("/dev/usb/lp3"));
    }

    void downloaderStartsInItsOwnFolder()
    {
        Harness harness;
        harness.state().ttfDownloaderPath = QStringLiteral("/opt/fonts/bin/downloader");
        QTest::mouseClick(harness.frame().tools()->button(2), Qt::LeftButton);
        QCOMPARE(harness.launches.size(), size_t(1));
        QCOMPARE(harness.launches[0].first, QStringLiteral("/opt/fonts/bin/downloader"));
        QCOMPARE(harness.launches[0].second, QStringLiteral("/opt/fonts/bin"));
    }

    void detachedProgramRunsInTheGivenFolder()
    {
        QTemporaryDir folder;
        const QString script = folder.filePath(QStringLiteral("downloader"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\npwd > where.txt\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(StartDetachedProgram(script, folder.path()));
        const auto written = [&folder] {
            QFile where(folder.filePath(QStringLiteral("where.txt")));
            return where.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(where.readAll()).trimmed() : QString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(!written().isEmpty(), 5000);
        QCOMPARE(written(), QFileInfo(folder.path()).canonicalFilePath());
        QVERIFY(!StartDetachedProgram(folder.filePath(QStringLiteral("missing")), folder.path()));
    }

    void switchReachesTheSimulator()
    {
        QProcess sim;
        sim.start(QStringLiteral(VORMEX_BIN_DIR "/vormex-printer-sim"),
                  {QStringLiteral("--exit-after-idle"), QStringLiteral("30"), QStringLiteral("--codes"),
                   QStringLiteral("brace")});
        QVERIFY(sim.waitForStarted(5000));
        QElapsedTimer timer;
        timer.start();
        while (!sim.canReadLine() && timer.elapsed() < 5000)
            sim.waitForReadyRead(100);
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY2(device.startsWith(QLatin1String("LAN:127.0.0.1:")), qPrintable(device));

        Harness harness({{QString::fromLatin1(settings::kDeviceInfo), device},
                         {QString::fromLatin1(settings::kPrinterName), kVariablePrinter},
                         {QString::fromLatin1(settings::kControlCodeType), 2}});
        harness.app().vormexSwitch = &SendVormexSwitchOverPort;
        CMainFrame& frame = harness.frame();
        QCOMPARE(frame.printerSettings()->controlCodeType()->currentIndex(), 2);
        QSignalSpy finished(frame.tools(), &CToolsView::switchFinished);
        frame.tools()->SendVormexSwitch(true);
        QVERIFY(finished.wait(10000));
        frame.tools()->SendVormexSwitch(false);
        QVERIFY(finished.wait(10000));

        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(10000));
        const QString log = QString::fromUtf8(sim.readAllStandardError());
        QVERIFY2(log.contains(QLatin1String("VORMEX on")), qPrintable(log));
        QVERIFY2(log.contains(QLatin1String("VORMEX off")), qPrintable(log));
    }
};

VORMEX_GUI_TEST(ToolsViewTest);

}  // namespace vormex::gui::test

#include "ToolsViewTest.moc"
