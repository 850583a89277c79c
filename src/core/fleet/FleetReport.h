#pragma once

#include "fleet/FleetRun.h"

#include <QByteArray>

#include <vector>

namespace vormex {

// The report of a run as JSON, for scripts:
//   {"targets": [{"name", "device", "printer", "result": "ok"|"failed"|"cancelled", "steps_done",
//                 "steps_total", "seconds", "message", "verify": {"system": ..., "initial": ...},
//                 "differences": [{"file": "system"|"initial", "where", "printer", "wanted"}]}],
//    "seconds": ...}
// A side of a difference that lacks the field or line is null.
QByteArray FleetReportJson(const std::vector<TargetReport>& reports, double seconds);

}  // namespace vormex
