#pragma once

#include "initialtable/InitialTableDocument.h"
#include "sysparam/SystemParameterFiles.h"

#include <QString>

#include <optional>

namespace vormex {

// Reads a user's initial value & table file of either kind, told apart by its extension: a text
// file after its section by section check, or an XML file turned into the same text through the
// definitions of the printer it names. A file that cannot be opened gives the platform's message
// (`fileError`); an XML file that cannot be turned into a text (not such a file, an unknown
// printer, too few font rows) gives message 8051, so a failed read is never silent.
TextResult ReadInitialTableFile(const QString& path, const PrinterDefinition& printer,
                                const PrinterDefinitions& definitions, ParameterCheckState& check,
                                const StringTable& strings);

// Saves the document in the kind its extension names: XML, or else the text of the printer
// default file. Gives the reason on failure; the previous file then stays as it was.
std::optional<QString> WriteInitialTableFile(const QString& path, const InitialTableDocument& document,
                                             const PrinterDefinition& printer, const XmlHeaderInfo& header);

}  // namespace vormex
