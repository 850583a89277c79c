#include "sysparam/SystemParameterLine.h"

#include "support/DocumentFixtures.h"

#include <gtest/gtest.h>

namespace vormex {
namespace {

using test::builtInStrings;
using test::documentPrinter;

// A set with the values of a typical page: length 100.0 mm, width 80.0 mm, all boxes ticked.
SystemParameterSet exampleSet(const PrinterDefinition& printer)
{
    SystemParameterSet set = DefaultSystemParameters(printer);
    set.labelLength.setText(QStringLiteral("1000"));
    set.labelWidth.setText(QStringLiteral("0800"));
    set.rfidAdjust.setText(QStringLiteral("-  12"));
    set.labelShift.setText(QStringLiteral("+   5"));
    set.tabSpaces = 8;
    return set;
}

TEST(SystemParameterSetDefaults, ComeFromTheItems)
{
    const PrinterDefinition& printer = documentPrinter();
    const SystemParameterSet set = DefaultSystemParameters(printer);
    EXPECT_EQ(set.labelLength.displayText(), QStringLiteral(" 60.0 mm"));
    EXPECT_EQ(set.labelLength.maskedText(), QStringLiteral(" 600"));
    EXPECT_EQ(set.controlPrefix.maskedText(), QStringLiteral("7E"));
    EXPECT_EQ(set.tabSpaces, 8);
    EXPECT_EQ(set.selectedText(SystemList::PrintSpeed, printer), QStringLiteral("4 ips"));
    EXPECT_EQ(set.selectedText(SystemList::PowerOnCalib, printer), QStringLiteral("Feed"));
    for (bool ticked : set.ticked)
        EXPECT_TRUE(ticked);
}

TEST(SystemParameterSetDefaults, MissingPrinterItemsLeaveControlsEmpty)
{
    const PrinterDefinition empty;
    const SystemParameterSet set = DefaultSystemParameters(empty);
    EXPECT_EQ(set.labelLength.maskedText(), QString());
    EXPECT_EQ(set.selected(SystemList::Ribbon), -1);
    // The line is still built; the list fields stay empty.
    EXPECT_EQ(BuildSystemParameterLine(set, empty), QStringLiteral("00000,0000,,,,,,,00000,,,,,,,1,1,1,1,1,00,+0000,,+0000\r\n"));
}

TEST(BuildSystemParameterLine, WritesTheFieldsInTheirFormats)
{
    const PrinterDefinition& printer = documentPrinter();
    const QString line = BuildSystemParameterLine(exampleSet(printer), printer);
    EXPECT_EQ(line, QStringLiteral("01000,0800,0,8,T,G,N,4,03000,1,0,0,7E,5E,2C,0,0,0,0,0,08,-0012,0,+0005\r\n"));
    EXPECT_EQ(line.size(), 72);
    EXPECT_EQ(line.mid(64, 6), QStringLiteral(",+0005"));
}

TEST(BuildSystemParameterLine, ZeroIsAlwaysPositiveAndPrefixesUpperCase)
{
    const PrinterDefinition& printer = documentPrinter();
    SystemParameterSet set = exampleSet(printer);
    set.rfidAdjust.setText(QStringLiteral("-0000"));
    set.controlPrefix.setText(QStringLiteral("7e"));
    set.isTicked(SystemSwitch::LabelType) = false;
    const QString line = BuildSystemParameterLine(set, printer);
    EXPECT_TRUE(line.contains(QStringLiteral(",7E,5E,2C,0,1,0,0,0,08,+0000,"))) << line.toStdString();
}

TEST(SignedFieldValue, DropsTheSignPositionAndNegatesWithoutOverflow)
{
    const struct {
        const char* masked;
        int value;
    } cases[] = {
        {"-  12", -12}, {"+   5", 5}, {" 0012", 12}, {"-0000", 0}, {"", 0},
        // A minus typed after the sign: the smallest int saturates instead of overflowing.
        {"--2147483648", 2147483647},
        {"+-2147483648", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SignedFieldValue(QString::fromLatin1(c.masked)), c.value) << c.masked;
}

TEST(ParseSystemParameterLine, RoundTripsALineWithinItsMasks)
{
    const PrinterDefinition& printer = documentPrinter();
    const QString line = QStringLiteral("01000,0800,1,C,P,M,S,6,03000,0,1,1,7E,5E,2C,0,1,0,1,0,12,-0012,1,+0005\r\n");
    SystemParameterSet set = DefaultSystemParameters(printer);
    ParseSystemParameterLine(line, printer, set);
    EXPECT_EQ(set.labelLength.displayText(), QStringLiteral("100.0 mm"));
    EXPECT_EQ(set.rfidAdjust.displayText(), QStringLiteral("-  1.2 mm"));
    EXPECT_EQ(set.controlPrefix.displayText(), QStringLiteral("HEX(7E)"));
    EXPECT_EQ(set.selectedText(SystemList::DotMm, printer), QStringLiteral("12 dot/mm"));
    EXPECT_FALSE(set.isTicked(SystemSwitch::LabelType));
    EXPECT_EQ(BuildSystemParameterLine(set, printer), line);
}

TEST(ParseSystemParameterLine, MissingFieldsReadAsEmptyOrZero)
{
    const PrinterDefinition& printer = documentPrinter();
    SystemParameterSet set = DefaultSystemParameters(printer);
    ParseSystemParameterLine(QStringLiteral("01000,0800,0"), printer, set);
    EXPECT_EQ(set.selected(SystemList::Ribbon), 0);
    EXPECT_EQ(set.selected(SystemList::DotMm), -1);
    EXPECT_EQ(set.controlPrefix.displayText(), QStringLiteral("HEX(00)"));
    for (bool ticked : set.ticked)
        EXPECT_TRUE(ticked);
    EXPECT_EQ(set.tabSpaces, 0);
}

TEST(BuildSystemParameterArea, LaysOutHeaderTextAndFilling)
{
    const PrinterDefinition& printer = documentPrinter();
    const QString line = BuildSystemParameterLine(exampleSet(printer), printer);
    const AreaResult result = BuildSystemParameterArea(line, printer);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    const QByteArray& area = result.area;
    ASSERT_EQ(area.size(), 64 * 1024);
    EXPECT_EQ(area.left(12), QByteArray("QUILLPRM.TXT"));
    EXPECT_EQ(quint8(area[12]), 0x00);
    EXPECT_EQ(quint8(area[13]), 72);
    EXPECT_EQ(quint8(area[14]), 0xF0);
    EXPECT_EQ(quint8(area[15]), 0x02);
    EXPECT_EQ(area.mid(16, 72), line.toLatin1());
    EXPECT_EQ(area.mid(88).count(char(0xFF)), area.size() - 88);
}

TEST(BuildSystemParameterArea, RemovesTheLabelShiftFieldWhenThePrinterHasNone)
{
    const PrinterDefinition& printer = documentPrinter(QStringLiteral("VX-NOSHIFT"));
    const QString line = BuildSystemParameterLine(exampleSet(printer), printer);
    const AreaResult result = BuildSystemParameterArea(line, printer);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(quint8(result.area[13]), 66);
    EXPECT_EQ(result.area.mid(16, 66), line.left(64).toLatin1() + "\r\n");
    EXPECT_EQ(result.area.mid(82, 8), QByteArray(8, char(0xFF)));
}

TEST(BuildSystemParameterArea, RefusesAPrinterWithoutBlockSize)
{
    const PrinterDefinition empty;
    EXPECT_FALSE(BuildSystemParameterArea(QStringLiteral("x\r\n"), empty).ok());
}

TEST(ValidateRanges, PassesTheDefaults)
{
    const PrinterDefinition& printer = documentPrinter();
    EXPECT_FALSE(ValidateRanges(DefaultSystemParameters(printer), printer, builtInStrings()));
}

TEST(ValidateRanges, ReportsTheFirstFieldOutOfRangeWithMessage800)
{
    const PrinterDefinition& printer = documentPrinter();
    SystemParameterSet set = DefaultSystemParameters(printer);
    set.labelLength.setText(QStringLiteral("  40"));
    auto failure = ValidateRanges(set, printer, builtInStrings());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->itemName, QStringLiteral("LABEL LENGTH"));
    EXPECT_EQ(failure->message, QStringLiteral("\"ラベル長\" は 5.0 から 999.9 の範囲で設定して下さい。"));

    set = DefaultSystemParameters(printer);
    set.rfidAdjust.setText(QStringLiteral("-1000"));
    failure = ValidateRanges(set, printer, builtInStrings());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, QStringLiteral("\"ＲＦＩＤ書き込み位置調整\" は -99.9 から 99.9 の範囲で設定して下さい。"));
}

TEST(ValidateRanges, SpinValueOutsideZeroTo99)
{
    const PrinterDefinition& printer = documentPrinter();
    SystemParameterSet set = DefaultSystemParameters(printer);
    set.tabSpaces = 100;
    const auto failure = ValidateRanges(set, printer, builtInStrings());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, QStringLiteral("0 から 99 までの整数を入力してください。"));
}

TEST(ValidateRanges, MissingItemFailsWithoutMessage)
{
    const PrinterDefinition empty;
    const auto failure = ValidateRanges(SystemParameterSet{}, empty, builtInStrings());
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.isEmpty());
}

TEST(TenthsText, WritesTheSign)
{
    EXPECT_EQ(TenthsText(-5), QStringLiteral("-0.5"));
    EXPECT_EQ(TenthsText(9999), QStringLiteral("999.9"));
    EXPECT_EQ(TenthsText(0), QStringLiteral("0.0"));
}

}  // namespace
}  // namespace vormex
