#pragma once

#include <QString>

namespace vormex {

// Receives what a download engine reports, on the engine's thread. A callback must not block
// for long and must not call back into the engine. Every method has an empty default, so an
// observer overrides only what it shows.
class DownloadObserver {
public:
    virtual ~DownloadObserver() = default;
    // One line of the log, in the current language, without the CR LF that ends it in the log.
    virtual void logLine(const QString& line) { (void)line; }
    // What the log's next message does not say itself: the device and the reason a connection
    // or a wait failed ("connection refused by 127.0.0.1:9101"). It is not part of the log
    // text; a console shows it on a line before that message.
    virtual void detail(const QString& text) { (void)text; }
    // The name of the file being sent; empty between files.
    virtual void currentFile(const QString& name) { (void)name; }
    // A step was counted done: the job percent is recomputed.
    virtual void stepFinished(int stepsDone, int totalSteps, int jobPercent)
    {
        (void)stepsDone, (void)totalSteps, (void)jobPercent;
    }
    // The engine has ended; `completed` when every counted step was done.
    virtual void finished(bool completed) { (void)completed; }
};

}  // namespace vormex
