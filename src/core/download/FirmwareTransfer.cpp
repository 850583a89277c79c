#include "download/FirmwareTransfer.h"

#include "comm/AnswerFrame.h"
#include "download/DownloadMessages.h"
#include "download/FirmwareImage.h"

namespace vormex {

using namespace download_messages;

namespace {

bool inSmallBlockRange(std::uint32_t address)
{
    return (address >= 0x7F0000u && address <= 0x7FE000u) || (address >= 0x8FF0000u && address <= 0x8FFE000u);
}

}  // namespace

FirmwareTransfer::FirmwareTransfer(const DownloadJob& job, EngineContext& context, bool firmwareHandshake)
    : job_(job), context_(context), handshake_(firmwareHandshake)
{
}

int FirmwareTransfer::BlockSizeAt(std::uint32_t address, bool firmwareHandshake)
{
    return firmwareHandshake && inSmallBlockRange(address) ? kHandshakeSmallBlockSize : kBlockSize;
}

int FirmwareTransfer::FinalWaitMs(qint64 bytesInTotal, PortKind kind, bool qkbPrinter)
{
    const bool usb = kind == PortKind::Usb;
    int timeout = static_cast<int>(bytesInTotal / 65536) * kFinalWaitPer64KbMs + (usb ? kFinalWaitUsbMs : kFinalWaitOtherMs);
    if (qkbPrinter && usb)
        timeout /= 2;
    return timeout;
}

bool FirmwareTransfer::qkbPrinter() const { return context_.settings().printerName.startsWith(QLatin1String("Q-KB")); }

int FirmwareTransfer::Run()
{
    const DownloadItem& item = job_.item(DownloadItem::Firmware);
    const QByteArray& image = item.bytes;
    const qint64 bytesInTotal = FirmwareBytesInTotal(image.size());
    DownloadProgress& progress = context_.progress();
    PrinterLink& link = context_.link();
    const PortKind kind = context_.portKind();
    const bool lpt = kind == PortKind::Lpt;

    context_.trackWrite(false);
    progress.setCurrentFile(item.text);
    progress.firmwareBytesTotal = bytesInTotal;
    progress.firmwareBytesSent = 0;

    context_.log(kPreparing);
    link.setAnswer(kNoAnswer);
    if (!context_.port().Write(job_.firmwareRequest)) {
        context_.log(kDownloadFailed);
        return 0;
    }
    int announcePause = kAnnouncePauseMs;
    if (lpt)
        announcePause = bytesInTotal <= kLptLargeImageBytes ? kLptAnnouncePauseMs : kLptLargeAnnouncePauseMs;
    if (!context_.pause(announcePause))
        return 0;

    if (!context_.port().Write(image.constData(), 4)) {
        context_.log(kFirmwareFailed);
        return 0;
    }
    if (!link.WaitForStatus(kReadyStatus, kReadyTimeoutMs, handshake_ ? kLptReadyPauseHandshakeMs : kLptReadyPauseMs))
        return 0;
    context_.log(kPrepared);
    context_.log(kFirmwareStart);

    if (!sendBlocks(bytesInTotal))
        return 0;
    if (!handshake_ && !finalWait(bytesInTotal))
        return 0;

    if (!context_.pause(kClosingPauseMs))
        return 0;
    link.setListenerPaused(false);
    context_.log(kFirmwareDone);
    context_.trackWrite(false);
    progress.finishStep();
    return 1;
}

int FirmwareTransfer::sendBlocks(qint64 bytesInTotal)
{
    const QByteArray& image = job_.item(DownloadItem::Firmware).bytes;
    DownloadProgress& progress = context_.progress();
    PrinterLink& link = context_.link();
    const PortKind kind = context_.portKind();
    const bool acknowledged = handshake_ || kind == PortKind::Com;
    std::uint32_t address = job_.firmwareStartAddress;
    qint64 sent = 0;

    while (sent < bytesInTotal) {
        if (context_.cancelled())
            return 0;
        const qint64 size = std::min<qint64>(BlockSizeAt(address, handshake_), bytesInTotal - sent);
        link.setListenerPaused(true);
        link.setAnswer(kNoAnswer);
        if (!context_.writeStore(image.constData() + 4 + sent, static_cast<int>(size), kFirmwareFailed)) {
            link.setListenerPaused(false);
            return 0;
        }
        address += static_cast<std::uint32_t>(size);
        link.setListenerPaused(false);
        context_.port().bytesDone = 0;
        sent += size;
        progress.firmwareBytesSent = sent;
        if (sent >= bytesInTotal)
            break;
        if (acknowledged && !link.WaitForStatus(kBlockStatus, kBlockTimeoutMs, kLptBlockPauseMs))
            return 0;
    }
    return 1;
}

int FirmwareTransfer::finalWait(qint64 bytesInTotal)
{
    const PortKind kind = context_.portKind();
    if (kind == PortKind::Lpt)
        return 1;
    const bool qkbUsb = qkbPrinter() && kind == PortKind::Usb;
    const pacing::Deadline deadline(FinalWaitMs(bytesInTotal, kind, qkbPrinter()));
    PrinterLink& link = context_.link();
    LinkState& state = *link.state();
    while (!state.stop.load() && !context_.cancelled()) {
        // No listener runs on USB: the wait reads the answers itself; a failed read ends it
        // without a message.
        if (kind == PortKind::Usb && !link.ReadAnswer(kUsbReadTimeoutMs))
            return 0;
        const int answer = state.answer.load();
        if (answer == kWrittenStatus || kind == PortKind::Com)
            return 1;
        if (answer != kNoAnswer)
            break;
        if (deadline.expired()) {
            if (qkbUsb)
                return 1;
            break;
        }
        context_.pause(PrinterLink::kPollMs);
    }
    context_.progress().log(StatusText(state.answer.load(), context_.settings().strings));
    return 0;
}

}  // namespace vormex
