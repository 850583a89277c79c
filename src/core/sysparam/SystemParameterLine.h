#pragma once

#include "base/PrinterFileArea.h"
#include "sysparam/SystemParameterSet.h"

#include <QString>

#include <optional>

namespace vormex {

class StringTable;

// The file the printer keeps its system parameters in.
inline constexpr char kSystemParameterFileName[] = "QUILLPRM.TXT";

// The 24 fields of the parameter line, in line order.
inline constexpr int kSystemParameterFieldCount = 24;
// The item name of line field `index` ("LABEL LENGTH" for 0, ..., "LABEL SHIFT" for 23); empty
// outside the line.
QString SystemParameterFieldName(int index);

// The parameter line of the set: 24 comma-separated fields ended by CR LF. List fields carry
// the value of the selected entry (empty when nothing is selected or the item is missing).
QString BuildSystemParameterLine(const SystemParameterSet& set, const PrinterDefinition& printer);

// A signed field of the line: "-" for a negative value, else "+", then the magnitude in four
// digits (more when it needs them).
QString SignedFieldText(int value);

// Fills the set from a parameter line, field by field, with the texts the page's controls show.
// Never fails: missing fields read as empty or 0.
void ParseSystemParameterLine(const QString& line, const PrinterDefinition& printer, SystemParameterSet& set);

// The data area of "QUILLPRM.TXT" (one storage block): the line in the printer code page after
// the 16-byte header. For a printer without the label shift field the field is cut off and the
// text ends after OFFSET PRINT with CR LF.
AreaResult BuildSystemParameterArea(const QString& line, const PrinterDefinition& printer);

// The bytes of one storage block of the printer; 0 when its definitions lack an allocation.
qsizetype StorageBlockBytes(const PrinterDefinition& printer);

// Which control failed the range check and the message the page shows.
struct RangeFailure {
    QString itemName;  // "LABEL LENGTH", ..., or "TAB->SP" for the spin value
    QString message;   // empty when the check fails without a message (a missing item)
};

// The page's range checks, in the page's order; nothing when all pass.
std::optional<RangeFailure> ValidateRanges(const SystemParameterSet& set, const PrinterDefinition& printer,
                                           const StringTable& strings);

// A bound in tenths as the range messages write it: sign, integer part, one decimal ("-0.5").
QString TenthsText(int tenths);
// Message 800 for a label and a range in tenths.
QString RangeMessage(const StringTable& strings, const QString& label, int minTenths, int maxTenths);

}  // namespace vormex
