// The command-line tool over the definition file: listing, showing a model, a broken file.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace vormex;

namespace {

test::ProcessResult vormexctl(const QStringList& arguments)
{
    return test::runProgram(QStringLiteral("vormexctl"), arguments);
}

TEST(DefinitionCli, ListsTheShippedModels)
{
    const auto result = vormexctl({QStringLiteral("--definitions"), test::shippedDefinitionFile(), QStringLiteral("printers")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QByteArray("ORN Q-KA5\nQ-KA4S\nQ-KB4\n"));
}

TEST(DefinitionCli, ShowsInheritedAndOverriddenItems)
{
    const auto result =
        vormexctl({QStringLiteral("--definitions"), test::shippedDefinitionFile(), QStringLiteral("show-printer"), QStringLiteral("Q-KA4S")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString out = QString::fromUtf8(result.out);
    EXPECT_TRUE(out.contains(QStringLiteral("Flags: LABELSHIFT 1, firmware handshake 0, variable control codes 0")));
    EXPECT_TRUE(out.contains(QStringLiteral("System parameters (24 items)")));
    // Overridden in place.
    EXPECT_TRUE(out.contains(QStringLiteral("\"LABEL WIDTH\"  type=MaskedEdit min=100 max=800")));
    EXPECT_FALSE(out.contains(QStringLiteral("\"5 inch/s\"")));
    // Inherited from "standard".
    EXPECT_TRUE(out.contains(QStringLiteral("\"TAB->SP\"  type=SpinEdit min=0 max=99 length=2 initial=4")));
    EXPECT_TRUE(out.contains(QStringLiteral("Font convert rows: 36 initial, 66 in all")));
    EXPECT_TRUE(out.contains(QStringLiteral("block size 64 KB")));

    const auto kb = vormexctl({QStringLiteral("--definitions"), test::shippedDefinitionFile(), QStringLiteral("show-printer"), QStringLiteral("Q-KB4")});
    ASSERT_EQ(kb.exitCode, 0);
    EXPECT_TRUE(kb.out.contains("firmware handshake 1, variable control codes 1"));
    EXPECT_TRUE(kb.out.contains("block size 128 KB"));
}

TEST(DefinitionCli, ABrokenFileFailsWithFileAndLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.xml"));
    test::writeFile(path, "<?xml version=\"1.0\"?>\n<VORMEX_Parameter>\n<printer name=\"standard\">\n"
                          "<SystemParameter><item>\n</item></SystemParameter></printer></VORMEX_Parameter>\n");
    const auto result = vormexctl({QStringLiteral("--definitions"), path, QStringLiteral("printers")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains((path + QStringLiteral(":4: ")).toUtf8())) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("\"item\"")) << result.err.toStdString();

    const QString doctype = dir.filePath(QStringLiteral("doctype.xml"));
    test::writeFile(doctype, "<?xml version=\"1.0\"?>\n<!DOCTYPE VORMEX_Parameter [\n<!ENTITY big \"x\">\n]>\n"
                             "<VORMEX_Parameter>&big;</VORMEX_Parameter>\n");
    const auto refused = vormexctl({QStringLiteral("--definitions"), doctype, QStringLiteral("printers")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("document type")) << refused.err.toStdString();

    const auto missing = vormexctl({QStringLiteral("--definitions"), dir.filePath(QStringLiteral("none.xml")), QStringLiteral("printers")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("none.xml")) << missing.err.toStdString();
}

}  // namespace
