#pragma once

#include "initialtable/InitialTableDocument.h"
#include "sysparam/SystemParameterFiles.h"

#include <QString>

#include <array>
#include <optional>

class QXmlStreamReader;

namespace vormex {

// Saves the whole document as an initial value & table XML file: choices by their display
// texts, the printer named in the header. Gives an error message on failure; the previous file
// then stays as it was.
std::optional<QString> WriteInitialTableXml(const QString& path, const InitialTableDocument& document,
                                            const PrinterDefinition& printer, const XmlHeaderInfo& header);

// Turns an initial value & table XML file into the text of the printer default file, through
// the definitions of the printer the file names. Nothing when the file cannot be read, is not
// such a file, carries a document type declaration, has an element without the attributes it
// needs, names a printer the definitions lack, or has fewer font rows than the convert table.
std::optional<QString> ReadInitialTableXml(const QString& path, const PrinterDefinitions& definitions);
std::optional<QString> ReadInitialTableXml(QXmlStreamReader& reader, const PrinterDefinitions& definitions);

// The printer an initial value & table XML file names and the texts of its 26 initial values as
// the file holds them (empty for an item that is absent or has no text). Nothing when the file
// cannot be read or is refused as above.
struct InitialValueXmlTexts {
    QString printerName;
    std::array<QString, kInitialValueCount> texts;
};
std::optional<InitialValueXmlTexts> ReadInitialValueXmlTexts(const QString& path);

}  // namespace vormex
