#pragma once

#include "definitions/PrinterDefinition.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace vormex {

class StringTable;

inline constexpr int kDriveRows = 4;

// The drive mapping page: four VORMEX drives, each with the KIRN drive chosen for it (an index
// into the definitions' KIRN list, -1 for none).
struct DriveMappingSet {
    QStringList vormexNames;
    std::array<int, kDriveRows> selection{-1, -1, -1, -1};

    // The chosen KIRN drive's name; empty for none.
    QString selectedName(int row, const DriveMappingDefinition* definition) const;

    friend bool operator==(const DriveMappingSet&, const DriveMappingSet&) = default;
};

// The KIRN drives: their names, and the one-character value that the printer files hold.
QStringList KirnDriveNames(const DriveMappingDefinition& definition);
QString KirnDriveValue(const DriveMappingDefinition& definition, int index);
// The value of a KIRN drive name (the first one of that name); empty when none has it.
QString KirnValueOfName(const DriveMappingDefinition& definition, const QString& name);
// The default KIRN drive (by name) of VORMEX drive `row`.
QString VormexDriveDefault(const DriveMappingDefinition& definition, int row);

// The four rows from the definitions; unchanged when the printer has no VORMEX drives.
void FillDriveDefaults(const PrinterDefinition& printer, DriveMappingSet& set);
DriveMappingSet DefaultDriveMapping(const PrinterDefinition& printer);

// The section "DRIVE Mapping" and its 26-character drive string: rows 4, 2, 3 and 1 stand at
// the letters A, B, E and R, Z holds "0", every other letter "3".
QString DriveMappingText(const DriveMappingSet& set, const PrinterDefinition& printer);
// The drive string from its four values (row 1 first); an empty value leaves its place out.
QString DriveString(const QString& row1, const QString& row2, const QString& row3, const QString& row4);

// Selects the rows from the section of a whole text; fails, changing nothing, without it. A
// character that is no KIRN drive's value selects the first KIRN drive, as the page does.
bool ParseDriveMapping(const QString& text, const PrinterDefinition& printer, DriveMappingSet& set);

// The value check of the section of a whole text: each row's character must be the value of one
// of the printer's KIRN drives, or the file would reach the printer with a drive it does not have.
// The message names the row's VORMEX drive ("DRIVE Mapping R:"). Nothing when all fit, when the
// text has no such section or the printer no drive mapping.
std::optional<QString> CheckDriveMappingValues(const QString& text, const PrinterDefinition& printer, const StringTable& strings);

}  // namespace vormex
