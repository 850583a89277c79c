#pragma once

#include "base/PrinterFileArea.h"
#include "definitions/ParameterCheck.h"
#include "initialtable/DriveMapping.h"
#include "initialtable/FontTables.h"
#include "initialtable/InitialValueSet.h"
#include "initialtable/ResponseCommands.h"

#include <QString>

#include <optional>

namespace vormex {

class StringTable;

// The file the printer keeps its initial values and tables in.
inline constexpr char kInitialTableFileName[] = "ZDEFAULT.TXT";

// Limits of the composed text: for saving and for downloading, in UTF-16 units and in bytes of
// the printer code page.
inline constexpr int kInitialTableSaveLimit = 12000;
inline constexpr int kInitialTableDownloadLimit = 10000;

// The change marks of the document, one per page.
enum InitialTableChange : int {
    kInitialValuesChanged = 1,
    kFontTablesChanged = 2,
    kDriveMappingChanged = 4,
    kResponsesChanged = 8,
};

// The initial value & table document that the four pages share: one file path, four change
// marks and each page's values.
struct InitialTableDocument {
    QString filePath;
    int changeMarks = 0;
    InitialValueSet values;
    FontTableSet fonts;
    DriveMappingSet drives;
    ResponseSet responses;

    bool isChanged() const { return changeMarks != 0; }
};

// Every page at the printer's defaults, no file, no change marks.
InitialTableDocument DefaultInitialTableDocument(const PrinterDefinition& printer);

// The whole text: the twelve initial value sections, drive mapping, font tables, responses.
QString ComposeInitialTableText(const InitialTableDocument& document, const PrinterDefinition& printer);

// Reads a whole text into the pages: initial values, drive mapping, font tables, responses, in
// this order; the first that fails ends it (those before stay applied).
bool ApplyInitialTableText(const QString& text, const PrinterDefinition& printer, InitialTableDocument& document);

// The data area of "ZDEFAULT.TXT" (one storage block). Refused when the text reaches the
// download limit or its bytes do not fit the area.
AreaResult BuildInitialTableArea(const QString& text, const PrinterDefinition& printer);

// Saves the text in the printer code page, atomically. Refused when it reaches the save limit.
std::optional<QString> WriteInitialTableTextFile(const QString& path, const QString& text);

// The text of a file (read as the printer code page up to a NUL), checked section by section;
// the failure message is the check's own or the platform's file error.
struct TextResult {
    QString text;
    QString error;           // empty on success
    bool fileError = false;  // `error` is the platform's message about the file itself
    bool ok() const { return error.isEmpty(); }
};
TextResult ReadInitialTableTextFile(const QString& path, const PrinterDefinition& printer, ParameterCheckState& check,
                                    const StringTable& strings);

}  // namespace vormex
