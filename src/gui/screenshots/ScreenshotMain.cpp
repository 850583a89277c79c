// vormex-gui-screenshots FOLDER: saves a picture of every page and dialog of the desktop
// program in both languages (for example printer-settings-jpn.png, tools-eng.png), and beside
// each picture NAME.json, the widgets it shows (WidgetDump.h). Runs with its own temporary
// settings, so the user's settings stay untouched.
#include "app/AppSettings.h"
#include "gui/application/PortCatalog.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/DLProcDlg.h"
#include "gui/dialogs/EnvironmentSheet.h"
#include "gui/dialogs/FileDownloadProc.h"
#include "gui/dialogs/FindPrinterDlg.h"
#include "gui/pages/DownloadBrowser.h"
#include "gui/pages/DownloadView.h"
#include "gui/pages/FontConvertView.h"
#include "gui/pages/ParamSettingView.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/pages/SystemSettingView.h"
#include "gui/shell/MainFrame.h"
#include "gui/shell/NavigationBar.h"
#include "initialtable/InitialTableDocument.h"
#include "pages/InitialTableModel.h"
#include "pages/SystemSettingsModel.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"
#include "sysparam/SystemParameterSet.h"
#include "WidgetDump.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace vormex;
using namespace vormex::gui;

namespace {

struct Shot {
    const char* name;
    int command;
};

constexpr Shot kPages[] = {
    {"printer-settings", 32818}, {"system-parameters", 32819}, {"initial-values", 32820},
    {"download", 32821},         {"tools", 32822},
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool save(QWidget& widget, const QDir& folder, const QString& name, const QString& language)
{
    settle();
    const QString base = folder.filePath(QStringLiteral("%1-%2").arg(name, language));
    bool ok = widget.grab().save(base + QStringLiteral(".png"));
    QFile dump(base + QStringLiteral(".json"));
    ok = dump.open(QIODevice::WriteOnly | QIODevice::Truncate)
         && dump.write(QJsonDocument(DumpWidgets(widget)).toJson(QJsonDocument::Indented)) >= 0 && ok;
    QTextStream(stdout) << (ok ? "saved " : "FAILED ") << base << ".png" << Qt::endl;
    return ok;
}

// A system parameter file with values of its own, as a user keeps it.
QString writeSampleParameterFile(const QDir& folder)
{
    const QString path = folder.filePath(QStringLiteral("system-parameters.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("01000,1040,D,A,P,M,1,6,05000,F,C,1,7E,5E,2C,0,0,1,1,0,08,-0012,1,+0005\r\n");
    return path;
}

// An initial value & table document with values of its own and one font change row.
InitialTableDocument sampleInitialTable(const PrinterDefinition& printer, const StringTable& strings)
{
    InitialTableDocument document = DefaultInitialTableDocument(printer);
    InitialValueSet& values = document.values;
    values.number(InitialValue::BarcodeHeight) = 150;
    values.ratio.setText(QStringLiteral("2.5"));
    values.selected(InitialValue::Rotation) = 1;
    values.number(InitialValue::IncDec) = -25;
    values.number(InitialValue::ZeroSuppress) = 0;
    values.number(InitialValue::LineMargin) = -4;
    values.number(InitialValue::IssueCount) = 20;
    document.drives.selection = {2, 0, 1, 3};
    document.responses.answers[13] = QStringLiteral("Q12345678");
    FontTableRow row = NewFontRow(printer);
    row.ZPLFontName = QStringLiteral("CUSTOM OUTLINE");
    row.ZPLFontType = QStringLiteral("Scalable");
    row.KIRNFontType = QStringLiteral("True Type Font");
    row.KIRNFontCode = QStringLiteral("T1");
    row.TrueTypeCAPHeight = 720;
    RegisterFontRow(document.fonts, printer, row, -1, strings);
    return document;
}

// The four tabs of the initial-values group after a text file was read, the font tables
// editing a bitmap row and an outline row, and the download dialog of the tables.
bool shootInitialTables(CVORMEXSettingToolApp& app, CMainFrame& frame, const QDir& folder, const QString& language,
                        const QDir& files)
{
    auto* values = qobject_cast<CParamSettingView*>(frame.page(kInitialValuesPage));
    auto* fonts = qobject_cast<CFontConvertView*>(frame.page(kFontTablesPage));
    const PrinterDefinition* printer = values ? values->group().printer() : nullptr;
    if (!printer || !fonts)
        return false;
    const InitialTableDocument document = sampleInitialTable(*printer, app.app().strings);
    const QString path = files.filePath(QStringLiteral("initial-table.txt"));
    if (WriteInitialTableTextFile(path, ComposeInitialTableText(document, *printer)) || !values->group().ReadFile(path))
        return false;
    bool ok = true;
    const char* const names[] = {"initial-values-file", "font-tables-file", "drive-mapping-file", "response-commands-file"};
    for (int tab = 0; tab < kInitialTableTabCount; ++tab) {
        frame.BringInitialValuesTabForward(tab);
        ok = save(frame, folder, QString::fromLatin1(names[tab]), language) && ok;
    }
    frame.BringInitialValuesTabForward(1);
    const std::pair<int, const char*> edits[] = {{10, "font-tables-edit-bitmap"}, {36, "font-tables-edit-outline"}};
    for (const auto& [row, name] : edits) {
        fonts->list()->setCurrentItem(fonts->list()->topLevelItem(row));
        fonts->OnModify();
        ok = save(frame, folder, QString::fromLatin1(name), language) && ok;
        fonts->OnCancel();
    }

    const ParameterDownloadSetup setup =
        PrepareInitialTableDownload(document, *printer, app.app().controlCodes, app.app().strings);
    CFileDownloadProc dialog(app, setup, &frame);
    dialog.show();
    ok = save(dialog, folder, QStringLiteral("initial-table-download-dialog"), language) && ok;
    dialog.hide();
    frame.SetInitialValuesTab(0);
    return ok;
}

std::shared_ptr<FixedPortCatalog> samplePorts()
{
    auto ports = std::make_shared<FixedPortCatalog>();
    ports->serial = {{QStringLiteral("COM1"), QStringLiteral("/dev/ttyS0")},
                     {QStringLiteral("COM2"), QStringLiteral("/dev/ttyUSB0")}};
    ports->parallel = {{QStringLiteral("LPT1"), QStringLiteral("/dev/lp0")}};
    return ports;
}

void waitMs(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

QString writeSample(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return file.fileName();
}

// A firmware file with the trailer the download page shows.
QByteArray sampleFirmware()
{
    QByteArray trailer(256, '\0');
    trailer.replace(0, 4, QByteArray::fromHex("00020000"));
    trailer.replace(4, 4, QByteArray::fromHex("00100000"));
    trailer.replace(32, 9, "15JAN2024");
    trailer.replace(48, 12, "Q-KA5       ");
    trailer.replace(64, 5, "V1.02");
    return QByteArray(2 * 65536, '\x5A') + trailer;
}

// The printer simulator beside this program: its device text, empty when it did not start.
QString startSimulator(QProcess& sim)
{
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vormex-printer-sim"),
              {QStringLiteral("--exit-after-idle"), QStringLiteral("60")});
    if (!sim.waitForStarted(5000))
        return {};
    QElapsedTimer timer;
    timer.start();
    while (!sim.canReadLine() && timer.elapsed() < 5000)
        sim.waitForReadyRead(100);
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

// The download page in firmware mode, with every step of a BASIC-files job and its files, and
// the download dialog after that job has run against the simulator.
bool shootDownload(CMainFrame& frame, CVORMEXSettingToolApp& app, const QDir& folder, const QString& language)
{
    bool ok = true;
    QTemporaryDir samples;
    CDownloadView* view = frame.download();
    frame.SwitchPage(32821);

    view->firmwareMode()->click();
    view->browser(DownloadItem::Firmware)->Pick(writeSample(samples, QStringLiteral("FIRMWARE.ROM"), sampleFirmware()));
    ok = save(frame, folder, QStringLiteral("download-firmware"), language) && ok;

    view->basicFilesMode()->click();
    const PrinterDefinition* printer = app.app().selectedPrinter();
    if (!printer)
        return false;
    const QString system = samples.filePath(QStringLiteral("system.txt"));
    WriteSystemParameterTextFile(system, BuildSystemParameterLine(DefaultSystemParameters(*printer), *printer));
    const QString initial = samples.filePath(QStringLiteral("initial.txt"));
    WriteInitialTableTextFile(initial, ComposeInitialTableText(DefaultInitialTableDocument(*printer), *printer));
    const std::pair<int, QString> files[] = {
        {DownloadItem::BasicMain, writeSample(samples, QStringLiteral("MAIN.BAS"), "10 A=1\r\n20 END\r\n")},
        {DownloadItem::BasicSystem, writeSample(samples, QStringLiteral("SYSTEM.BAS"), "10 B=2\r\n20 END\r\n")},
        {DownloadItem::SystemParameters, system},
        {DownloadItem::InitialTable, initial},
        {DownloadItem::TestFile, writeSample(samples, QStringLiteral("TEST.TXT"), "{WS|}")},
    };
    view->allocationBox()->click();
    view->vormexSwitchBox()->click();
    for (const auto& [type, path] : files) {
        view->fileStepBox(type)->click();
        view->browser(type)->Pick(path);
    }
    ok = save(frame, folder, QStringLiteral("download-files"), language) && ok;

    QProcess sim;
    const QString device = startSimulator(sim);
    if (device.isEmpty())
        return false;
    const QString storedDevice = app.app().deviceInfo;
    app.app().deviceInfo = device;
    bool shot = false;
    QTimer::singleShot(0, view, [&] {
        CDLProcDlg* dialog = view->openDialog();
        if (!dialog)
            return;
        QElapsedTimer timer;
        timer.start();
        while ((dialog->engineRunning() || !dialog->okButton()->isEnabled()) && timer.elapsed() < 120000)
            waitMs(50);
        shot = save(*dialog, folder, QStringLiteral("download-dialog"), language);
        dialog->okButton()->isEnabled() ? dialog->okButton()->click() : dialog->cancelButton()->click();
    });
    view->startButton()->click();
    app.app().deviceInfo = storedDevice;
    sim.closeWriteChannel();
    sim.waitForFinished(5000);
    return ok && shot;
}

// The simulated site of the find dialog: three printers on loopback addresses, at one port.
constexpr std::uint32_t kSiteFirstAddress = (127u << 24) | (0u << 16) | (77u << 8) | 11u;
const QString kSiteRange = QStringLiteral("127.0.77.1-20");

// A TCP port that was free on the site's first address a moment ago.
int freeSitePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(kSiteFirstAddress);
    socklen_t length = sizeof address;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
                 && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(fd);
    return ok ? ntohs(address.sin_port) : 0;
}

// The find dialog after a scan of the simulated site (a range given here, never the prefilled one).
bool shootFindPrinters(CVORMEXSettingToolApp& app, CMainFrame& frame, const QDir& folder, const QString& language)
{
    const int port = freeSitePort();
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vormex-printer-sim"),
              {QStringLiteral("--exit-after-idle"), QStringLiteral("60"), QStringLiteral("--count"), QStringLiteral("3"),
               QStringLiteral("--bind"), QStringLiteral("127.0.77.11"), QStringLiteral("--port"), QString::number(port),
               QStringLiteral("--same-port"), QStringLiteral("--mode"), QStringLiteral("2:kirn"), QStringLiteral("--status"),
               QStringLiteral("3:7")});
    QElapsedTimer started;
    started.start();
    int listening = 0;  // the simulator prints one device text per printer that listens
    while (listening < 3 && started.elapsed() < 5000 && sim.state() != QProcess::NotRunning) {
        if (sim.canReadLine()) {
            sim.readLine();
            ++listening;
        } else {
            sim.waitForReadyRead(100);
        }
    }
    bool ok = listening == 3;
    if (ok) {
        CFindPrinterDlg dialog(app, port, &frame);
        dialog.show();
        dialog.rangeField()->setText(kSiteRange);
        ok = dialog.StartScan();
        QElapsedTimer timer;
        timer.start();
        while (ok && dialog.stopButton()->isEnabled() && timer.elapsed() < 30000)
            waitMs(50);
        ok = save(dialog, folder, QStringLiteral("find-printers"), language) && ok;
        dialog.hide();
    }
    sim.closeWriteChannel();
    sim.waitForFinished(5000);
    return ok;
}

bool shootLanguage(const QDir& folder, const QString& language, const QString& definitionFile)
{
    QTemporaryDir settingsDir;
    auto store = std::make_unique<SettingsStore>(settingsDir.filePath(QStringLiteral("settings.ini")));
    store->writeString(QString::fromLatin1(settings::kLanguage), language == QLatin1String("jpn") ? "JPN" : "ENG");
    CVORMEXSettingToolApp app(std::move(store));
    app.ports = samplePorts();
    app.vormexSwitch = [](const VormexSwitchRequest&) {};
    app.launcher = [](const QString&, const QString&) { return true; };
    // Stand-ins for the machine's interfaces, on loopback: the find dialog's first range.
    app.networkInterfaces = [] { return QList<NetworkInterface>{{QStringLiteral("eth0"), kSiteFirstAddress, 24, true, false}}; };
    app.messageBox = [](QMessageBox::Icon, const QString& text, QMessageBox::StandardButtons) {
        QTextStream(stderr) << "message: " << text << Qt::endl;
        return QMessageBox::Ok;
    };
    StartupOptions options;
    options.definitionFile = definitionFile;
    app.InitInstance(options);

    bool ok = true;
    CMainFrame frame(app);
    frame.resize(CMainFrame::DefaultSize(app.app().japaneseUi != 0));
    frame.show();
    for (const Shot& shot : kPages) {
        frame.SwitchPage(shot.command);
        ok = save(frame, folder, QString::fromLatin1(shot.name), language) && ok;
    }

    // The system parameter page after a file was read.
    QTemporaryDir files;
    frame.SwitchPage(32819);
    auto* system = qobject_cast<CSystemSettingView*>(frame.page(kSystemParametersPage));
    if (system && system->ReadFile(writeSampleParameterFile(QDir(files.path()))))
        ok = save(frame, folder, QStringLiteral("system-parameters-file"), language) && ok;
    else
        ok = false;

    // The other pages of the initial-values group, through the group's tab.
    const char* const groupPages[] = {"font-tables", "drive-mapping", "response-commands"};
    for (int tab = 1; tab <= 3; ++tab) {
        frame.SetInitialValuesTab(tab);
        frame.SwitchPage(32820);
        ok = save(frame, folder, QString::fromLatin1(groupPages[tab - 1]), language) && ok;
    }
    frame.SetInitialValuesTab(0);
    ok = shootInitialTables(app, frame, folder, language, QDir(files.path())) && ok;

    ok = shootDownload(frame, app, folder, language) && ok;

    frame.SwitchPage(32818);
    ok = shootFindPrinters(app, frame, folder, language) && ok;

    // The printer settings page with a mistyped IP address.
    frame.SwitchPage(32818);
    CPrinterSettingView* printer = frame.printerSettings();
    printer->ipAddress()->setText(QStringLiteral("999.300..1"));
    emit printer->ipAddress()->editingFinished();
    ok = save(frame, folder, QStringLiteral("printer-settings-ip-error"), language) && ok;

    // And a port outside its range typed after it.
    auto* portEdit = printer->port()->findChild<QLineEdit*>();
    portEdit->selectAll();
    portEdit->insert(QStringLiteral("70000"));
    printer->port()->interpretText();
    ok = save(frame, folder, QStringLiteral("printer-settings-port-error"), language) && ok;

    // The printer settings page with a serial interface and manual control codes.
    for (const PrinterDefinition& entry : app.app().printerDefinitions) {
        if (entry.variableControlCodes && entry.name != QLatin1String("standard"))
            printer->printerList()->setCurrentIndex(printer->printerList()->findText(entry.name));
    }
    printer->interfaceList()->setCurrentIndex(printer->interfaceList()->findText(QStringLiteral("COM2")));
    if (printer->controlCodeType()->isVisibleTo(printer))
        printer->controlCodeType()->setCurrentIndex(3);
    ok = save(frame, folder, QStringLiteral("printer-settings-serial"), language) && ok;

    // Two of the looks besides the default one.
    for (const int look : {210, 216}) {
        frame.SetLook(look);
        ok = save(frame, folder, QStringLiteral("look-%1").arg(look), language) && ok;
    }
    frame.SetLook(213);

    // The keyboard focus, as after a Tab key, in three looks: on an edit and on the pressed
    // navigation button.
    frame.SwitchPage(32819);
    frame.activateWindow();
    settle();
    if (auto* page = qobject_cast<CSystemSettingView*>(frame.page(kSystemParametersPage))) {
        const std::pair<const char*, QWidget*> targets[] = {{"edit", page->control("LABEL LENGTH")},
                                                            {"navigation", frame.navigationBar()->button(1)}};
        for (const int look : {210, 213, 216}) {
            frame.SetLook(look);
            for (const auto& [what, control] : targets) {
                control->setFocus(Qt::TabFocusReason);
                frame.setAttribute(Qt::WA_KeyboardFocusChange);
                const QString name = QStringLiteral("focus-%1-look-%2").arg(QLatin1String(what)).arg(look);
                ok = save(frame, folder, name, language) && ok;
            }
        }
        frame.SetLook(213);
    }

    app.app().ttfDownloaderPath = QCoreApplication::applicationFilePath();
    CEnvironmentSheet sheet(app, frame, frame.look(), &frame);
    sheet.show();
    const char* const tabs[] = {"options-style", "options-downloader", "options-language"};
    for (int i = 0; i < 3; ++i) {
        sheet.tabs()->setCurrentIndex(i);
        ok = save(sheet, folder, QString::fromLatin1(tabs[i]), language) && ok;
    }

    // The downloader's browse dialog, opened on this program's own folder.
    sheet.tabs()->setCurrentIndex(1);
    QTimer::singleShot(0, &sheet, [&] {
        QFileDialog* browse = sheet.downloaderPage()->browseDialog();
        if (!browse)
            return;
        const auto* files = browse->findChild<QTreeView*>(QStringLiteral("treeView"));
        // The folder is read in the background: wait (bounded) for its first rows.
        const QDeadlineTimer deadline(3000);
        while (files && files->model()->rowCount(files->rootIndex()) == 0 && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ok = save(*browse, folder, QStringLiteral("options-downloader-browse"), language) && ok;
        browse->reject();
    });
    sheet.downloaderPage()->browseButton()->click();
    sheet.hide();

    // The parameter file download dialog as the system parameter page opens it.
    if (const PrinterDefinition* printer = app.app().selectedPrinter()) {
        const ParameterDownloadSetup setup = PrepareSystemParameterDownload(
            DefaultSystemParameters(*printer), *printer, app.app().controlCodes, app.app().strings);
        CFileDownloadProc dialog(app, setup, &frame);
        dialog.show();
        ok = save(dialog, folder, QStringLiteral("parameter-download-dialog"), language) && ok;
        dialog.hide();
    }

    AboutDialog about(app, &frame);
    about.show();
    ok = save(about, folder, QStringLiteral("about"), language) && ok;
    about.hide();
    frame.hide();
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The download dialog's job runs against the simulator in a fraction of the printer's time.
    if (qEnvironmentVariableIsEmpty("VORMEX_TIME_SCALE"))
        qputenv("VORMEX_TIME_SCALE", "0.02");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: vormex-gui-screenshots FOLDER [DEFINITION-FILE]\n");
        return 2;
    }
    QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create the folder %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QString definitionFile = args.size() > 2 ? args.at(2) : QString();
    bool ok = true;
    for (const QString& language : {QStringLiteral("jpn"), QStringLiteral("eng")})
        ok = shootLanguage(folder, language, definitionFile) && ok;
    return ok ? 0 : 1;
}
