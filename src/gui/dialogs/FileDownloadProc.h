#pragma once

#include "comm/LinkSettings.h"
#include "pages/SystemSettingsModel.h"
#include "timing/PacingClock.h"

#include <QDialog>
#include <QTimer>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vormex {
class DownloadRunner;
}

namespace vormex::gui {

class CVORMEXSettingToolApp;
class SpinEdit;

// The parameter file download dialog: sends one parameter file (the system parameters, kind
// 1, or the initial values and tables, kind 0) that its page has prepared. The user may change
// the start block within the printer's BASIC area and chooses whether VORMEX is started again
// afterwards; the start button runs the download on the engine's own thread, and a 100 ms timer
// shows the log and the progress. OK becomes available when the engine has ended. OK or Cancel
// stop the engine and close the dialog once it has ended, after 60 seconds at most: the
// engine's state is shared with its thread and outlives the dialog.
class CFileDownloadProc : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTimerMs = 100;
    static constexpr int kCloseWaitMs = 60000;

    // The connection is taken from the application's current choices (for USB the printer
    // chosen on the printer settings page) when the dialog opens.
    CFileDownloadProc(CVORMEXSettingToolApp& app, const ParameterDownloadSetup& setup, QWidget* parent = nullptr);
    ~CFileDownloadProc() override;

    // The start button: the start block's range check, then the download. True when it started.
    bool OnStart();

    bool running() const;
    bool ended() const { return ended_; }
    bool completed() const { return completed_; }
    const LinkSettings& link() const { return link_; }
    const ParameterDownloadSetup& setup() const { return setup_; }

    SpinEdit* startBlock() const { return startBlock_; }
    QCheckBox* vormexOnAfter() const { return vormexOn_; }
    QPushButton* startButton() const { return start_; }
    QPlainTextEdit* log() const { return log_; }
    QProgressBar* progress() const { return progress_; }
    QLabel* percent() const { return percent_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void accept() override;
    void reject() override;

signals:
    // The engine has ended and the dialog shows it (OK enabled).
    void downloadEnded(bool completed);

private:
    void buildControls();
    void refresh();
    void closeAfterEngine(int result);
    void pollClosing();

    CVORMEXSettingToolApp& app_;
    ParameterDownloadSetup setup_;
    LinkSettings link_;
    std::unique_ptr<DownloadRunner> runner_;
    QTimer timer_;
    QTimer closing_;
    std::optional<pacing::Deadline> closeDeadline_;
    int closeResult_ = 0;
    bool ended_ = false;
    bool completed_ = false;
    QString shownLog_;

    SpinEdit* startBlock_ = nullptr;
    QCheckBox* vormexOn_ = nullptr;
    QPushButton* start_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* percent_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace vormex::gui
