// vormex-gui-screenshots FOLDER: saves a picture of every page and dialog of the desktop
// program in both languages (for example printer-settings-jpn.png, tools-eng.png), and beside
// each picture NAME.json, the widgets it shows (WidgetDump.h). Runs with its own temporary
// settings, so the user's settings stay untouched.
#include "AboutDialog.h"
#include "EnvironmentSheet.h"
#include "FileDownloadProc.h"
#include "MainFrame.h"
#include "PortCatalog.h"
#include "PrinterSettingView.h"
#include "SystemSettingView.h"
#include "VORMEXSettingToolApp.h"
#include "WidgetDump.h"
#include "app/AppSettings.h"
#include "pages/SystemSettingsModel.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

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

std::shared_ptr<FixedPortCatalog> samplePorts()
{
    auto ports = std::make_shared<FixedPortCatalog>();
    ports->serial = {{QStringLiteral("COM1"), QStringLiteral("/dev/ttyS0")},
                     {QStringLiteral("COM2"), QStringLiteral("/dev/ttyUSB0")}};
    ports->parallel = {{QStringLiteral("LPT1"), QStringLiteral("/dev/lp0")}};
    return ports;
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

    // The printer settings page with a mistyped IP address.
    frame.SwitchPage(32818);
    CPrinterSettingView* printer = frame.printerSettings();
    printer->ipAddress()->setText(QStringLiteral("999.300..1"));
    emit printer->ipAddress()->editingFinished();
    ok = save(frame, folder, QStringLiteral("printer-settings-ip-error"), language) && ok;

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
