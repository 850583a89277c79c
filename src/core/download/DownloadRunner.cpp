#include "download/DownloadRunner.h"

#include "download/DownloadSequence.h"
#include "timing/PacingClock.h"

#include <chrono>

namespace vormex {

struct DownloadRunner::Session {
    Session(LinkSettings settings, std::shared_ptr<DownloadObserver> observer)
        : progress(std::make_shared<DownloadProgress>(std::move(observer))), link(std::move(settings), progress)
    {
    }

    std::shared_ptr<DownloadProgress> progress;
    PrinterLink link;
    DownloadJob job;
    FileDownloadRequest request;
    bool firmwareHandshake = false;
    std::atomic<bool> ended{false};
};

DownloadRunner::DownloadRunner(std::shared_ptr<Session> session) : session_(std::move(session)) {}

std::unique_ptr<DownloadRunner> DownloadRunner::StartJob(DownloadJob job, LinkSettings settings, bool firmwareHandshake,
                                                         std::shared_ptr<DownloadObserver> observer)
{
    auto session = std::make_shared<Session>(std::move(settings), std::move(observer));
    session->job = std::move(job);
    session->firmwareHandshake = firmwareHandshake;
    session->progress->workerRunning = true;
    std::unique_ptr<DownloadRunner> runner(new DownloadRunner(session));
    runner->thread_ = std::thread([session] {
        EngineContext context(session->link, *session->progress);
        DownloadSequence(session->job, context, session->firmwareHandshake).Run();
        session->ended = true;
    });
    return runner;
}

std::unique_ptr<DownloadRunner> DownloadRunner::StartFileDownload(FileDownloadRequest request, LinkSettings settings,
                                                                  std::shared_ptr<DownloadObserver> observer)
{
    auto session = std::make_shared<Session>(std::move(settings), std::move(observer));
    session->request = std::move(request);
    session->progress->workerRunning = true;
    std::unique_ptr<DownloadRunner> runner(new DownloadRunner(session));
    runner->thread_ = std::thread([session] {
        EngineContext context(session->link, *session->progress);
        ParameterFileDownload(session->request, context).Run();
        session->ended = true;
    });
    return runner;
}

DownloadRunner::~DownloadRunner()
{
    detachObserver();
    if (!thread_.joinable())
        return;
    if (session_->ended.load())
        thread_.join();
    else
        thread_.detach();
}

void DownloadRunner::RequestCancel() { session_->link.RequestCancel(); }

void DownloadRunner::detachObserver() { session_->progress->detachObserver(); }

bool DownloadRunner::running() const { return !session_->ended.load(); }

bool DownloadRunner::waitFinished(int timeoutMs)
{
    const pacing::Deadline deadline(timeoutMs);
    while (!session_->ended.load()) {
        if (deadline.expired())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (thread_.joinable())
        thread_.join();
    return true;
}

const DownloadProgress& DownloadRunner::progress() const { return *session_->progress; }

int DownloadRunner::displayedItemPercent() { return session_->progress->displayedItemPercent(session_->link.port()); }

}  // namespace vormex
