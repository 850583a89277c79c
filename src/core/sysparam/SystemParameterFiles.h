#pragma once

#include "definitions/ParameterCheck.h"
#include "sysparam/SystemParameterSet.h"

#include <QHash>
#include <QString>

#include <optional>

class QXmlStreamReader;

namespace vormex {

class StringTable;

// Saves the parameter line as a text file: the line in the printer code page, nothing else.
// Gives the platform's error message on failure; the previous file then stays as it was.
std::optional<QString> WriteSystemParameterTextFile(const QString& path, const QString& line);

// The last line of a text file (without its line end), or the platform's error message.
struct LineResult {
    QString line;
    QString error;           // empty on success
    bool fileError = false;  // `error` is the platform's message about the file itself
    bool lineCheckFailed = false;  // `error` is the line check's: the check state says where
    bool ok() const { return error.isEmpty(); }
};
LineResult ReadLastLineOfTextFile(const QString& path);
QString LastLineOfText(const QString& text);

// Reads a system parameter text file for the page: its last line must pass the line check of
// the printer's "System Parameter" format; the failure message is the check's own.
LineResult ReadSystemParameterTextFile(const QString& path, const PrinterDefinition& printer,
                                       ParameterCheckState& check, const StringTable& strings);

// What the XML file's header says.
struct XmlHeaderInfo {
    QString printerName;
    bool japanese = false;
};

// Saves the set as a system parameter XML file: list choices by their texts, the five switches
// as "ENABLE"/"DISABLE", the numbers in plain decimal.
std::optional<QString> WriteSystemParameterXml(const QString& path, const SystemParameterSet& set,
                                               const PrinterDefinition& printer, const XmlHeaderInfo& header);

// What a system parameter XML file holds: the printer its header names and the text of each
// item by the item's name in the file ("DPM", "TAB -> SP", ...). Nothing when the file cannot
// be read, is not a system parameter file, carries a document type declaration or has an item
// without attributes.
struct SystemParameterXmlTexts {
    QString printerName;
    QHash<QString, QString> items;
};
std::optional<SystemParameterXmlTexts> ReadSystemParameterXmlTexts(const QString& path);
std::optional<SystemParameterXmlTexts> ReadSystemParameterXmlTexts(QXmlStreamReader& reader);

// The names the XML file gives the items that differ from the definition's: "DPM" for "DOT/MM"
// and "TAB -> SP" for "TAB->SP".
QString SystemXmlNameOf(const QString& itemName);

// Reads a system parameter XML file into a parameter line, translating the list texts through
// the lists of the printer the file names. Nothing when the texts cannot be read (above) or the
// file names a printer that the definitions lack. The line has no CR LF; RFID ADJUST and LABEL
// SHIFT carry a sign and four digits, as in the printer's own line.
std::optional<QString> SystemParameterXmlToLine(const QString& path, const PrinterDefinitions& definitions);
std::optional<QString> SystemParameterXmlToLine(QXmlStreamReader& reader, const PrinterDefinitions& definitions);
std::optional<QString> SystemParameterXmlToLine(const SystemParameterXmlTexts& texts, const PrinterDefinitions& definitions);

// Reads a user's file of either kind, told apart by its extension, as it must be before it is
// loaded or sent: a text file's last line after the line check, or an XML file's texts checked
// (numbers, list texts of the printer it names, switch words) and converted to a line that then
// gets the same line check; then the line's values against the selected printer's items
// (CheckSystemParameterValues). A file that cannot be opened gives the platform's message; an XML
// file that is not a system parameter file (or names a printer the definitions lack) gives
// message 8050, so a failed read is never silent.
LineResult ReadSystemParameterFile(const QString& path, const PrinterDefinition& printer,
                                   const PrinterDefinitions& definitions, ParameterCheckState& check,
                                   const StringTable& strings);

// Saves the set in the kind its extension names: XML, or else the text file of its line.
std::optional<QString> WriteSystemParameterFile(const QString& path, const SystemParameterSet& set,
                                                const PrinterDefinition& printer, const XmlHeaderInfo& header);

}  // namespace vormex
