#include "pages/SystemSettingsModel.h"

#include "base/StringTable.h"
#include "support/DocumentFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vormex {
namespace {

using test::builtInStrings;

// What the download button opens the dialog with: the envelope of the page's line, the BASIC
// block range, the system parameter start block, and two blocks for 128 KB storage blocks.
TEST(SystemParameterDownload, SetupFollowsTheAllocation)
{
    for (const int blockSizeKb : {64, 128}) {
        PrinterDefinition printer = test::documentPrinter();
        ASSERT_TRUE(printer.allocation);
        printer.allocation->blockSizeKb = blockSizeKb;
        printer.allocation->basicMin = 1;
        printer.allocation->basicMax = 9;
        printer.allocation->startBlockSystemParam = 5;
        const ParameterDownloadSetup setup =
            PrepareSystemParameterDownload(DefaultSystemParameters(printer), printer, ControlCodes{}, builtInStrings());
        ASSERT_TRUE(setup.ok()) << setup.error.toStdString();
        EXPECT_EQ(setup.request.kind, FileDownloadRequest::SystemParameters);
        EXPECT_EQ(setup.request.startBlock, 5);
        EXPECT_EQ(setup.startBlockMin, 1);
        EXPECT_EQ(setup.startBlockMax, 9);
        EXPECT_EQ(setup.request.blockCount, blockSizeKb == 128 ? 2 : 1);
        EXPECT_EQ(setup.request.envelope.size(), blockSizeKb * 1024 + 7);
        EXPECT_EQ(setup.request.envelope.mid(4, 12), QByteArray("QUILLPRM.TXT"));
    }
}

TEST(SystemParameterDownload, PrinterWithoutAllocationIsRefused)
{
    PrinterDefinition printer = test::documentPrinter();
    printer.name = QStringLiteral("bare");
    printer.allocation.reset();
    const ParameterDownloadSetup setup =
        PrepareSystemParameterDownload(DefaultSystemParameters(printer), printer, ControlCodes{}, builtInStrings());
    EXPECT_FALSE(setup.ok());
    EXPECT_TRUE(setup.error.contains(QStringLiteral("bare")));
    EXPECT_TRUE(setup.request.envelope.isEmpty());
}

}  // namespace
}  // namespace vormex
