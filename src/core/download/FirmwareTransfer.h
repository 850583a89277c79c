#pragma once

#include "download/DownloadJob.h"
#include "download/EngineContext.h"

#include <QtGlobal>

namespace vormex {

// The transfer of a firmware image to a printer in its download mode: the request, the wait for
// status 52, the image in blocks (with an acknowledgement per block where the printer entry
// asks for it) and the wait for the end of writing.
class FirmwareTransfer {
public:
    static constexpr int kBlockSize = 65536;
    static constexpr int kHandshakeSmallBlockSize = 8192;
    static constexpr int kAnnouncePauseMs = 2000;
    static constexpr int kLptAnnouncePauseMs = 17000;
    static constexpr int kLptLargeAnnouncePauseMs = 55000;
    static constexpr qint64 kLptLargeImageBytes = 0x405000;
    static constexpr int kReadyStatus = 52;
    static constexpr int kReadyTimeoutMs = 90000;
    static constexpr int kLptReadyPauseHandshakeMs = 1000;
    static constexpr int kLptReadyPauseMs = 1;
    static constexpr int kBlockStatus = 53;
    static constexpr int kBlockTimeoutMs = 30000;
    static constexpr int kLptBlockPauseMs = 1;
    static constexpr int kWrittenStatus = 56;
    static constexpr int kClosingPauseMs = 5000;
    static constexpr int kFinalWaitPer64KbMs = 1500;
    static constexpr int kFinalWaitUsbMs = 25000;
    static constexpr int kFinalWaitOtherMs = 10000;
    static constexpr int kUsbReadTimeoutMs = 1000;

    // `firmwareHandshake`: the printer entry acknowledges every block.
    FirmwareTransfer(const DownloadJob& job, EngineContext& context, bool firmwareHandshake);

    // 1 when the image was written and the printer confirmed it; 0 with the reason in the log.
    // A success counts the step done.
    int Run();

    // The block size at a block address.
    static int BlockSizeAt(std::uint32_t address, bool firmwareHandshake);
    // How long the final wait gives the printer (printers without handshake).
    static int FinalWaitMs(qint64 bytesInTotal, PortKind kind, bool qkbPrinter);

private:
    int sendBlocks(qint64 bytesInTotal);
    int finalWait(qint64 bytesInTotal);
    bool qkbPrinter() const;

    const DownloadJob& job_;
    EngineContext& context_;
    bool handshake_;
};

}  // namespace vormex
