// Fuzzes the definition reader on arbitrary bytes: it must end with a result and never read out
// of bounds, loop, or expand entities.
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    vormex::PrinterDefinitions definitions;
    vormex::DefinitionLoadError error;
    const int result = vormex::LoadDefinitionsFromData(xml, definitions, &error);
    if (result == 0 && error.message.isEmpty())
        __builtin_trap();  // every failure says why
    for (const vormex::PrinterDefinition& printer : definitions) {
        vormex::FindSystemItem(printer, QStringLiteral("RIBBON"));
        vormex::FindFontItem(printer, QStringLiteral("Storage"));
    }
    return 0;
}
