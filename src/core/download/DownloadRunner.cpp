#include "download/DownloadRunner.h"

#include "download/DownloadSequence.h"
#include "timing/PacingClock.h"

#include <future>
#include <stop_token>

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

    std::promise<void> ended;  // kept by the engine's thread once the engine has returned
    std::shared_future<void> endedSignal = ended.get_future().share();
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
        session->ended.set_value();
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
    return session_->endedSignal.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

bool DownloadRunner::waitFinished(int timeoutMs)
{
    if (session_->endedSignal.wait_for(pacing::scaled(timeoutMs)) != std::future_status::ready)
        return false;
    if (thread_.joinable())
        thread_.join();
    return true;
}

const DownloadProgress& DownloadRunner::progress() const { return *session_->progress; }

bool DownloadRunner::printerAnswered() const { return session_->link.printerAnswered(); }

int DownloadRunner::displayedItemPercent() { return session_->progress->displayedItemPercent(session_->link.port()); }

}  // namespace vormex
