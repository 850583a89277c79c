// Both readers of the user's XML files: system parameters and initial values & tables.
#include "FuzzDefinitions.h"

#include "initialtable/InitialTableXml.h"
#include "sysparam/SystemParameterFiles.h"

#include <QXmlStreamReader>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vormex;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QXmlStreamReader reader(bytes);
        SystemParameterXmlToLine(reader, fuzz::fuzzDefinitions());
    }
    {
        QXmlStreamReader reader(bytes);
        if (const std::optional<QString> text = ReadInitialTableXml(reader, fuzz::fuzzDefinitions())) {
            InitialTableDocument document = DefaultInitialTableDocument(fuzz::fuzzPrinter(0));
            ApplyInitialTableText(*text, fuzz::fuzzPrinter(0), document);
        }
    }
    return 0;
}
