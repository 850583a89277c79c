// ApplyInitialTableText and the section check on arbitrary printer default texts.
#include "FuzzDefinitions.h"

#include "codec/Codec.h"
#include "initialtable/InitialTableDocument.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vormex;
    if (size < 1)
        return 0;
    const PrinterDefinition& printer = fuzz::fuzzPrinter(data[0]);
    const QString text = codec::fromPrinterCodePage(QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)),
                                                    codec::StopAtNul::Yes);
    ParameterCheckState check;
    ValidateSectionFile(printer, text, printer.labelShiftOmitted == 1, check);

    InitialTableDocument document = DefaultInitialTableDocument(printer);
    ApplyInitialTableText(text, printer, document);
    // Whatever was applied composes into a text that fits its own rules again.
    const QString composed = ComposeInitialTableText(document, printer);
    if (document.fonts.rows.size() > document.fonts.totalRows && document.fonts.totalRows > 0)
        std::abort();
    BuildInitialTableArea(composed, printer);
    return 0;
}
