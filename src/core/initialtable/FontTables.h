#pragma once

#include "definitions/PrinterDefinition.h"

#include <QList>
#include <QString>

#include <optional>

namespace vormex {

class StringTable;

// One row of the font convert or font change table. Type, KIRN type and drive hold the display
// texts of their list entries; the text form carries their values.
using FontTableRow = FontConvertLine;

// A KIRN font code that can be chosen for a KIRN font type.
struct KirnCode {
    QString code;
    QString value;
    QString type;  // a text of the "KIRNFontType" list
    friend bool operator==(const KirnCode&, const KirnCode&) = default;
};

// The codes "0" to "9" and "A" to "Z" of the convert rows, by position.
inline constexpr char kZplFontCodes[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Both tables in one list: rows 1 to C are the convert table, the rows after them (up to T in
// all) the change table.
struct FontTableSet {
    QList<FontTableRow> rows;
    int convertRows = 0;  // C, `lineCount` of the font convert definitions
    int totalRows = 0;    // T, `totalRows`
    QList<KirnCode> kirnCodes;

    bool isChangeRow(int index) const { return index >= convertRows && index < totalRows && index < rows.size(); }
    bool canAddRow() const { return rows.size() < totalRows; }

    // Whether `code` counts as present for `type` (as a code or as a value).
    bool hasKirnCode(const QString& code, const QString& type) const;
    // Appends (code, code, type) unless the code is present for the type.
    void addKirnCode(const QString& code, const QString& type);
    // The codes that can be chosen for a type, in list order.
    QStringList kirnCodesOf(const QString& type) const;

    friend bool operator==(const FontTableSet&, const FontTableSet&) = default;
};

// The definitions' rows and codes, no change rows.
FontTableSet DefaultFontTables(const PrinterDefinition& printer);
// A new change row from the definition items' initial values.
FontTableRow NewFontRow(const PrinterDefinition& printer);

// Whether a KIRN font type (display text) is one of the bitmap kinds.
bool IsBitmapFontType(const QString& type);
// The outline descender that follows from the cap height: 1000 - cap, 0 outside 0..10000.
int OutlineDescender(int capHeight);

// One row as a line of the text form (without CR LF).
QString FontTableLine(const FontTableRow& row, const PrinterDefinition& printer);

// The sections "Font Convert Table" (rows 1 to 10, seven filler lines, rows 11 to C) and
// "Font Change Table" (T - C lines, empty positions as empty lines).
QString FontTablesText(const FontTableSet& set, const PrinterDefinition& printer);

// Replaces all rows from the two sections of a whole text; fails, changing nothing, without
// the "Font Convert Table" section. Codes are assigned by position.
bool ParseFontTables(const QString& text, const PrinterDefinition& printer, FontTableSet& set);

// Registering an edited row: every number within its item's limits, the name cut to its item's
// length, the KIRN code added to the codes of its type, the fields of the other font kind's
// group back at their defaults. `target` is the row to modify, or -1 to add a change row.
struct FontRowFailure {
    QString itemName;
    QString message;
};
std::optional<FontRowFailure> RegisterFontRow(FontTableSet& set, const PrinterDefinition& printer, FontTableRow row,
                                              int target, const StringTable& strings);
// Removes a change row; convert rows stay. Gives whether a row was removed.
bool DeleteFontRow(FontTableSet& set, int index);

}  // namespace vormex
