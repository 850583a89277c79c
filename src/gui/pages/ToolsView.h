#pragma once

#include <QWidget>

#include <array>
#include <atomic>
#include <memory>
#include <thread>

class QPushButton;

namespace vormex::gui {

class CVORMEXSettingToolApp;
class CPrinterSettingView;

// The tools page: VORMEX on, VORMEX off, and the TrueType font downloader.
class CToolsView : public QWidget {
    Q_OBJECT
public:
    CToolsView(CVORMEXSettingToolApp& app, const CPrinterSettingView* printerSettings, QWidget* parent = nullptr);
    ~CToolsView() override;

    // Sends "!Z" (on) or "!T" (off) off the user-interface thread; no message in any case.
    void SendVormexSwitch(bool on);
    // Starts the downloader in its own folder, without waiting for it.
    void LaunchTrueTypeDownloader();

    QPushButton* button(int i) const { return buttons_.at(static_cast<size_t>(i)); }
    // True while a switch is on its way (its buttons are disabled meanwhile).
    bool switchRunning() const { return worker_.joinable() && !workerDone_->load(); }
    // Waits for a running switch to end (tests).
    void waitForSwitch();

signals:
    void switchFinished();

private:
    void finishSwitch();

    CVORMEXSettingToolApp& app_;
    const CPrinterSettingView* printerSettings_;
    std::array<QPushButton*, 3> buttons_{};
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> workerDone_ = std::make_shared<std::atomic<bool>>(true);
};

}  // namespace vormex::gui
