// The system parameter line: last-line rule, line check, parse into the page's set and build.
#include "FuzzDefinitions.h"

#include "codec/Codec.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vormex;
    if (size < 1)
        return 0;
    const PrinterDefinition& printer = fuzz::fuzzPrinter(data[0]);
    const QString line = LastLineOfText(
        codec::fromPrinterCodePage(QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1))));
    ParameterCheckState check;
    ValidateSystemParameterText(printer, line, printer.labelShiftOmitted == 1, check);

    SystemParameterSet set = DefaultSystemParameters(printer);
    ParseSystemParameterLine(line, printer, set);
    const QString built = BuildSystemParameterLine(set, printer);
    if (!built.endsWith(QStringLiteral("\r\n")))
        std::abort();
    BuildSystemParameterArea(built, printer);
    return 0;
}
