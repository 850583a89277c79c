#pragma once

#include "definitions/PrinterDefinition.h"

#include <QString>

// Lookups by name: exact, case-sensitive comparisons; the first match wins; nothing found gives
// nullptr, -1 or the empty string. Lookups never create entries.
namespace vormex {

const PrinterDefinition* FindPrinter(const PrinterDefinitions& definitions, const QString& name);
// A printer model a user may choose: any entry but the template "standard" that the others
// inherit from.
bool IsPrinterModel(const PrinterDefinition& printer);
const PrinterDefinition* FindPrinterModel(const PrinterDefinitions& definitions, const QString& name);
const ItemDefinition* FindSystemItem(const PrinterDefinition& printer, const QString& name);
const ItemDefinition* FindInitialItem(const PrinterDefinition& printer, const QString& name);
const ItemDefinition* FindFontItem(const PrinterDefinition& printer, const QString& name);
const DriveMappingDefinition* FindDriveMapping(const PrinterDefinitions& definitions, const QString& printerName);

int IndexOfText(const ItemDefinition& item, const QString& text);
int IndexOfValue(const ItemDefinition& item, const QString& value);
QString ValueOfText(const ItemDefinition& item, const QString& text);
QString TextOfValue(const ItemDefinition& item, const QString& value);

}  // namespace vormex
