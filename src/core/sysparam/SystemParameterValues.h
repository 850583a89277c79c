#pragma once

#include "definitions/PrinterDefinition.h"
#include "sysparam/SystemParameterFiles.h"

#include <QString>

#include <optional>

namespace vormex {

class StringTable;

// The definition item of each field of the parameter line ("LABEL LENGTH" for field 0, ...);
// empty for a field the line does not have.
QString SystemFieldItemName(int field);

// The values of a parameter line that has passed its format check, against the selected
// printer's items, as the system parameter page would refuse them: TAB->SP within 0..99 and its
// item's range (61714), then LABEL LENGTH, LABEL WIDTH, MAXIMUM LENGTH, RFID ADJUST and LABEL
// SHIFT within their items' limits (message 800, in the page's order), every list field one of
// its item's values, each prefix two hexadecimal digits, each command flag 0 or 1. Gives the
// message of the first value refused (a line naming the item comes before a message that does
// not name it); nothing when all fit.
std::optional<QString> CheckSystemParameterValues(const QString& line, const PrinterDefinition& printer,
                                                  const StringTable& strings);

// The texts of a system parameter XML file as it holds them: every number a whole number, every
// list text one of the texts of the list of the printer the file names, every command switch
// "ENABLE" or "DISABLE". An absent item is not checked here (it reads as 0 or empty, which the
// line's checks then judge). Nothing when all fit.
std::optional<QString> CheckSystemParameterXmlTexts(const SystemParameterXmlTexts& texts,
                                                    const PrinterDefinitions& definitions, const StringTable& strings);

}  // namespace vormex
