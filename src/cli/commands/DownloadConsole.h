#pragma once

#include "download/DownloadRunner.h"

#include <QString>

#include <memory>

namespace vormex::cli {

// Exit status after Ctrl-C cancelled a download (128 + SIGINT).
inline constexpr int kExitInterrupted = 130;

// The progress line for a terminal `columns` wide: the item's bar and percent, the job's, and
// the file name shortened in the middle, never wider than columns - 1.
QString ProgressLine(const QString& file, int itemPercent, int jobPercent, int columns);
// `text` in at most `width` characters, its middle replaced by "..." when it is longer.
QString ElideMiddle(const QString& text, int width);

// Shows a running download on the terminal: the log lines on stderr as they come and, when
// stderr is a terminal, a progress bar for the item and the whole job. Ctrl-C cancels the
// download cleanly (the engine closes the port) instead of killing the program.
class DownloadConsole {
public:
    DownloadConsole();
    ~DownloadConsole();
    DownloadConsole(const DownloadConsole&) = delete;
    DownloadConsole& operator=(const DownloadConsole&) = delete;

    // The observer to hand to the runner.
    std::shared_ptr<DownloadObserver> observer() const;

    // Follows the runner to its end. Gives 0 when the download completed, 1 when it failed,
    // 130 when it was cancelled with Ctrl-C.
    int follow(DownloadRunner& runner);

    struct Screen;  // the terminal, shared with the observer

private:
    // What Ctrl-C may have left on the printer.
    static QString cancelNote(const DownloadRunner& runner);

    std::shared_ptr<Screen> screen_;
    bool previousHandlerSaved_ = false;
};

}  // namespace vormex::cli
