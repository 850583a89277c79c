#pragma once

#include "fleet/FleetRun.h"
#include "fleet/FleetSetup.h"

#include <QString>

#include <vector>

// What a run's target reports come to, for the exit status, the closing lines and the metrics.
namespace vormex {

enum class RunVerdict {
    Ok,         // every target is ok
    Drift,      // a plan: every target was read, and one holds something other than the job sends
    Failed,     // a target failed or was cancelled (failing wins over drift)
};

RunVerdict JudgeRun(FleetAction action, const std::vector<TargetReport>& reports);

// A target's result as the closing line and the metrics name it: "ok", "failed", "cancelled",
// and for an apply that had nothing to send "unchanged".
QString TargetOutcomeWord(FleetAction action, const TargetReport& report);

// Every word `TargetOutcomeWord` gives.
const QStringList& TargetOutcomeWords();

}  // namespace vormex
