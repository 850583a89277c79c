#include "discovery/PrinterProbe.h"

#include "comm/CommandFraming.h"
#include "comm/PrinterPort.h"
#include "timing/PacingClock.h"

namespace vormex {
namespace {

constexpr int kReadSliceMs = 100;

// What came back to the requests so far.
struct Exchange {
    AnswerAssembler frames;
    int mode = kNoAnswer;
    int status = kNoAnswer;
    qsizetype bytes = 0;
    bool closed = false;  // the other side hung up, or a read or write failed
};

bool cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

void note(Exchange& exchange, int answer)
{
    if (answer == kAnswerVormex || answer == kAnswerKirn)
        exchange.mode = answer;
    else if (answer >= 0)
        exchange.status = answer;
}

// Reads until a frame came, the wait is over or the connection ended.
void awaitFrame(PrinterPort& port, Exchange& exchange, const std::atomic<bool>* cancel)
{
    const pacing::Deadline deadline(ProbeSettings::kAnswerWaitMs);
    while (!deadline.expired() && !cancelled(cancel)) {
        char buffer[64];
        int count = 0;
        // A read that fails before its slice has passed found the connection closed.
        const pacing::Deadline slice(kReadSliceMs / 2);
        const int read = port.Read(buffer, sizeof buffer, kReadSliceMs, count);
        if (count > 0) {
            exchange.bytes += count;
            int answer = kNoAnswer;
            if (exchange.frames.feed(QByteArray(buffer, count), answer)) {
                note(exchange, answer);
                return;
            }
        } else if (!read && !slice.expired()) {
            exchange.closed = true;
            return;
        }
    }
}

QString deviceText(const DeviceInfoParts& device) { return device.kind + QLatin1Char(':') + device.address; }

}  // namespace

ProbeResult ProbePrinter(const DeviceInfoParts& device, const ProbeSettings& settings, const std::atomic<bool>* cancel)
{
    ProbeResult result;
    PrinterPort port(settings.portMap);
    port.setCancelFlag(cancel);
    port.setConnectTimeoutMs(settings.connectTimeoutMs);
    port.setHostLookup(settings.hostLookup);
    port.progressPercent = -1;
    if (!port.Open(device.kind, device.address, false)) {
        result.outcome = cancelled(cancel) ? ProbeOutcome::Cancelled : ProbeOutcome::Unreachable;
        result.problem = port.describeOpenFailure(device);
        return result;
    }
    if (port.portKind() == PortKind::Lpt) {
        result.problem = QStringLiteral("%1 is written to only: it cannot answer").arg(deviceText(device));
        return result;
    }
    Exchange exchange;
    for (const char* request : {"!Q", "WS"}) {
        if (exchange.closed || cancelled(cancel))
            break;
        if (port.Write(FrameShortCommand(request, settings.codes)) != 1) {
            exchange.closed = true;
            break;
        }
        awaitFrame(port, exchange, cancel);
    }
    port.Close();

    result.mode = exchange.mode;
    result.status = exchange.status;
    if (cancelled(cancel)) {
        result.outcome = ProbeOutcome::Cancelled;
    } else if (exchange.mode != kNoAnswer || exchange.status != kNoAnswer) {
        result.outcome = ProbeOutcome::Printer;
    } else if (exchange.bytes > 0) {
        result.outcome = ProbeOutcome::NotAPrinter;
        result.problem = QStringLiteral("%1 answered %2 bytes without a valid answer frame: not a printer")
                             .arg(deviceText(device)).arg(exchange.bytes);
    } else {
        result.outcome = ProbeOutcome::Silent;
        result.problem = QStringLiteral("%1 is silent: no answer to the mode query or the status request within %2 s")
                             .arg(deviceText(device)).arg(ProbeSettings::kAnswerWaitMs / 1000);
    }
    return result;
}

}  // namespace vormex
