#include "pages/InitialTableModel.h"

#include "base/StringTable.h"
#include "support/DocumentFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vormex {
namespace {

using test::builtInStrings;

// The download of every tab: the whole text in "ZDEFAULT.TXT", the BASIC block range, the
// initial table's start block, two blocks for 128 KB storage blocks.
TEST(InitialTableDownload, SetupFollowsTheAllocation)
{
    for (const int blockSizeKb : {64, 128}) {
        PrinterDefinition printer = test::documentPrinter();
        ASSERT_TRUE(printer.allocation);
        printer.allocation->blockSizeKb = blockSizeKb;
        printer.allocation->basicMin = 2;
        printer.allocation->basicMax = 11;
        printer.allocation->startBlockInitialTable = 6;
        const InitialTableDocument document = DefaultInitialTableDocument(printer);
        const ParameterDownloadSetup setup = PrepareInitialTableDownload(document, printer, ControlCodes{}, builtInStrings());
        ASSERT_TRUE(setup.ok()) << setup.error.toStdString();
        EXPECT_EQ(setup.request.kind, FileDownloadRequest::InitialTable);
        EXPECT_EQ(setup.request.startBlock, 6);
        EXPECT_EQ(setup.startBlockMin, 2);
        EXPECT_EQ(setup.startBlockMax, 11);
        EXPECT_EQ(setup.request.blockCount, blockSizeKb == 128 ? 2 : 1);
        EXPECT_EQ(setup.request.envelope.size(), blockSizeKb * 1024 + 7);
        EXPECT_EQ(setup.request.envelope.mid(4, 12), QByteArray("ZDEFAULT.TXT"));
        const QByteArray text = ComposeInitialTableText(document, printer).toLatin1();
        EXPECT_EQ(setup.request.envelope.mid(4 + 16, text.size()), text);
    }
}

TEST(InitialTableDownload, RefusedWithoutAllocationOrRoom)
{
    PrinterDefinition printer = test::documentPrinter();
    InitialTableDocument document = DefaultInitialTableDocument(printer);
    document.responses.answers[0] = QString(9000, QLatin1Char('x'));
    EXPECT_FALSE(PrepareInitialTableDownload(document, printer, ControlCodes{}, builtInStrings()).ok());

    printer.name = QStringLiteral("bare");
    printer.allocation.reset();
    const ParameterDownloadSetup setup =
        PrepareInitialTableDownload(DefaultInitialTableDocument(printer), printer, ControlCodes{}, builtInStrings());
    EXPECT_FALSE(setup.ok());
    EXPECT_TRUE(setup.error.contains(QStringLiteral("bare")));
    EXPECT_TRUE(setup.request.envelope.isEmpty());
}

}  // namespace
}  // namespace vormex
