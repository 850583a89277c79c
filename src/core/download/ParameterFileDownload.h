#pragma once

#include "download/EngineContext.h"

#include <QByteArray>

namespace vormex {

// One parameter file to send from its page: which file, its prepared envelope and where it goes.
struct FileDownloadRequest {
    enum Kind { InitialTable = 0, SystemParameters = 1 };

    int kind = SystemParameters;
    QByteArray envelope;      // the store-file envelope of the file
    int startBlock = 0;
    int blockCount = 1;       // 2 when the printer's blocks are 128 KB
    bool vormexOnAfter = true;

    // The block count for a printer's storage block size.
    static int BlockCountFor(int blockSizeKb) { return blockSizeKb == 128 ? 2 : 1; }
};

// The worker of the parameter file download dialog: VORMEX off, the prepare command, the file,
// the wait, and VORMEX on again when asked.
class ParameterFileDownload {
public:
    static constexpr int kCommandPauseMs = 1000;    // after "!T" and "!Z"
    static constexpr int kFileSettlePauseMs = 5000; // after the prepare command and after the file

    ParameterFileDownload(const FileDownloadRequest& request, EngineContext& context);

    // Connects, runs the download and closes the connection. Leaves the result in the progress
    // record: completed when the done message was logged.
    void Run();
    // The steps between connecting and closing; 1 when the done message was logged.
    int RunFileDownload();

private:
    int startMessage() const;
    int doneMessage() const;
    int failedMessage() const;

    const FileDownloadRequest& request_;
    EngineContext& context_;
};

}  // namespace vormex
