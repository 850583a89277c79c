#pragma once

#include "comm/LinkSettings.h"
#include "download/DownloadJob.h"
#include "download/DownloadObserver.h"
#include "download/DownloadProgress.h"
#include "download/ParameterFileDownload.h"

#include <memory>
#include <thread>

namespace vormex {

// Runs one download engine on its own thread. The engine's state (the job or request, the link
// and the progress record) is shared by the runner and the thread, so a late thread touches
// nothing that is gone; an observer that goes away detaches and hears nothing more while the
// engine carries on. The runner owns the thread: going away it cancels the engine and joins it
// (a cancelled engine ends within a wait's 100 ms slice).
class DownloadRunner {
public:
    // The download dialog's job. `firmwareHandshake`: the printer entry acknowledges every block.
    static std::unique_ptr<DownloadRunner> StartJob(DownloadJob job, LinkSettings settings, bool firmwareHandshake,
                                                    std::shared_ptr<DownloadObserver> observer = nullptr);
    // The parameter file download dialog's file.
    static std::unique_ptr<DownloadRunner> StartFileDownload(FileDownloadRequest request, LinkSettings settings,
                                                             std::shared_ptr<DownloadObserver> observer = nullptr);

    ~DownloadRunner();
    DownloadRunner(const DownloadRunner&) = delete;
    DownloadRunner& operator=(const DownloadRunner&) = delete;

    // The user's cancel: a wait under way returns within 100 ms, the engine stops before its
    // next step or firmware block.
    void RequestCancel();
    void detachObserver();

    bool running() const;
    // Waits until the engine has ended, at most `timeoutMs` (scaled); true when it has.
    bool waitFinished(int timeoutMs);

    const DownloadProgress& progress() const;
    // The printer has answered at least one frame during the run.
    bool printerAnswered() const;
    // The item percent a display shows now (the port's write progress, or the firmware bytes).
    int displayedItemPercent();

private:
    struct Session;
    explicit DownloadRunner(std::shared_ptr<Session> session);

    template <typename Engine>
    static std::unique_ptr<DownloadRunner> start(std::shared_ptr<Session> session, Engine runEngine);

    std::shared_ptr<Session> session_;
    std::jthread thread_;
};

}  // namespace vormex
