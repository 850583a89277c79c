// vormex-gui-screenshots FOLDER: saves a picture of every page and dialog of the desktop
// program in both languages (for example printer-settings-jpn.png, tools-eng.png). Runs with
// its own temporary settings, so the user's settings stay untouched.
#include "AboutDialog.h"
#include "MainFrame.h"
#include "EnvironmentSheet.h"
#include "PortCatalog.h"
#include "PrinterSettingView.h"
#include "VORMEXSettingToolApp.h"
#include "app/AppSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
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
    const QString path = folder.filePath(QStringLiteral("%1-%2.png").arg(name, language));
    const bool ok = widget.grab().save(path);
    QTextStream(stdout) << (ok ? "saved " : "FAILED ") << path << Qt::endl;
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

bool shootLanguage(const QDir& folder, const QString& language, const QString& definitionFile)
{
    QTemporaryDir settingsDir;
    auto store = std::make_unique<SettingsStore>(settingsDir.filePath(QStringLiteral("settings.ini")));
    store->writeString(QString::fromLatin1(settings::kLanguage), language == QLatin1String("jpn") ? "JPN" : "ENG");
    CVORMEXSettingToolApp app(std::move(store));
    app.ports = samplePorts();
    app.vormexSwitch = [](const VormexSwitchRequest&) {};
    app.launcher = [](const QString&, const QString&) { return true; };
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
