#include "definitions/Lookups.h"

#include <gtest/gtest.h>

using namespace vormex;

namespace {

ItemDefinition itemWithList(const QString& name, QList<ListEntry> list)
{
    ItemDefinition item;
    item.name = name;
    item.list = std::move(list);
    return item;
}

class LookupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrinterDefinition standard;
        standard.name = QStringLiteral("standard");
        PrinterDefinition first;
        first.name = QStringLiteral("Q-KA1");
        first.systemItems = {itemWithList(QStringLiteral("RIBBON"), {}), itemWithList(QStringLiteral("RIBBON"), {})};
        first.initialItems = {itemWithList(QStringLiteral("Ratio"), {})};
        first.driveMapping = DriveMappingDefinition{{QStringLiteral("T1")}, {}, {}, {}};
        PrinterDefinition duplicate;
        duplicate.name = QStringLiteral("Q-KA1");
        definitions = {standard, first, duplicate};
    }
    PrinterDefinitions definitions;
};

TEST_F(LookupsTest, PrintersAreFoundExactlyAndFirstWins)
{
    EXPECT_EQ(FindPrinter(definitions, QStringLiteral("Q-KA1")), &definitions[1]);
    EXPECT_EQ(FindPrinter(definitions, QStringLiteral("q-ka1")), nullptr);
    EXPECT_EQ(FindPrinter(definitions, QStringLiteral("Q-KA1 ")), nullptr);
    EXPECT_EQ(FindPrinter(PrinterDefinitions{}, QStringLiteral("standard")), nullptr);
}

TEST_F(LookupsTest, ItemsAreFoundInTheirOwnSection)
{
    const PrinterDefinition& printer = definitions[1];
    EXPECT_EQ(FindSystemItem(printer, QStringLiteral("RIBBON")), &printer.systemItems[0]);
    EXPECT_EQ(FindSystemItem(printer, QStringLiteral("Ratio")), nullptr);
    EXPECT_EQ(FindInitialItem(printer, QStringLiteral("Ratio")), &printer.initialItems[0]);
    EXPECT_EQ(FindFontItem(printer, QStringLiteral("Ratio")), nullptr);  // no font convert data

    PrinterDefinition withFonts = printer;
    withFonts.fontConvert = FontConvertDefinition{};
    withFonts.fontConvert->items = {itemWithList(QStringLiteral("Storage"), {})};
    EXPECT_EQ(FindFontItem(withFonts, QStringLiteral("Storage")), &withFonts.fontConvert->items[0]);
    EXPECT_EQ(FindFontItem(withFonts, QStringLiteral("storage")), nullptr);
}

TEST_F(LookupsTest, DriveMappingGoesThroughThePrinterName)
{
    const DriveMappingDefinition* mapping = FindDriveMapping(definitions, QStringLiteral("Q-KA1"));
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(mapping->tList, QStringList{QStringLiteral("T1")});
    EXPECT_EQ(FindDriveMapping(definitions, QStringLiteral("standard")), nullptr);
    EXPECT_EQ(FindDriveMapping(definitions, QStringLiteral("none")), nullptr);
}

TEST(ListLookups, CompareExactlyAndTakeTheFirstMatch)
{
    const ItemDefinition item = itemWithList(QStringLiteral("SPEED"), {{QStringLiteral("Low"), QStringLiteral("1"), {}},
                                                                       {QStringLiteral("High"), QStringLiteral("2"), {}},
                                                                       {QStringLiteral("Fast"), QStringLiteral("2"), {}},
                                                                       {QStringLiteral("Low"), QStringLiteral("3"), {}}});
    EXPECT_EQ(IndexOfText(item, QStringLiteral("Low")), 0);
    EXPECT_EQ(IndexOfText(item, QStringLiteral("low")), -1);
    EXPECT_EQ(IndexOfValue(item, QStringLiteral("2")), 1);
    EXPECT_EQ(IndexOfValue(item, QStringLiteral("9")), -1);
    EXPECT_EQ(ValueOfText(item, QStringLiteral("Fast")), QStringLiteral("2"));
    EXPECT_EQ(ValueOfText(item, QStringLiteral("Low")), QStringLiteral("1"));
    EXPECT_EQ(ValueOfText(item, QStringLiteral("none")), QString());
    EXPECT_EQ(TextOfValue(item, QStringLiteral("2")), QStringLiteral("High"));
    EXPECT_EQ(TextOfValue(item, QStringLiteral("")), QString());

    const ItemDefinition empty = itemWithList(QStringLiteral("X"), {});
    EXPECT_EQ(ValueOfText(empty, QString()), QString());
    EXPECT_EQ(TextOfValue(empty, QString()), QString());
    EXPECT_EQ(IndexOfText(empty, QString()), -1);
}

}  // namespace
