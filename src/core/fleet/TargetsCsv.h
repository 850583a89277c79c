#pragma once

#include "fleet/FleetManifest.h"

#include <QList>
#include <QString>

namespace vormex {

// Reads a targets file: CSV (UTF-8, quotes around fields that hold commas, as spreadsheets write
// it; blanks belong to their field) whose first row names the columns: "name" and "device", and
// optionally "printer", in any order. Every other row is one target; its origin is "FILE: row N"
// (blank lines are not rows). Gives false and `error` at the first problem, with the row and
// where it helps the column ("printers.csv: row 4: 3 fields where the header has 2",
// "printers.csv: row 2, column 1: not UTF-8 text ...").
bool ReadTargetsCsv(const QString& path, QList<FleetTarget>& targets, QString& error);

}  // namespace vormex
