#include "comm/ParameterReadBack.h"

#include "base/StringIds.h"
#include "codec/Codec.h"
#include "comm/CommandFraming.h"
#include "comm/DeviceInfo.h"
#include "comm/DeviceText.h"
#include "comm/PrinterPort.h"
#include "timing/PacingClock.h"

#include <cerrno>
#include <cstring>

namespace vormex {
namespace {

const QByteArray kFrameTail("\x03\x04\x0D\x0A", 4);
const QByteArray kFrameHead("\x01\x02", 2);

// False when `cancel` cut the pause short.
bool pauseUnlessCancelled(int milliseconds, const std::atomic<bool>* cancel)
{
    if (cancel)
        return pacing::pause(milliseconds, *cancel);
    pacing::pause(milliseconds);
    return true;
}

ReadBackResult failure(const StringTable& table, int messageId, QByteArray received = {})
{
    ReadBackResult result;
    result.messageId = messageId;
    result.message = table.text(messageId);
    result.received = std::move(received);
    return result;
}

QString describeReceiveFailure(ReceiveOutcome outcome, const QString& device, int error, qsizetype received)
{
    switch (outcome) {
    case ReceiveOutcome::WriteFailed:
        return QStringLiteral("%1: the request could not be sent (%2)").arg(device, QString::fromLocal8Bit(std::strerror(error)));
    case ReceiveOutcome::ReadFailed:
        if (error == ECANCELED)
            return QStringLiteral("%1: the read-back was cancelled after %2 bytes").arg(device).arg(received);
        // A read without a system error is a LAN read that waited in vain or found the
        // connection closed: the printer said nothing more.
        if (error != 0)
            return QStringLiteral("%1: the connection broke off after %2 bytes (%3)")
                .arg(device).arg(received).arg(QString::fromLocal8Bit(std::strerror(error)));
        [[fallthrough]];
    case ReceiveOutcome::Silent:
        return received == 0 ? QStringLiteral("no answer from %1").arg(device)
                             : QStringLiteral("%1: the reply stopped after %2 bytes").arg(device).arg(received);
    case ReceiveOutcome::BufferFull:
        return QStringLiteral("%1: the reply did not end within %2 bytes").arg(device).arg(received);
    case ReceiveOutcome::Complete:
        break;
    }
    return {};
}

// Steps shared by both read-backs: open, exchange, close, work file, unframe. On success
// `content` holds the reply's text (nullopt with `result` set on failure).
std::optional<QString> exchangeWithPrinter(const LinkSettings& link, const ReadBackExchange& exchange, bool dropLineEnd,
                                           const ReceivedBytesHook& keepReceived, ReadBackResult& result)
{
    const StringTable& table = link.strings;
    DeviceInfoParts parts;
    // Only the two-way interfaces LAN, COM and USB are asked: unlike opening a port, where
    // every unknown kind text means USB, any other kind text ends the read-back silently.
    const bool usable = SplitDeviceInfo(link.deviceInfo, parts);
    const bool usb = usable && parts.kind.startsWith(QLatin1String("USB"));
    if (!usable || !(usb || parts.kind.startsWith(QLatin1String("LAN")) || parts.kind.startsWith(QLatin1String("COM")))) {
        result.silent = true;
        return std::nullopt;
    }
    if (usb) {
        parts.address = link.usbDevicePath;
        if (parts.address.isEmpty()) {
            result = failure(table, strings::kDeviceOpenError);
            result.detail = DescribeOpenFailure(parts, ENOENT, link.portMap);
            return std::nullopt;
        }
    }
    if (link.cancel && link.cancel->load()) {
        result = failure(table, strings::kParameterGetFailed);
        result.detail = QStringLiteral("%1: the read-back was cancelled before it began").arg(link.deviceInfo);
        return std::nullopt;
    }
    QByteArray received;
    {
        PrinterPort port(link.portMap);
        port.setCancelFlag(link.cancel.get());
        port.progressPercent = -1;
        if (!port.Open(parts.kind, parts.address, false)) {
            result = failure(table, strings::kDeviceOpenError);
            result.detail = port.describeOpenFailure(parts);
            return std::nullopt;
        }
        const ReceiveOutcome outcome = ReceiveParameterFile(port, link.codes, exchange, received, link.cancel.get());
        const int error = int(port.lastError.load());
        port.Close();
        if (outcome != ReceiveOutcome::Complete) {
            result = failure(table, strings::kParameterGetFailed, received);
            result.detail = describeReceiveFailure(outcome, link.deviceInfo, error, received.size());
            return std::nullopt;
        }
    }
    if (keepReceived) {
        const QString error = keepReceived(received);
        if (!error.isEmpty()) {
            result = failure(table, 0, received);
            result.message = error;
            return std::nullopt;
        }
    }
    const std::optional<QByteArray> content = UnframeParameterReply(received, dropLineEnd, QByteArray(exchange.fileName));
    if (!content) {
        result = failure(table, strings::kParameterGetFailed, received);
        return std::nullopt;
    }
    const QString text = codec::fromPrinterCodePage(*content);
    if (text == QLatin1String("NO FILE")) {
        result = failure(table, strings::kParameterNotInPrinter, received);
        return std::nullopt;
    }
    if (!text.startsWith(QLatin1String(exchange.fileName))) {
        result = failure(table, strings::kParameterGetFailed, received);
        return std::nullopt;
    }
    result.received = received;
    // The file name and the one separator character after it are dropped.
    return text.mid(static_cast<qsizetype>(qstrlen(exchange.fileName)) + 1);
}

ReadBackResult checkFailure(const StringTable& table, ParameterFileKind kind, const ParameterCheckState& state,
                            QString text, QByteArray received)
{
    ReadBackResult result;
    result.message = ParameterErrorMessage(kind, state, table);
    result.checkFailed = true;
    result.text = std::move(text);
    result.received = std::move(received);
    return result;
}

ReadBackResult success(const StringTable& table, QString text, QByteArray received)
{
    ReadBackResult result;
    result.result = 1;
    result.messageId = strings::kParameterGetDone;
    result.message = table.text(strings::kParameterGetDone);
    result.text = std::move(text);
    result.received = std::move(received);
    return result;
}

}  // namespace

ReceiveOutcome ReceiveParameterFile(PrinterPort& port, const ControlCodes& codes, const ReadBackExchange& exchange,
                                    QByteArray& received, const std::atomic<bool>* cancel)
{
    received.clear();
    if (!port.Write(FrameShortCommand(exchange.letters, codes)))
        return ReceiveOutcome::WriteFailed;
    if (!pauseUnlessCancelled(exchange.pauseBeforeReadMs, cancel)) {
        port.lastError = ECANCELED;
        return ReceiveOutcome::ReadFailed;
    }
    QByteArray buffer(exchange.capacity, '\0');
    int count = 0;
    // COM and USB reads that wait in vain succeed without data: a printer that stays silent
    // for the read time-out ends the exchange as a LAN read would.
    pacing::Deadline silence(exchange.readTimeoutMs);
    while (!(count >= 4 && buffer.mid(count - 4, 4) == kFrameTail)) {
        if (count >= exchange.capacity) {
            received = buffer.left(count);
            return ReceiveOutcome::BufferFull;
        }
        int got = 0;
        if (!port.Read(buffer.data() + count, exchange.capacity - count, exchange.readTimeoutMs, got)) {
            received = buffer.left(count);
            return ReceiveOutcome::ReadFailed;
        }
        if (got > 0) {
            count += got;
            silence = pacing::Deadline(exchange.readTimeoutMs);
        } else if (silence.expired()) {
            received = buffer.left(count);
            return ReceiveOutcome::Silent;
        }
    }
    received = buffer.left(count);
    return ReceiveOutcome::Complete;
}

std::optional<QByteArray> UnframeParameterReply(const QByteArray& received, bool dropLineEnd, const QByteArray& fileName)
{
    const qsizetype n = received.size();
    std::optional<QByteArray> first;
    for (qsizetype i = received.indexOf(kFrameHead); i >= 0; i = received.indexOf(kFrameHead, i + 1)) {
        for (qsizetype j = n - 4; j >= i + 2; --j) {
            if (received.mid(j, 4) != kFrameTail)
                continue;
            qsizetype end = j;
            if (dropLineEnd && end - 2 >= i + 2 && received[end - 2] == '\r' && received[end - 1] == '\n')
                end -= 2;
            const QByteArray content = received.mid(i + 2, end - (i + 2));
            // Bytes before the reply (an earlier status answer) are skipped.
            if (fileName.isEmpty() || content == "NO FILE" || content.startsWith(fileName))
                return content;
            if (!first)
                first = content;
            break;
        }
    }
    return first;
}

ReadBackResult ReadParameterFileBack(ParameterFileKind kind, const LinkSettings& link, const ReadBackCheck& check,
                                     const ReceivedBytesHook& keepReceived)
{
    const bool system = kind == ParameterFileKind::SystemParameters;
    ReadBackResult result;
    const std::optional<QString> text = exchangeWithPrinter(
        link, system ? kSystemParameterExchange : kInitialTableExchange, system, keepReceived, result);
    if (!text)
        return result;
    ParameterCheckState scratch;
    ParameterCheckState& state = check.state ? *check.state : scratch;
    const bool valid = check.printer
                       && (system ? ValidateSystemParameterText(*check.printer, *text, check.labelShiftOmitted, state)
                                  : ValidateSectionFile(*check.printer, *text, check.labelShiftOmitted, state));
    if (!valid)
        return checkFailure(link.strings, kind, state, *text, result.received);
    return success(link.strings, *text, result.received);
}

}  // namespace vormex
