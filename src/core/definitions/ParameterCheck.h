#pragma once

#include "definitions/PrinterDefinition.h"

#include <QString>

namespace vormex {

class StringTable;

// The last failed check of a parameter line. Overwritten by every failing check and never
// reset by a passing one.
struct ParameterError {
    int code = 0;        // 0 none; 1..8 as raised by the checks
    int fieldIndex = 0;  // index (from 0) of the field validated last
    int minLength = 0;   // bounds of the field that failed with code 2
    int maxLength = 0;
};

// The process-wide check state that the application object holds.
struct ParameterCheckState {
    ParameterError error;
    QString currentSectionName;  // the section validated last in a section file
};

// The kinds of file a message is built for.
enum class ParameterFileKind { InitialTable = 0, SystemParameters = 1 };

// `labelShiftOmitted` is the selected printer's flag: with it one field less is accepted.
bool ValidateLine(const LayoutFormat& format, const QString& line, bool labelShiftOmitted, ParameterCheckState& state);
bool ValidateField(const LayoutFormat& format, int index, const QString& field, ParameterCheckState& state);
// Sets currentSectionName to the name of the printer's format at `index` and fails with code 7
// when `header` differs from it; an index without a format fails with code 3 and an empty name.
bool ValidateSectionLine(const PrinterDefinition& printer, int index, const QString& header, const QString& line,
                         bool labelShiftOmitted, ParameterCheckState& state);
// The system parameter line against the printer's "System Parameter" format; a printer
// without that format fails with code 3.
bool ValidateSystemParameterText(const PrinterDefinition& printer, const QString& text, bool labelShiftOmitted,
                                 ParameterCheckState& state);
// A whole initial value & table text, section by section: for each format a header line and
// its data lines (43 for the section of index 13, 30 for index 14, else 1), each ended by
// CR LF. The text may end before the section of index 15; text after the last section is
// ignored.
bool ValidateSectionFile(const PrinterDefinition& printer, const QString& text, bool labelShiftOmitted,
                         ParameterCheckState& state);
// The data lines under the header of the section of `index` (the printer's layout format of that
// index) in an initial value & table text: 43 for the font convert table, 30 for the font change
// table, 1 for every other section.
int SectionDataLineCount(int index);

// The user message for the last failure (CR LF between lines), from the texts 8050 to 8058.
// For an initial value & table file it starts with the section name, except for the codes 1,
// 3 and 7, whose message is the file kind's general text alone.
QString ParameterErrorMessage(ParameterFileKind kind, const ParameterCheckState& state, const StringTable& strings);

}  // namespace vormex
