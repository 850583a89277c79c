#pragma once

#include "fleet/FleetManifest.h"

#include <QList>
#include <QString>

namespace vormex {

// Reads a targets file: CSV (UTF-8, quotes around fields that hold commas, as spreadsheets write
// it) whose first row names the columns: "name" and "device", and optionally "printer", in any
// order. Every other row is one target; its origin is "FILE: row N". Gives false and `error`
// ("printers.csv: row 4: 3 fields where the header has 2") at the first problem.
bool ReadTargetsCsv(const QString& path, QList<FleetTarget>& targets, QString& error);

}  // namespace vormex
