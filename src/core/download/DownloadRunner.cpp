#include "download/DownloadRunner.h"

#include "download/DownloadSequence.h"
#include "timing/PacingClock.h"

#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace vormex {

struct DownloadRunner::Session {
    Session(LinkSettings settings, std::shared_ptr<DownloadObserver> observer)
        : progress(std::make_shared<DownloadProgress>(std::move(observer))), link(std::move(settings), progress)
    {
    }

    void markEnded()
    {
        {
            std::lock_guard lock(mutex);
            ended = true;
        }
        endedChanged.notify_all();
    }

    std::shared_ptr<DownloadProgress> progress;
    PrinterLink link;
    DownloadJob job;
    FileDownloadRequest request;
    bool firmwareHandshake = false;

    mutable std::mutex mutex;
    std::condition_variable endedChanged;
    bool ended = false;  // guarded by `mutex`
};

DownloadRunner::DownloadRunner(std::shared_ptr<Session> session) : session_(std::move(session)) {}

template <typename Engine>
std::unique_ptr<DownloadRunner> DownloadRunner::start(std::shared_ptr<Session> session, Engine runEngine)
{
    session->progress->workerRunning = true;
    std::unique_ptr<DownloadRunner> runner(new DownloadRunner(session));
    runner->thread_ = std::jthread([session, runEngine](std::stop_token stop) {
        // A stop request (the runner going away) is the user's cancel.
        const std::stop_callback cancelOnStop(stop, [&session] { session->link.RequestCancel(); });
        EngineContext context(session->link, *session->progress);
        runEngine(*session, context);
        session->markEnded();
    });
    return runner;
}

std::unique_ptr<DownloadRunner> DownloadRunner::StartJob(DownloadJob job, LinkSettings settings, bool firmwareHandshake,
                                                         std::shared_ptr<DownloadObserver> observer)
{
    auto session = std::make_shared<Session>(std::move(settings), std::move(observer));
    session->job = std::move(job);
    session->firmwareHandshake = firmwareHandshake;
    return start(std::move(session), [](Session& s, EngineContext& context) {
        DownloadSequence(s.job, context, s.firmwareHandshake).Run();
    });
}

std::unique_ptr<DownloadRunner> DownloadRunner::StartFileDownload(FileDownloadRequest request, LinkSettings settings,
                                                                  std::shared_ptr<DownloadObserver> observer)
{
    auto session = std::make_shared<Session>(std::move(settings), std::move(observer));
    session->request = std::move(request);
    return start(std::move(session), [](Session& s, EngineContext& context) {
        ParameterFileDownload(s.request, context).Run();
    });
}

DownloadRunner::~DownloadRunner()
{
    detachObserver();
    // std::jthread asks the engine to stop and joins it.
}

void DownloadRunner::RequestCancel() { session_->link.RequestCancel(); }

void DownloadRunner::detachObserver() { session_->progress->detachObserver(); }

bool DownloadRunner::running() const
{
    std::lock_guard lock(session_->mutex);
    return !session_->ended;
}

bool DownloadRunner::waitFinished(int timeoutMs)
{
    {
        std::unique_lock lock(session_->mutex);
        const auto deadline = std::chrono::steady_clock::now() + pacing::scaled(timeoutMs);
        if (!session_->endedChanged.wait_until(lock, deadline, [this] { return session_->ended; }))
            return false;
    }
    if (thread_.joinable())
        thread_.join();
    return true;
}

const DownloadProgress& DownloadRunner::progress() const { return *session_->progress; }

int DownloadRunner::displayedItemPercent() { return session_->progress->displayedItemPercent(session_->link.port()); }

}  // namespace vormex
