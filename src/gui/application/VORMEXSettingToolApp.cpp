#include "gui/application/VORMEXSettingToolApp.h"

#include "app/AppSettings.h"
#include "base/StringIds.h"
#include "gui/application/PortCatalog.h"
#include "gui/application/SystemServices.h"
#include "gui/binding/GuiStrings.h"
#include "gui/widgets/AccessibleComboBox.h"
#include "gui/widgets/AccessibleLineEdit.h"
#include "gui/widgets/AccessibleTabBar.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>

namespace vormex::gui {

CVORMEXSettingToolApp::CVORMEXSettingToolApp(std::unique_ptr<SettingsStore> store)
    : launcher(&StartDetachedProgram), store_(std::move(store))
{
    // Screen readers hear a drop-down list by its caption and its entry, tabs that say which is
    // selected, and edits that take text set through them as typed.
    AccessibleComboBox::Install();
    AccessibleLineEdit::Install();
    AccessibleTabBar::Install();
    messageBox = [this](QMessageBox::Icon icon, const QString& message, QMessageBox::StandardButtons buttons) {
        // Messages of the string table break their lines with CR LF.
        QString shownText = message;
        shownText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QMessageBox box(icon, text(strings::kApplicationTitle), shownText, buttons, MessageParent());
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
    networkInterfaces = &SystemNetworkInterfaces;
    programPath = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

CVORMEXSettingToolApp::~CVORMEXSettingToolApp()
{
    if (qtTranslator_)
        QCoreApplication::removeTranslator(qtTranslator_.get());
}

void CVORMEXSettingToolApp::InitInstance(const StartupOptions& options)
{
    StartApplication(app_, *store_, options);
    installQtTranslation();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        app_.highColour = screen->depth() > 16 ? 1 : 0;
}

void CVORMEXSettingToolApp::installQtTranslation()
{
    // Qt's own dialogs speak the language of our texts: Japanese unless the English resources
    // are in use.
    const bool japaneseTexts = app_.japaneseUi != 0 || !app_.languageChoice.englishLoaded;
    if (!japaneseTexts || !QCoreApplication::instance() || qtTranslator_)
        return;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ja"), folder))
        return;
    qtTranslationFile_ = translator->filePath();
    QCoreApplication::installTranslator(translator.get());
    qtTranslator_ = std::move(translator);
}

QWidget* CVORMEXSettingToolApp::MessageParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(window) && window->isVisible())
            return window;
    }
    return nullptr;
}

void CVORMEXSettingToolApp::SaveCustomState() { saveControlCodes(*store_, app_.controlCodes); }

bool CVORMEXSettingToolApp::SaveSettings()
{
    constexpr int kFileUnwritable = 300111;
    if (store_->sync())
        return true;
    ShowMessage(QMessageBox::Warning, text(kFileUnwritable).arg(store_->filePath(), QString()).trimmed(), QMessageBox::Ok);
    return false;
}

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
