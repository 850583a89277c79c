// The one comparison of a printer's parameter file with the file sent: items by name, the
// initial value & table text by section and line.
#include "support/TestSupport.h"

#include "comm/StoreFileEnvelope.h"
#include "base/PrinterFileArea.h"
#include "conversion/ParameterComparison.h"
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"
#include "initialtable/InitialTableDocument.h"

#include <gtest/gtest.h>

namespace vormex {
namespace {

const PrinterDefinition& shippedPrinter()
{
    static const PrinterDefinitions definitions = [] {
        PrinterDefinitions loaded;
        LoadDefinitions(test::shippedDefinitionFile(), loaded, nullptr);
        return loaded;
    }();
    const PrinterDefinition* printer = FindPrinter(definitions, QStringLiteral("ORN Q-KA5"));
    EXPECT_NE(printer, nullptr);
    return *printer;
}

const QString kLine = QStringLiteral("00600,0800,T,A,T,G,0,4,03000,F,F,0,7E,5E,2C,0,0,0,0,0,08,+0000,0,+0000");

using Difference = ParameterDifference;
const auto kSystem = ParameterFileKind::SystemParameters;
const auto kInitial = ParameterFileKind::InitialTable;

TEST(ParameterComparison, SystemLineItemByItem)
{
    QString altered = kLine;
    altered.replace(0, 5, QStringLiteral("01000"));  // LABEL LENGTH
    altered.replace(15, 1, QStringLiteral("P"));     // PRINT MODE
    struct Case {
        const char* name;
        QString printer;
        QString wanted;
        QList<Difference> differences;
    };
    const QList<Case> cases = {
        {"the same line, one with its CR LF", kLine, kLine + QStringLiteral("\r\n"), {}},
        {"two fields differ", kLine, altered + QStringLiteral("\r\n"),
         {{kSystem, "LABEL LENGTH", "00600", "01000"}, {kSystem, "PRINT MODE", "T", "P"}}},
        {"the printer's line lacks the label shift", kLine.chopped(6), kLine,
         {{kSystem, "LABEL SHIFT", std::nullopt, "+0000"}}},
        {"an empty field is a value", kLine, QString(kLine).replace(QStringLiteral(",0,+0000"), QStringLiteral(",,+0000")),
         {{kSystem, "OFFSET PRINT", "0", ""}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareParameterTexts(kSystem, c.printer, c.wanted, shippedPrinter()), c.differences) << c.name;
}

TEST(ParameterComparison, InitialTextBySectionAndLine)
{
    const PrinterDefinition& printer = shippedPrinter();
    const QString text = ComposeInitialTableText(DefaultInitialTableDocument(printer), printer);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), QString());
    ASSERT_EQ(lines[0], QStringLiteral("BARCODE Default"));
    ASSERT_EQ(lines[26], QStringLiteral("Font Convert Table"));
    ASSERT_EQ(lines[101], QStringLiteral("HI String"));

    const auto changed = [&lines](int index, const QString& line) {
        QStringList copy = lines;
        copy[index] = line;
        return copy.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    };
    struct Case {
        const char* name;
        QString printer;
        QList<Difference> differences;
    };
    const QList<Case> cases = {
        {"the same text", text, {}},
        {"a value line", changed(1, QStringLiteral("011,02,3.0")), {{kInitial, "BARCODE Default line 1", "011,02,3.0", lines[1]}}},
        {"a font convert row", changed(40, QStringLiteral("X")), {{kInitial, "Font Convert Table line 14", "X", lines[40]}}},
        {"the status responses missing",
         QStringList(lines.mid(0, 101)).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"),
         {{kInitial, "HI String header", std::nullopt, lines[101]}, {kInitial, "HI String line 1", std::nullopt, lines[102]}}},
    };
    for (const Case& c : cases) {
        QList<Difference> found = CompareParameterTexts(kInitial, c.printer, text, printer);
        if (found.size() > c.differences.size())
            found.resize(c.differences.size());  // the first differences name the place
        EXPECT_EQ(found, c.differences) << c.name;
    }
    EXPECT_EQ(DifferenceLine({kInitial, "HI String line 1", std::nullopt, "X"}), QStringLiteral("HI String line 1: printer (none), file X"));
    EXPECT_EQ(DifferenceLine({kSystem, "LABEL LENGTH", "00600", "01000"}), QStringLiteral("LABEL LENGTH: printer 00600, file 01000"));
}

TEST(ParameterComparison, TheTextSentIsTakenFromItsEnvelope)
{
    const QByteArray text = "00600,0800\r\n";
    const AreaResult area = BuildPrinterFileArea("QUILLPRM.TXT", text, 1024);
    ASSERT_TRUE(area.ok());
    EXPECT_EQ(TextOfStoreFileEnvelope(BuildStoreFileEnvelope(area.area, ControlCodes{}, false)), QString::fromLatin1(text));
    EXPECT_EQ(TextOfPrinterFileArea(area.area), QString::fromLatin1(text));
    EXPECT_EQ(TextOfStoreFileEnvelope("{LP;"), std::nullopt);
    QByteArray tooLong = area.area;
    tooLong[12] = 0x7F;  // a length beyond the area
    EXPECT_EQ(TextOfPrinterFileArea(tooLong), std::nullopt);
}

}  // namespace
}  // namespace vormex
