#pragma once

#include "fleet/FleetRun.h"
#include "fleet/FleetSetup.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

namespace vormex {

// One run as the monitoring reads it.
struct FleetMetricsRun {
    FleetAction action = FleetAction::Apply;
    QString manifest;                   // the manifest's or targets file's name, which tells runs apart
    std::vector<TargetReport> reports;
    double seconds = 0;                 // the run's wall time
    QDateTime finished;                 // when it ended
};

// The run in the text format that monitoring systems scrape (a node exporter's textfile
// collector reads it), every family with its HELP and TYPE lines:
//   vormex_printer_up{name,device,printer}                      1 the printer answered, 0 not
//   vormex_printer_in_sync{name,device,printer,file}            1 same, 0 different; absent when
//                                                               the file was not read or is not part of the job
//   vormex_printer_last_result{name,device,printer,result}      1 for the target's result, 0 for the others
//   vormex_run_duration_seconds{manifest}, vormex_run_timestamp_seconds{manifest}
QByteArray FleetMetricsText(const FleetMetricsRun& run);

}  // namespace vormex
