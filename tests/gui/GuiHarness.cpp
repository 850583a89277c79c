#include "GuiHarness.h"

#include "definitions/DefinitionReader.h"

namespace vormex::gui::test {

Harness::Harness(std::initializer_list<Setting> initial)
{
    const std::map<QString, QVariant> stored(initial);
    {
        SettingsStore seed(settingsPath());
        seed.writeString(QString::fromLatin1(settings::kLanguage), QStringLiteral("JPN"));
        for (const auto& [name, value] : stored) {
            if (value.typeId() == QMetaType::Int)
                seed.writeInt(name, value.toInt());
            else
                seed.writeString(name, value.toString());
        }
        seed.sync();
    }
    app_ = std::make_unique<CVORMEXSettingToolApp>(std::make_unique<SettingsStore>(settingsPath()));
    app_->messageBox = [this](QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons) {
        messages.push_back({icon, text});
        return answer;
    };
    app_->launcher = [this](const QString& program, const QString& folder) {
        launches.emplace_back(program, folder);
        return true;
    };
    app_->vormexSwitch = [this](const VormexSwitchRequest& request) {
        std::lock_guard lock(switchMutex_);
        switches_.push_back(request);
    };
    app_->ports = ports;
    // Stand-ins for the machine's interfaces, on loopback: the find dialog starts with the first.
    app_->networkInterfaces = [] {
        return QList<NetworkInterface>{{QStringLiteral("eth0"), (127u << 24) | (0u << 16) | (9u << 8) | 20u, 24, true, false}};
    };
    app_->fileDialog = [this](QWidget*, const FileDialogRequest& request) {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return QString();
        const QString answer = fileAnswers.front();
        fileAnswers.erase(fileAnswers.begin());
        return answer;
    };

    StartupOptions options;
    options.definitionFile = dir_.filePath(QStringLiteral("none.xml"));
    app_->InitInstance(options);
    // Definitions of our own: "standard", a printer with fixed and one with chosen codes.
    PrinterDefinition standard;
    standard.name = QStringLiteral("standard");
    PrinterDefinition fixed;
    fixed.name = kFixedPrinter;
    PrinterDefinition variable;
    variable.name = kVariablePrinter;
    variable.variableControlCodes = 1;
    Application& app = app_->app();
    app.printerDefinitions = {standard, fixed, variable};
    if (app.selectedPrinterName.isEmpty() || !stored.count(QString::fromLatin1(settings::kPrinterName)))
        app.selectedPrinterName = kFixedPrinter;
}

void Harness::useShippedDefinitions()
{
    Application& app = app_->app();
    app.printerDefinitions.clear();
    LoadDefinitions(QStringLiteral(VORMEX_BIN_DIR "/VORMEX Setting Tool Parameter-JPN.XML"), app.printerDefinitions);
    app.selectedPrinterName = kFixedPrinter;
}

CMainFrame& Harness::frame(const PageFactories& factories)
{
    if (!frame_)
        frame_ = std::make_unique<CMainFrame>(*app_, factories);
    return *frame_;
}

QString Harness::storedString(const char* name) const
{
    return app_->store().readString(QString::fromLatin1(name), QStringLiteral("<absent>"));
}

int Harness::storedInt(const char* name) const { return app_->store().readInt(QString::fromLatin1(name), -12345); }

}  // namespace vormex::gui::test
