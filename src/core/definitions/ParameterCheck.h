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
bool ValidateSectionLine(const PrinterDefinition& printer, int index, const QString& header, const QString& line,
                         bool labelShiftOmitted, ParameterCheckState& state);
// The system parameter line against the printer's "System Parameter" format; a printer
// without that format fails with code 3.
bool ValidateSystemParameterText(const PrinterDefinition& printer, const QString& text, bool labelShiftOmitted,
                                 ParameterCheckState& state);
// A whole initial value & table text, section by section.
bool ValidateSectionFile(const PrinterDefinition& printer, const QString& text, bool labelShiftOmitted,
                         ParameterCheckState& state);

// The user message for the last failure (CR LF between lines).
QString ParameterErrorMessage(ParameterFileKind kind, const ParameterCheckState& state, const StringTable& strings);

}  // namespace vormex
