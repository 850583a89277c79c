// Fuzzes the parameter line checks and field readers with arbitrary text against the shipped
// "standard" formats (a fixed format when the shipped file is not at hand).
#include "base/StringTable.h"
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterCheck.h"
#include "definitions/ParameterLine.h"

#include <QFileInfo>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

vormex::PrinterDefinition fixedPrinter()
{
    vormex::PrinterDefinition printer;
    printer.name = QStringLiteral("fixed");
    const QList<vormex::FieldRule> rules = {{1, 3, vormex::FieldRule::Unsigned, 0},
                                            {2, 5, vormex::FieldRule::Signed, 0},
                                            {0, 8, vormex::FieldRule::Text, 1}};
    printer.systemFormat = vormex::LayoutFormat{QStringLiteral("System Parameter"), 1, 20, rules};
    for (int i = 0; i < 16; ++i)
        printer.layoutFormats.append(vormex::LayoutFormat{QStringLiteral("S%1").arg(i), 0, 20, rules});
    return printer;
}

// The shipped file lies beside the sources; VORMEX_DEFINITIONS may name another.
vormex::PrinterDefinition loadPrinter()
{
    const char* path = std::getenv("VORMEX_DEFINITIONS");
    const QString file = path ? QString::fromLocal8Bit(path)
                              : QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                                    QStringLiteral("/../data/VORMEX Setting Tool Parameter-JPN.XML");
    vormex::PrinterDefinitions definitions;
    vormex::LoadDefinitions(file, definitions);
    const vormex::PrinterDefinition* standard = vormex::FindPrinter(definitions, QStringLiteral("standard"));
    return standard ? *standard : fixedPrinter();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const vormex::PrinterDefinition printer = loadPrinter();
    static const vormex::StringTable strings = vormex::StringTable::builtIn();
    if (size == 0)
        return 0;
    // The first byte chooses the flag and the format; the rest is the text.
    const bool labelShift = data[0] & 1;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    vormex::ParameterCheckState state;
    vormex::ValidateSystemParameterText(printer, text, labelShift, state);
    vormex::ParameterErrorMessage(vormex::ParameterFileKind::SystemParameters, state, strings);
    if (!printer.layoutFormats.isEmpty()) {
        const int index = (data[0] >> 1) % printer.layoutFormats.size();
        vormex::ValidateLine(printer.layoutFormats[index], text, labelShift, state);
        vormex::ValidateField(printer.layoutFormats[index], (data[0] >> 1) % 40 - 2, text, state);
    }
    vormex::ValidateSectionFile(printer, text, labelShift, state);
    vormex::ParameterErrorMessage(vormex::ParameterFileKind::InitialTable, state, strings);
    for (int n = -1; n < 4; ++n) {
        vormex::IntFieldAt(text, n);
        vormex::HexFieldAt(text, n);
    }
    vormex::CDecimal64(text);
    return 0;
}
