#pragma once

#include "comm/PrinterLink.h"
#include "download/DownloadObserver.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

namespace vormex {

// What a download engine, its display and the answer listener share while a download runs: the
// log, the name of the file being sent, the step counters and the percents. The engine writes,
// a display reads from its timer; the record lives as long as the last of them holds it.
//
// The log and the file name are growing strings and are guarded by a mutex; the counters are
// atomics, which a display may read one tick stale. The observer is called under the same mutex,
// so once `detachObserver` has returned no call to the old observer is under way.
class DownloadProgress : public LinkObserver {
public:
    static constexpr int kStepsBeforeCounting = 99;  // total steps until the engine has counted them

    explicit DownloadProgress(std::shared_ptr<DownloadObserver> observer = nullptr);

    void setObserver(std::shared_ptr<DownloadObserver> observer);
    void detachObserver() { setObserver(nullptr); }

    // Appends a line and CR LF to the log and tells the observer (LinkObserver: the status texts
    // of the waits arrive here as well).
    void log(const QString& line) override;
    void clearLog();
    QString logText() const;
    // Tells the observer what the next log line does not say (not part of the log text).
    void detail(const QString& text);

    void setCurrentFile(const QString& name);
    QString currentFile() const;

    void startCounting(int totalSteps);
    // One step done: the item percent becomes 100 (0 while steps remain) and the job percent is
    // recomputed; the observer hears of it.
    void finishStep();
    // The engine has ended; `completed` is kept and passed to the observer.
    void finish(bool completed);

    std::atomic<int> totalSteps{kStepsBeforeCounting};
    std::atomic<int> stepsDone{0};
    std::atomic<int> itemPercent{0};
    std::atomic<int> jobPercent{0};
    std::atomic<bool> firmwareMode{false};
    std::atomic<qint64> firmwareBytesTotal{0};
    std::atomic<qint64> firmwareBytesSent{0};
    std::atomic<bool> workerRunning{false};
    std::atomic<bool> completed{false};

    // The item percent a display shows (refreshing `itemPercent`): the port's write progress
    // while it is tracked, else the firmware bytes sent in a firmware job, else the last value.
    int displayedItemPercent(const PrinterPort& port);

private:
    mutable std::mutex mutex_;
    QString log_;
    QString currentFile_;
    std::shared_ptr<DownloadObserver> observer_;
};

}  // namespace vormex
