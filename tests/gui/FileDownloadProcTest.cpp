#include "definitions/Lookups.h"
#include "gui/dialogs/FileDownloadProc.h"
#include "gui/widgets/SpinEdit.h"
#include "GuiHarness.h"
#include "GuiTests.h"
#include "SimulatorProcess.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace vormex::gui::test {
namespace {

// The dialog as the system parameter page opens it, for the printer reached at `device`.
struct DialogFixture {
    explicit DialogFixture(const QString& device)
        : harness({{QString::fromLatin1(settings::kDeviceInfo), device}})
    {
        harness.useShippedDefinitions();
        const PrinterDefinition& printer = *harness.state().selectedPrinter();
        setup = PrepareSystemParameterDownload(DefaultSystemParameters(printer), printer, harness.state().controlCodes,
                                               harness.state().strings);
        dialog = std::make_unique<CFileDownloadProc>(harness.app(), setup);
        dialog->show();
    }

    QStringList logLines() const
    {
        return dialog->log()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    Harness harness;
    ParameterDownloadSetup setup;
    std::unique_ptr<CFileDownloadProc> dialog;
};

}  // namespace

class FileDownloadProcTest : public QObject {
    Q_OBJECT
private slots:
    // The log's messages in the order the download writes them (the waits may add status lines
    // between them); the box off sends no "!Z".
    void downloads_data()
    {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<bool>("vormexOn");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("completed");
        const QString off = QStringLiteral("ＶＯＲＭＥＸ　ＯＦＦ"), preparing = QStringLiteral("ダウンロード準備中"),
                      prepared = QStringLiteral("ダウンロード準備完了"), start = QStringLiteral("システムパラメータダウンロード開始"),
                      on = QStringLiteral("ＶＯＲＭＥＸ　ＯN"), done = QStringLiteral("システムパラメータダウンロード完了");
        QTest::newRow("completes") << QStringList{} << true << QStringList{off, preparing, prepared, start, on, done} << true;
        QTest::newRow("box off") << QStringList{} << false << QStringList{off, preparing, prepared, start, done} << true;
        QTest::newRow("printer silent") << QStringList{QStringLiteral("--fault"), QStringLiteral("silence")} << true
                                        << QStringList{off, QStringLiteral("ＶＯＲＭＥＸ切り替え失敗")} << false;
        // A store the printer refuses fails: its status text, then the failure, and no "!Z".
        QTest::newRow("store refused") << QStringList{QStringLiteral("--fault"), QStringLiteral("bad-checksum")} << true
                                       << QStringList{off, preparing, prepared, start, QStringLiteral("チェックサムエラー"),
                                                      QStringLiteral("システムパラメータダウンロード失敗")}
                                       << false;
    }

    void downloads()
    {
        QFETCH(QStringList, simulator);
        QFETCH(bool, vormexOn);
        QFETCH(QStringList, lines);
        QFETCH(bool, completed);
        SimulatorProcess sim(simulator);
        DialogFixture fixture(sim.device());
        CFileDownloadProc& dialog = *fixture.dialog;
        QVERIFY(dialog.startBlock()->isEnabled());
        QVERIFY(!dialog.okButton()->isEnabled());
        QCOMPARE(dialog.percent()->text(), QStringLiteral("0%"));

        dialog.vormexOnAfter()->setChecked(vormexOn);
        QSignalSpy ended(&dialog, &CFileDownloadProc::downloadEnded);
        QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
        QVERIFY(!dialog.startButton()->isEnabled());
        QVERIFY(!dialog.vormexOnAfter()->isEnabled());
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.at(0).at(0).toBool(), completed);
        QVERIFY(dialog.okButton()->isEnabled());
        QVERIFY(!dialog.cancelButton()->isEnabled());

        const QStringList log = fixture.logLines();
        qsizetype from = 0;
        for (const QString& line : lines) {
            from = log.indexOf(line, from);
            QVERIFY2(from >= 0, qPrintable(QStringLiteral("missing \"%1\" in order: %2").arg(line, log.join(QLatin1Char('|')))));
        }
        QCOMPARE(log.last(), lines.last());
        QCOMPARE(sim.log().contains(QLatin1String("VORMEX on")), completed && vormexOn);
        if (completed)
            QCOMPARE(dialog.percent()->text(), QStringLiteral("100%"));

        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void unreachablePrinter()
    {
        DialogFixture fixture(QStringLiteral("LAN:127.0.0.1:1"));
        QSignalSpy ended(fixture.dialog.get(), &CFileDownloadProc::downloadEnded);
        QVERIFY(fixture.dialog->OnStart());
        QVERIFY(ended.wait(10000));
        QCOMPARE(fixture.logLines(), QStringList{QStringLiteral("デバイスオープンエラー")});
    }

    void startBlockOutOfRangeDoesNotStart()
    {
        DialogFixture fixture(QStringLiteral("LAN:127.0.0.1:1"));
        CFileDownloadProc& dialog = *fixture.dialog;
        QCOMPARE(dialog.startBlock()->value(), 3);
        dialog.startBlock()->selectAll();
        QTest::keyClicks(dialog.startBlock(), QStringLiteral("30"));
        QVERIFY(!dialog.OnStart());
        QCOMPARE(fixture.harness.messages.back().text, QStringLiteral("0 から 20 までの整数を入力してください。"));
        QVERIFY(!dialog.running());
        QVERIFY(dialog.startButton()->isEnabled());
        QVERIFY(dialog.startBlock()->isEnabled());
        QVERIFY(dialog.log()->toPlainText().isEmpty());
    }

    void cancelBeforeStartClosesAtOnce()
    {
        DialogFixture fixture(QStringLiteral("LAN:127.0.0.1:1"));
        QTest::mouseClick(fixture.dialog->cancelButton(), Qt::LeftButton);
        QVERIFY(!fixture.dialog->isVisible());
        QCOMPARE(fixture.dialog->result(), int(QDialog::Rejected));
    }

    // Cancel while the printer is waited for: the engine is stopped and the dialog closes soon;
    // the dialog may then go while the engine ends on its own thread.
    void cancelWhileRunningCloses()
    {
        SimulatorProcess sim({QStringLiteral("--fault"), QStringLiteral("silence")});
        auto fixture = std::make_unique<DialogFixture>(sim.device());
        QVERIFY(fixture->dialog->OnStart());
        QTest::qWait(50);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(fixture->dialog->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!fixture->dialog->isVisible(), 5000);
        QVERIFY(timer.elapsed() < 3000);
        fixture.reset();
    }
};

VORMEX_GUI_TEST(FileDownloadProcTest);

}  // namespace vormex::gui::test

#include "FileDownloadProcTest.moc"
