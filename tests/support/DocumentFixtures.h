#pragma once

#include "base/StringTable.h"
#include "definitions/PrinterDefinition.h"

#include <QString>

// Printer definitions for the parameter document tests: "standard" (the template), "VX-BASE" (the
// template as a model), "VX-OTHER" (other list
// texts for the same values) and "VX-NOSHIFT" (no label shift field, variable control codes).
namespace vormex::test {

QString documentDefinitionFile();
const PrinterDefinitions& documentDefinitions();
const PrinterDefinition& documentPrinter(const QString& name = QStringLiteral("standard"));
const StringTable& builtInStrings();

}  // namespace vormex::test
