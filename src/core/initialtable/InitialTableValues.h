#pragma once

#include "definitions/PrinterDefinition.h"
#include "initialtable/InitialTableXml.h"

#include <QString>

#include <optional>

namespace vormex {

class StringTable;

// The item a field of a section line stands for: the initial value of the twelve initial value
// sections ("BARCODE Height" for field 0 of "BARCODE Default"), the column of a font table line
// ("ZPLFontName", ...); empty where a field names no item.
QString InitialTableFieldItemName(const QString& sectionName, int field);

// The 26 initial values of a text that has passed its section check, against the selected
// printer's items, as the initial value page would refuse them, in the page's order: every
// number within its item's limits (61714, after a line naming the item and the value), the ratio
// (800 with caption 810), "INC/DEC" (811), "ZeroSuppress" 0 or 1, every choice one of its item's
// values; then the drive mapping's characters, each a KIRN drive's value. Nothing when all fit.
std::optional<QString> CheckInitialTableValues(const QString& text, const PrinterDefinition& printer,
                                               const StringTable& strings);

// The initial values of an XML file as it holds them: every number a whole number, "INC/DEC" a
// sign and digits, "ZeroSuppress" "ON" or "OFF", every choice one of the texts of the list of
// the printer the file names. Absent items are not checked here. Nothing when all fit.
std::optional<QString> CheckInitialValueXmlTexts(const InitialValueXmlTexts& texts, const PrinterDefinitions& definitions,
                                                 const StringTable& strings);

}  // namespace vormex
