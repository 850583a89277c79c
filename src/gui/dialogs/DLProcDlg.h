#pragma once

#include "comm/LinkSettings.h"
#include "download/DownloadJob.h"
#include "download/DownloadRunner.h"
#include "timing/PacingClock.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vormex::gui {

class CVORMEXSettingToolApp;

// The download dialog: runs one download job on the engine's own thread and shows its log, the
// file being sent and the progress of the item and of the whole job, refreshed every 100 ms.
// OK is offered once every step is done; Cancel while the job runs. Either stops the engine and
// closes the dialog when it has ended, after 60 s at the latest; an engine still inside a wait
// then is handed to the page (TakeEngine) and ends on its own.
class CDLProcDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 100;
    static constexpr int kCloseBoundMs = 60000;

    CDLProcDlg(CVORMEXSettingToolApp& app, DownloadJob job, LinkSettings link, bool firmwareHandshake,
               QWidget* parent = nullptr);
    ~CDLProcDlg() override;

    // OK and Cancel: stop the engine, wait for its end (at most 60 s), close with `result`.
    void Finish(int result);
    // One refresh of the display from the engine's progress.
    void OnTimer();

    bool engineStarted() const { return runner_ != nullptr; }
    bool engineRunning() const;
    bool closing() const { return closing_; }
    // The engine once the dialog has closed; it may still be finishing.
    std::unique_ptr<DownloadRunner> TakeEngine() { return std::move(runner_); }

    QPlainTextEdit* logView() const { return log_; }
    QLabel* fileName() const { return fileName_; }
    QProgressBar* itemBar() const { return itemBar_; }
    QProgressBar* jobBar() const { return jobBar_; }
    QLabel* itemPercent() const { return itemPercent_; }
    QLabel* jobPercent() const { return jobPercent_; }
    QLabel* jobBarLabel() const { return jobLabel_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    // Every step was done (OK is offered).
    void jobCompleted();

public slots:
    // Escape and the window's close button act as the buttons do.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void startEngine();
    void waitForEngineToClose();

    CVORMEXSettingToolApp& app_;
    DownloadJob job_;
    LinkSettings link_;
    bool handshake_ = false;
    std::unique_ptr<DownloadRunner> runner_;
    bool closing_ = false;
    int closeResult_ = QDialog::Rejected;
    std::optional<pacing::Deadline> closeDeadline_;
    bool completedSignalled_ = false;
    QString shownLog_;
    QString shownFile_;

    QPlainTextEdit* log_ = nullptr;
    QLabel* fileName_ = nullptr;
    QProgressBar* itemBar_ = nullptr;
    QLabel* itemPercent_ = nullptr;
    QLabel* jobLabel_ = nullptr;
    QProgressBar* jobBar_ = nullptr;
    QLabel* jobPercent_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* refresh_ = nullptr;
    QTimer* closeWait_ = nullptr;
};

}  // namespace vormex::gui
