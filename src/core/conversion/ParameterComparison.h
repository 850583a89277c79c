#pragma once

#include "definitions/ParameterCheck.h"
#include "definitions/PrinterDefinition.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The one comparison of a parameter file the printer holds with the file sent to it (or about to
// be sent): the system parameter line item by item, the initial value & table text section by
// section and line by line. A download's verify, a fleet's plan and verify and `vormexctl diff`
// all use it.
namespace vormex {

// One place where the printer's file and the wanted file differ.
struct ParameterDifference {
    ParameterFileKind file = ParameterFileKind::SystemParameters;
    QString where;                   // "LABEL LENGTH"; "BARCODE Default line 1"; "QUILLPRM.TXT" for a missing file
    std::optional<QString> printer;  // what the printer holds there; none when its file ends before
    std::optional<QString> wanted;   // what the wanted file holds there; none when it ends before
    friend bool operator==(const ParameterDifference&, const ParameterDifference&) = default;
};

// The differences, in file order; empty when the texts agree. A system parameter text is one line
// (a CR LF at its end is not part of it) compared field by field under the fields' item names; an
// initial value & table text is compared line by line, each line named by its section (the
// printer's layout format) and its number among the section's data lines ("BARCODE Default
// line 1"), or as the section's header ("HI String header").
QList<ParameterDifference> CompareParameterTexts(ParameterFileKind kind, const QString& printerText,
                                                 const QString& wantedText, const PrinterDefinition& printer);

// The printer holds no such file ("NO FILE") where one of `wantedBytes` bytes is wanted.
ParameterDifference MissingFileDifference(ParameterFileKind kind, qsizetype wantedBytes);

// "LABEL LENGTH: printer 00600, file 01000"; a side without the field or line shows "(none)".
QString DifferenceLine(const ParameterDifference& difference);

// "system" or "initial", as commands and reports name the two files.
QString ParameterFileWord(ParameterFileKind kind);

// The text of a parameter file's data area (name, length, F0 02, text) in the printer code page,
// decoded; nothing when the area is too short for its length field.
std::optional<QString> TextOfPrinterFileArea(const QByteArray& area);
// The same for a store-file envelope around such an area.
std::optional<QString> TextOfStoreFileEnvelope(const QByteArray& envelope);

}  // namespace vormex
