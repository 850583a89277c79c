#pragma once

#include "base/ControlCodes.h"
#include "comm/AnswerFrame.h"
#include "comm/DeviceInfo.h"
#include "comm/HostResolver.h"
#include "comm/PortMap.h"

#include <QString>

#include <atomic>

namespace vormex {

// What a probe found where it knocked.
enum class ProbeOutcome {
    Printer,      // it answered with at least one valid answer frame
    NotAPrinter,  // it took the connection and answered, but no valid frame
    Silent,       // it took the connection and answered nothing
    Unreachable,  // nothing to talk to: refused, timed out, no such device, name not resolved
    Cancelled,
};

// How a probe talks: only the mode query "!Q" and the status request "WS" are ever sent, so a
// probe never switches, stores or restarts anything.
struct ProbeSettings {
    static constexpr int kDefaultConnectTimeoutMs = 500;
    static constexpr int kAnswerWaitMs = 1000;  // for each request's answer frame

    ControlCodes codes;                         // framing of the two requests (CommandCodesFor)
    int connectTimeoutMs = kDefaultConnectTimeoutMs;
    PortMap portMap;
    HostLookup hostLookup;                      // empty: the system's resolver
};

struct ProbeResult {
    ProbeOutcome outcome = ProbeOutcome::Unreachable;
    int mode = kNoAnswer;    // kAnswerVormex, kAnswerKirn or none
    int status = kNoAnswer;  // 0..99 or none
    // Why the device is no printer or could not be reached, naming it.
    QString problem;
};

// Opens the device (any interface the port layer opens), sends "!Q" and collects bytes until a
// whole answer frame came (a frame split over reads is joined) or a second passed, then "WS"
// the same way, and closes it again. `cancel` ends every wait within 100 ms.
ProbeResult ProbePrinter(const DeviceInfoParts& device, const ProbeSettings& settings,
                         const std::atomic<bool>* cancel = nullptr);

}  // namespace vormex
