#pragma once

#include "app/Application.h"
#include "base/SettingsStore.h"
#include "comm/LinkSettings.h"
#include "discovery/NetworkInterfaces.h"
#include "gui/application/FileDialogs.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

class QTranslator;
class QWidget;

namespace vormex::gui {

class PortCatalog;

// Starts a program detached: program path and working folder. Gives false when it could not.
using ProcessLauncher = std::function<bool(const QString& program, const QString& workingDir)>;

// Shows a message box: icon, text and buttons; gives the button that was pressed.
using MessageBoxFunction =
    std::function<QMessageBox::StandardButton(QMessageBox::Icon, const QString&, QMessageBox::StandardButtons)>;

// Asks the user for a file (FileDialogs.h); gives the chosen path, empty when cancelled.
using FileDialogFunction = std::function<QString(QWidget* parent, const FileDialogRequest&)>;

// What a VORMEX switch needs to reach the printer, captured when the button is pressed.
struct VormexSwitchRequest {
    bool on = true;
    LinkSettings link;
};
using VormexSwitchFunction = std::function<void(const VormexSwitchRequest&)>;

// The application object of the desktop program: the core application state, the settings
// store, and the services that the windows use (messages, process start, ports, the switch),
// replaceable by tests.
class CVORMEXSettingToolApp {
public:
    explicit CVORMEXSettingToolApp(std::unique_ptr<SettingsStore> store);
    ~CVORMEXSettingToolApp();
    CVORMEXSettingToolApp(const CVORMEXSettingToolApp&) = delete;
    CVORMEXSettingToolApp& operator=(const CVORMEXSettingToolApp&) = delete;

    // Start-up without windows: language, definitions, pre-selection, stored settings, the
    // display's colour depth.
    void InitInstance(const StartupOptions& options = {});
    // Exit: on a restart request empties "WindowsPos", saves the control codes and starts the
    // program again from its own folder; then drops the definitions.
    void ExitInstance();
    // Writes the control-code type and the three codes.
    void SaveCustomState();
    // Writes the settings store's pending changes now; a settings file that cannot take them is
    // said in a message. False then.
    bool SaveSettings();

    Application& app() { return app_; }
    const Application& app() const { return app_; }
    SettingsStore& store() { return *store_; }
    QString text(int id) const { return app_.strings.text(id); }

    // Services (defaults: message boxes, QProcess::startDetached, the system's ports and
    // network interfaces, the printer switch over the port layer, the platform's file dialogs).
    MessageBoxFunction messageBox;
    ProcessLauncher launcher;
    VormexSwitchFunction vormexSwitch;
    FileDialogFunction fileDialog;
    std::shared_ptr<PortCatalog> ports;
    // The machine's network interfaces: the find dialog starts with the first one's subnet.
    std::function<QList<NetworkInterface>()> networkInterfaces;
    // The device path of the USB printer chosen on the printer settings page (set by the main
    // frame); empty when none is chosen.
    std::function<QString()> selectedUsbDevicePath;

    // The running program, started again after a language change.
    QString programPath;

    QString SelectedUsbDevicePath() const { return selectedUsbDevicePath ? selectedUsbDevicePath() : QString(); }

    QMessageBox::StandardButton ShowMessage(QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);

    // The window a message box belongs over: the modal dialog or the active window, else the
    // main window once it is shown; nullptr before any window is.
    static QWidget* MessageParent();
    // The translation of Qt's own texts (file dialog, standard buttons) that InitInstance
    // installed; empty when they stay English (English resources in use, or none installed).
    QString qtTranslationFile() const { return qtTranslationFile_; }

private:
    void installQtTranslation();

    std::unique_ptr<SettingsStore> store_;
    Application app_;
    std::unique_ptr<QTranslator> qtTranslator_;
    QString qtTranslationFile_;
};

}  // namespace vormex::gui
