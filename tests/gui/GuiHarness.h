#pragma once

#include "app/AppSettings.h"
#include "gui/application/PortCatalog.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/shell/MainFrame.h"

#include <QTemporaryDir>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace vormex::gui::test {

inline const QString kFixedPrinter = QStringLiteral("ORN Q-KA5");      // control codes fixed
inline const QString kVariablePrinter = QStringLiteral("ORN Q-KB4");   // control codes chosen

// An application object with its own settings file, two printers, fixed ports, and recorded
// messages, program starts and VORMEX switches.
class Harness {
public:
    struct Message {
        QMessageBox::Icon icon;
        QString text;
    };

    using Setting = std::pair<const QString, QVariant>;
    explicit Harness(std::initializer_list<Setting> stored = {});

    // The shipped definition file in place of the two bare printers, "ORN Q-KA5" selected. Call it
    // before the frame is created.
    void useShippedDefinitions();

    // Creates the main frame (pages filled, not shown). `factories` replace the default pages.
    CMainFrame& frame(const PageFactories& factories = DefaultPageFactories());
    void dropFrame() { frame_.reset(); }

    CVORMEXSettingToolApp& app() { return *app_; }
    Application& state() { return app_->app(); }
    QString storedString(const char* name) const;
    int storedInt(const char* name) const;
    SettingsStore& store() { return app_->store(); }
    QString settingsPath() const { return dir_.filePath(QStringLiteral("settings.ini")); }

    std::vector<Message> messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::vector<std::pair<QString, QString>> launches;
    std::shared_ptr<FixedPortCatalog> ports = std::make_shared<FixedPortCatalog>();
    // What the file dialogs answer, in turn; an empty path (or none left) cancels. The requests
    // are recorded.
    std::vector<QString> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;
    QString folder() const { return dir_.path(); }

    std::vector<VormexSwitchRequest> switches() const
    {
        std::lock_guard lock(switchMutex_);
        return switches_;
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<CVORMEXSettingToolApp> app_;
    std::unique_ptr<CMainFrame> frame_;
    mutable std::mutex switchMutex_;
    std::vector<VormexSwitchRequest> switches_;
};

}  // namespace vormex::gui::test
