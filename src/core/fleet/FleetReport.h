#pragma once

#include "fleet/FleetRun.h"
#include "fleet/FleetSetup.h"

#include <QByteArray>

#include <vector>

namespace vormex {

// The report of a run as JSON, for scripts:
//   {"targets": [{"name", "device", "printer", "result": "ok"|"failed"|"cancelled", "steps_done",
//                 "steps_total", "seconds", "message", "verify": {"system": ..., "initial": ...},
//                 "differences": [{"file": "system"|"initial", "where", "printer", "wanted"}],
//                 "changed": BOOL, "drift": BOOL, "drift_differences": [...as "differences"],
//                 "would_change": BOOL (a plan only)}],
//    "seconds": ...}
// A side of a difference that lacks the field or line is null.
QByteArray FleetReportJson(FleetAction action, const std::vector<TargetReport>& reports, double seconds);

}  // namespace vormex
