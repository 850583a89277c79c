#include "comm/PrinterLink.h"

#include "comm/CommandFraming.h"
#include "comm/DeviceText.h"
#include "timing/PacingClock.h"

namespace vormex {
namespace {

// Parses the bytes of one read into the shared answer and keeps the first error status.
void takeAnswers(LinkState& state, AnswerAssembler& assembler, const QByteArray& bytes)
{
    int answer = state.answer.load();
    int error = kNoAnswer;
    if (assembler.feed(bytes, answer, &error)) {
        state.answer = answer;
        state.answered = true;
    }
    if (error != kNoAnswer) {
        int none = kNoAnswer;
        state.errorStatus.compare_exchange_strong(none, error);
    }
}

// The answer listener: reads the printer's frames while the worker writes, until stopped.
// Bytes of a frame split between two reads are kept and joined with the next read.
// A read that waits on the device (the socket, the serial line's read time-out) is the pause
// between two looks, so an answer is taken the moment it arrives; the fixed pause is kept after a
// read that comes back at once without data (a closed connection must not make the loop spin).
// While paused the listener looks at its flags often, so a resumed wait is not held up.
void listen(std::shared_ptr<LinkState> state)
{
    AnswerAssembler assembler;
    char buffer[PrinterLink::kListenerReadSize];
    while (!state->stop.load()) {
        if (state->listenerPaused.load() || !state->port.isOpen.load()) {
            pacing::pause(PrinterLink::kListenerPausedPollMs, state->stop);
            continue;
        }
        int count = 0;
        const bool lan = state->port.portKind() == PortKind::Lan;
        const pacing::Deadline waitedLongEnough(lan ? PrinterLink::kListenerLanReadMs / 2 : PrinterLink::kListenerPausedPollMs);
        const int read = state->port.Read(buffer, sizeof buffer, lan ? PrinterLink::kListenerLanReadMs : 0, count);
        if (read && count > 0) {
            takeAnswers(*state, assembler, QByteArray(buffer, count));
            continue;
        }
        if (!waitedLongEnough.expired())
            pacing::pause(PrinterLink::kListenerSleepMs, state->stop);
    }
    state->listenerRunning = false;
}

bool nameBegins(const QString& name, const char* prefix) { return name.startsWith(QLatin1String(prefix)); }

}  // namespace

PrinterLink::PrinterLink(LinkSettings settings, std::shared_ptr<LinkObserver> observer)
    : state_(std::make_shared<LinkState>(std::move(settings)))
{
    state_->observer = std::move(observer);
    state_->port.setCancelFlag(&state_->cancel);
}

PrinterLink::~PrinterLink() { Disconnect(); }

void PrinterLink::log(const QString& line) const
{
    if (state_->observer)
        state_->observer->log(line);
}

bool PrinterLink::sleep(int milliseconds) const { return pacing::pause(milliseconds, state_->cancel); }

void PrinterLink::RequestCancel()
{
    state_->cancel = true;
    state_->stop = true;
}

int PrinterLink::Connect(bool noFlowControl, const std::optional<QString>& comAddressOverride)
{
    problem_.clear();
    DeviceInfoParts parts;
    if (!SplitDeviceInfo(state_->settings.deviceInfo, parts)) {
        problem_ = DescribeUnusableDeviceText(state_->settings.deviceInfo);
        return 0;
    }
    const PortKind kind = PortKindOf(parts.kind);
    state_->twoWay = kind == PortKind::Lan || kind == PortKind::Com;
    if (kind == PortKind::Com && comAddressOverride)
        parts.address = *comAddressOverride;
    if (kind == PortKind::Usb)
        parts.address = state_->settings.usbDevicePath;
    state_->target = parts;
    if (!state_->port.Open(parts.kind, parts.address, noFlowControl)) {
        problem_ = state_->port.describeOpenFailure(parts);
        return 0;
    }
    state_->listenerPaused = false;
    state_->stop = false;
    if (state_->twoWay)
        startListener();
    return 1;
}

void PrinterLink::startListener()
{
    if (listener_.joinable())
        stopListener();
    state_->listenerRunning = true;
    listener_ = std::thread(listen, state_);
}

void PrinterLink::stopListener()
{
    state_->stop = true;
    // Bounded as ever (300 looks 100 ms apart), but looked at often: the listener ends within a
    // few milliseconds of the stop flag.
    const pacing::Deadline bound(kListenerStopPolls * kPollMs);
    while (state_->listenerRunning.load() && !bound.expired())
        pacing::pause(kListenerPausedPollMs);
    if (!listener_.joinable())
        return;
    // A listener that does not end in time keeps the shared state alive on its own.
    if (state_->listenerRunning.load())
        listener_.detach();
    else
        listener_.join();
}

void PrinterLink::Disconnect()
{
    stopListener();
    state_->port.Close();
}

int PrinterLink::SendShortCommand(const char letters[2])
{
    return state_->port.Write(FrameShortCommand(letters, state_->settings.codes));
}

int PrinterLink::SendBraceCommand(const QByteArray& text)
{
    return state_->port.Write(FrameBraceCommand(text, state_->settings.codes, state_->settings.variableControlCodes));
}

int PrinterLink::QueryUntilAnswer(int totalMs, bool modeQuery)
{
    state_->answer = kNoAnswer;
    // Counted in 64 bits: a wait time near the largest int must not overflow.
    const long long attempts = totalMs > 0 ? (static_cast<long long>(totalMs) + kQueryPeriodMs - 1) / kQueryPeriodMs : 0;
    for (long long attempt = 0; attempt < attempts; ++attempt) {
        SendShortCommand(modeQuery ? "!Q" : "WS");
        for (int look = 0; look < kQueryPeriodMs / kPollMs; ++look) {
            if (!sleep(kPollMs))
                return 0;
            if (state_->answer.load() != kNoAnswer)
                return 1;
        }
    }
    return 0;
}

int PrinterLink::waitFailed(const QString& why)
{
    if (!cancelled())
        problem_ = why;
    return 0;
}

int PrinterLink::WaitForPrinter(int waitMs, bool modeQuery, bool settleQka)
{
    problem_.clear();
    const DeviceInfoParts target = state_->target;
    if (target.kind.isEmpty())
        return 0;
    const QString device = target.kind + QLatin1Char(':') + target.address;
    const auto seconds = [](int ms) { return QString::number((ms + 999) / 1000); };
    const auto noAnswer = [&](int ms) {
        return waitFailed(QStringLiteral("no answer from %1 within %2 s").arg(device, seconds(ms)));
    };
    switch (PortKindOf(target.kind)) {
    case PortKind::Lan: {
        // The printer restarts after storing: the connection drops and comes back.
        if (!sleep(kLanRestartSleepMs))
            return 0;
        stopListener();
        state_->port.Close();
        for (int attempt = 0; attempt < kLanReopenAttempts; ++attempt) {
            if (cancelled())
                return 0;
            if (state_->port.Open(target.kind, target.address, false)) {
                if (cancelled())
                    return 0;
                state_->stop = false;
                startListener();
                const int result = QueryUntilAnswer(kLanQueryMs, modeQuery);
                if (result && settleQka && nameBegins(state_->settings.printerName, "Q-KA"))
                    sleep(kKaSettleMs);
                return result ? result : noAnswer(kLanQueryMs);
            }
            if (!sleep(kLanReopenPauseMs))
                return 0;
        }
        return waitFailed(QStringLiteral("%1 did not take a connection again after its restart (%2)")
                              .arg(device, state_->port.describeOpenFailure(target)));
    }
    case PortKind::Com:
        return QueryUntilAnswer(waitMs, modeQuery) ? 1 : noAnswer(waitMs);
    case PortKind::Usb:
        // No status is asked for; what the printer answers before it restarts is read while
        // the pause runs, so a refused store is not missed.
        if (!readAnswersFor(kUsbRestartSleepMs))
            return 0;
        state_->port.Close();
        if (!sleep(kUsbClosedSleepMs))
            return 0;
        for (int attempt = 0; attempt < kUsbReopenAttempts; ++attempt) {
            if (state_->port.Open(target.kind, target.address, false))
                return 1;
            if (!sleep(kUsbReopenPauseMs))
                return 0;
        }
        return waitFailed(QStringLiteral("%1 did not come back after its restart (%2)")
                              .arg(device, state_->port.describeOpenFailure(target)));
    case PortKind::Lpt:
        return sleep(waitMs) ? 1 : 0;
    default:
        return 0;
    }
}

bool PrinterLink::readAnswersFor(int milliseconds)
{
    const pacing::Deadline deadline(milliseconds);
    while (!deadline.expired()) {
        if (cancelled())
            return false;
        if (!ReadAnswer(kPollMs) && !sleep(kPollMs))
            return false;
    }
    return !cancelled();
}

int PrinterLink::ReadAnswer(int timeoutMs)
{
    char buffer[kAnswerFrameSize];
    int count = 0;
    if (!state_->port.Read(buffer, sizeof buffer, timeoutMs, count))
        return 0;
    if (count > 0)
        takeAnswers(*state_, usbAnswers_, QByteArray(buffer, count));
    return 1;
}

int PrinterLink::WaitForStatus(int expected, int timeoutMs, int lptPauseMs)
{
    const PortKind kind = PortKindOf(state_->target.kind);
    const bool qkbUsb = nameBegins(state_->settings.printerName, "Q-KB") && kind == PortKind::Usb;
    if (qkbUsb)
        timeoutMs = kQkbUsbStatusTimeoutMs;
    if (kind == PortKind::Lpt)
        return sleep(lptPauseMs) ? 1 : 0;

    const pacing::Deadline deadline(timeoutMs);
    while (!state_->stop.load() && !cancelled()) {
        if (kind == PortKind::Usb && !ReadAnswer(kUsbStatusReadMs))
            break;
        const int answer = state_->answer.load();
        if (answer == expected)
            return 1;
        if (answer != kNoAnswer)
            break;
        if (deadline.expired()) {
            if (qkbUsb)
                return 1;
            break;
        }
        sleep(kPollMs);
    }
    log(StatusText(state_->answer.load(), state_->settings.strings));
    return 0;
}

}  // namespace vormex
