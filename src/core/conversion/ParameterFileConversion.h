#pragma once

#include "base/ControlCodes.h"
#include "definitions/ParameterCheck.h"
#include "definitions/PrinterDefinition.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vormex {

class StringTable;

// What a conversion or preparation gives: success, or the message that says why not.
struct ConversionResult {
    bool ok = false;
    QString message;
};

// Everything the parameter file conversion reads besides the file: the definitions (an XML file
// names its own printer), the selected printer and the check state of the application.
struct ParameterFileContext {
    const PrinterDefinitions& definitions;
    const PrinterDefinition& printer;  // the selected printer
    ParameterCheckState& check;
    const StringTable& strings;
};

// Turns a user's parameter file into the printer file image in `area` (its whole size is the
// room): "QUILLPRM.TXT" (system parameters) or "ZDEFAULT.TXT" (initial values and tables), the
// text length, 0xF0 0x02, the text, 0xFF up to the end. A text file is copied byte for byte; an
// XML file is converted into the text of its kind first (followed by a 0x00). For a printer
// without the label shift field a system parameter text longer than 66 bytes is cut after 64
// bytes and ended with CR LF. Fails, leaving `area` untouched, when the file is empty or cannot
// be read, the text does not fit the area or the 16-bit length, or an XML file yields no text.
ConversionResult ConvertParameterFile(const QString& path, ParameterFileKind kind, const ParameterFileContext& context,
                                      QByteArray& area);

// The check a parameter file must pass before it is taken for a download, for `check`, `convert`
// and every command that sends it: the file must be read (a file error names the file); an XML
// file must convert into a text that is not empty, and its texts must be numbers where numbers
// belong and list texts of the printer it names; the text it converts to, or a text file's,
// must pass the line check (system parameters, last line) or the section check (initial values
// and tables); and the values must fit the selected printer's items as the pages check them. Gives the
// message of the first failure (its last line is the check's own message), nothing when the
// file passes. `detail`, when given, receives what a failed line check points at ("field 9,
// MAXIMUM LENGTH"), to be shown on a line before the message; empty otherwise.
std::optional<QString> CheckParameterFile(const QString& path, ParameterFileKind kind, const ParameterFileContext& context,
                                          QString* detail = nullptr);

// Where the last failed line check points, for a line before its message: "field 9, MAXIMUM
// LENGTH" (the field's number and its item, or the font table column); empty for failures that
// concern the whole line or file.
QString ParameterCheckContext(ParameterFileKind kind, const ParameterCheckState& state);

// A parameter-file item of a download job, ready to send.
struct PreparedParameterFile {
    QByteArray area;      // one storage block
    QByteArray envelope;  // the store-file envelope around it, with checksum
    QString message;      // why the file was not taken; empty on success
    QString detail;       // what a failed line check points at, shown before the message
    bool ok() const { return message.isEmpty(); }
};

// Checks the file, converts it into one storage block and wraps that in the store-file envelope
// with the current control codes.
PreparedParameterFile PrepareParameterFileItem(const QString& path, ParameterFileKind kind,
                                               const ParameterFileContext& context, const ControlCodes& codes);

// The printer file name of a kind.
QByteArray PrinterFileNameOf(ParameterFileKind kind);

}  // namespace vormex
