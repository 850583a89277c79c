#include "initialtable/InitialTableFiles.h"

#include "base/StringTable.h"
#include "files/UserFiles.h"
#include "initialtable/InitialTableXml.h"

#include <QFile>
#include <QXmlStreamReader>

namespace vormex {

namespace {
constexpr int kNotInitialTableFile = 8051;
}

TextResult ReadInitialTableFile(const QString& path, const PrinterDefinition& printer,
                                const PrinterDefinitions& definitions, ParameterCheckState& check,
                                const StringTable& strings)
{
    if (!IsXmlFileName(path))
        return ReadInitialTableTextFile(path, printer, check, strings);
    TextResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        result.fileError = true;
        return result;
    }
    QXmlStreamReader reader(&file);
    const std::optional<QString> text = ReadInitialTableXml(reader, definitions);
    if (!text || text->isEmpty())
        result.error = strings.text(kNotInitialTableFile);
    else
        result.text = *text;
    return result;
}

std::optional<QString> WriteInitialTableFile(const QString& path, const InitialTableDocument& document,
                                             const PrinterDefinition& printer, const XmlHeaderInfo& header)
{
    if (IsXmlFileName(path))
        return WriteInitialTableXml(path, document, printer, header);
    return WriteInitialTableTextFile(path, ComposeInitialTableText(document, printer));
}

}  // namespace vormex
