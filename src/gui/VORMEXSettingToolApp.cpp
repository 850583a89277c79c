#include "VORMEXSettingToolApp.h"

#include "app/AppSettings.h"
#include "base/StringIds.h"
#include "GuiStrings.h"
#include "PortCatalog.h"
#include "SystemServices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace vormex::gui {

CVORMEXSettingToolApp::CVORMEXSettingToolApp(std::unique_ptr<SettingsStore> store)
    : launcher(&StartDetachedProgram), store_(std::move(store))
{
    messageBox = [this](QMessageBox::Icon icon, const QString& message, QMessageBox::StandardButtons buttons) {
        // Messages of the string table break their lines with CR LF.
        QString shownText = message;
        shownText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QMessageBox box(icon, text(strings::kApplicationTitle), shownText, buttons);
        const std::pair<QMessageBox::StandardButton, int> captions[] = {
            {QMessageBox::Ok, text::kButtonOk},
            {QMessageBox::Cancel, text::kButtonCancel},
            {QMessageBox::Yes, text::kButtonYes},
            {QMessageBox::No, text::kButtonNo},
        };
        for (const auto& [button, id] : captions) {
            if (QAbstractButton* shown = box.button(button); shown && !text(id).isEmpty())
                shown->setText(text(id));
        }
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    vormexSwitch = &SendVormexSwitchOverPort;
    fileDialog = &ShowFileDialog;
    ports = std::make_shared<SystemPortCatalog>(store_.get());
    programPath = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

CVORMEXSettingToolApp::~CVORMEXSettingToolApp() = default;

void CVORMEXSettingToolApp::InitInstance(const StartupOptions& options)
{
    StartApplication(app_, *store_, options);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        app_.highColour = screen->depth() > 16 ? 1 : 0;
}

void CVORMEXSettingToolApp::SaveCustomState() { saveControlCodes(*store_, app_.controlCodes); }

void CVORMEXSettingToolApp::ExitInstance()
{
    if (app_.restartRequested) {
        store_->writeString(QString::fromLatin1(settings::kWindowsPos), QString());
        SaveCustomState();
        store_->sync();
        if (launcher && !programPath.isEmpty())
            launcher(programPath, QFileInfo(programPath).absolutePath());
    }
    app_.printerDefinitions.clear();
    store_->sync();
}

QMessageBox::StandardButton CVORMEXSettingToolApp::ShowMessage(QMessageBox::Icon icon, const QString& message,
                                                               QMessageBox::StandardButtons buttons)
{
    return messageBox ? messageBox(icon, message, buttons) : QMessageBox::Ok;
}

}  // namespace vormex::gui
