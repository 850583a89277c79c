#include "download/DownloadProgress.h"

#include <cmath>

namespace vormex {

DownloadProgress::DownloadProgress(std::shared_ptr<DownloadObserver> observer) : observer_(std::move(observer)) {}

void DownloadProgress::setObserver(std::shared_ptr<DownloadObserver> observer)
{
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void DownloadProgress::log(const QString& line)
{
    std::lock_guard lock(mutex_);
    log_ += line;
    log_ += QStringLiteral("\r\n");
    if (observer_)
        observer_->logLine(line);
}

void DownloadProgress::detail(const QString& text)
{
    std::lock_guard lock(mutex_);
    if (observer_ && !text.isEmpty())
        observer_->detail(text);
}

void DownloadProgress::clearLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
}

// The copies handed to another thread are deep: the engine keeps appending to its own string.
QString DownloadProgress::logText() const
{
    std::lock_guard lock(mutex_);
    return QString(log_.constData(), log_.size());
}

void DownloadProgress::setCurrentFile(const QString& name)
{
    std::lock_guard lock(mutex_);
    if (currentFile_ == name)
        return;
    currentFile_ = name;
    if (observer_)
        observer_->currentFile(name);
}

QString DownloadProgress::currentFile() const
{
    std::lock_guard lock(mutex_);
    return QString(currentFile_.constData(), currentFile_.size());
}

void DownloadProgress::startCounting(int total)
{
    stepsDone = 0;
    totalSteps = total;
}

void DownloadProgress::finishStep()
{
    const int done = ++stepsDone;
    const int total = totalSteps.load();
    setCurrentFile(QString());
    if (done < total) {
        itemPercent = 0;
        jobPercent = static_cast<int>(std::lround(100.0 * done / total));
    } else {
        itemPercent = 100;
        jobPercent = 100;
    }
    std::lock_guard lock(mutex_);
    if (observer_)
        observer_->stepFinished(done, total, jobPercent.load());
}

void DownloadProgress::finish(bool completedNow)
{
    completed = completedNow;
    std::lock_guard lock(mutex_);
    if (observer_)
        observer_->finished(completedNow);
}

int DownloadProgress::displayedItemPercent(const PrinterPort& port)
{
    const int tracked = port.progressPercent.load();
    if (tracked != -1) {
        itemPercent = tracked;
    } else if (firmwareMode.load()) {
        const qint64 total = firmwareBytesTotal.load();
        if (total > 0)
            itemPercent = static_cast<int>((port.bytesDone.load() + firmwareBytesSent.load()) * 100 / total);
    }
    return itemPercent.load();
}

}  // namespace vormex
