#include "definitions/ParameterLine.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace vormex;

namespace {

struct DecimalCase {
    const char* name;
    const char16_t* text;
    qint64 value32;
    qint64 value64;
};

class CDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(CDecimalTest, ReadsLikeTheCLibrary)
{
    const QString text = QString::fromUtf16(GetParam().text);
    EXPECT_EQ(CDecimal(text), GetParam().value32);
    EXPECT_EQ(CDecimal64(text), GetParam().value64);
}

constexpr qint64 kIntMax = std::numeric_limits<int>::max();
constexpr qint64 kIntMin = std::numeric_limits<int>::min();
constexpr qint64 kLongMax = std::numeric_limits<qint64>::max();
constexpr qint64 kLongMin = std::numeric_limits<qint64>::min();

INSTANTIATE_TEST_SUITE_P(
    Cases, CDecimalTest,
    ::testing::Values(DecimalCase{"plain", u"123", 123, 123}, DecimalCase{"empty", u"", 0, 0},
                      DecimalCase{"noDigits", u"abc", 0, 0}, DecimalCase{"loneSign", u"-", 0, 0},
                      DecimalCase{"blanksAndSign", u" \t\n\v\f\r-42x7", -42, -42},
                      DecimalCase{"plusSign", u"+7", 7, 7}, DecimalCase{"signThenBlank", u"- 5", 0, 0},
                      DecimalCase{"doubleSign", u"--5", 0, 0}, DecimalCase{"stopsAtDecimalPoint", u"3.0", 3, 3},
                      DecimalCase{"fullWidthDigitIsNoDigit", u"\uFF11", 0, 0},
                      DecimalCase{"noBreakSpaceIsNoBlank", u"\u00A05", 0, 0},
                      DecimalCase{"intMax", u"2147483647", kIntMax, kIntMax},
                      DecimalCase{"intMin", u"-2147483648", kIntMin, kIntMin},
                      DecimalCase{"intOverflowClamps", u"2147483648", kIntMax, 2147483648LL},
                      DecimalCase{"intUnderflowClamps", u"-99999999999", kIntMin, -99999999999LL},
                      DecimalCase{"longMin", u"-9223372036854775808", kIntMin, kLongMin},
                      DecimalCase{"hugeClamps", u"123456789012345678901234567890", kIntMax, kLongMax},
                      DecimalCase{"hugeNegativeClamps", u"-123456789012345678901234567890", kIntMin, kLongMin}),
    [](const ::testing::TestParamInfo<DecimalCase>& info) { return std::string(info.param.name); });

TEST(FieldAt, CountsFieldsFromZeroBetweenCommas)
{
    const QString line = QStringLiteral("a,,c");
    EXPECT_EQ(FieldAt(line, 0), QStringLiteral("a"));
    EXPECT_EQ(FieldAt(line, 1), QString());
    EXPECT_EQ(FieldAt(line, 2), QStringLiteral("c"));
    EXPECT_EQ(FieldAt(line, 3), QString());
    EXPECT_EQ(FieldAt(line, -1), QString());
    EXPECT_EQ(FieldAt(QString(), 0), QString());
    EXPECT_EQ(FieldAt(QStringLiteral("x,"), 1), QString());
    EXPECT_EQ(FieldAt(QStringLiteral(" 12 ,b"), 0), QStringLiteral(" 12 "));  // never trimmed
}

TEST(IntFieldAt, ConvertsTheFieldLikeAtoi)
{
    const QString line = QStringLiteral("10, -3,x,,+8kg");
    EXPECT_EQ(IntFieldAt(line, 0), 10);
    EXPECT_EQ(IntFieldAt(line, 1), -3);
    EXPECT_EQ(IntFieldAt(line, 2), 0);
    EXPECT_EQ(IntFieldAt(line, 3), 0);
    EXPECT_EQ(IntFieldAt(line, 4), 8);
    EXPECT_EQ(IntFieldAt(line, 9), 0);
}

struct HexCase {
    const char* name;
    const char16_t* field;
    int value;
};

class HexFieldAtTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexFieldAtTest, ScansLikePercentX)
{
    const QString line = QStringLiteral("skip,") + QString::fromUtf16(GetParam().field) + QStringLiteral(",tail");
    EXPECT_EQ(HexFieldAt(line, 1), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexFieldAtTest,
    ::testing::Values(HexCase{"lowerCase", u"7e", 126}, HexCase{"upperCase", u"7E", 126}, HexCase{"unreadable", u"zz", 0},
                      HexCase{"empty", u"", 0}, HexCase{"stopsAtNonHex", u"1G", 1}, HexCase{"leadingBlanks", u"  ff", 255},
                      HexCase{"prefix", u"0x1f", 31}, HexCase{"prefixWithoutDigits", u"0xg", 0},
                      HexCase{"minus", u"-1", -1}, HexCase{"plus", u"+a", 10},
                      HexCase{"fullRange", u"FFFFFFFF", -1}, HexCase{"highBit", u"80000000", int(0x80000000u)},
                      HexCase{"overflowSaturates", u"123456789", -1},
                      HexCase{"negativeOverflowSaturates", u"-123456789", -1}, HexCase{"minusHighBit", u"-80000000", int(0x80000000u)}),
    [](const ::testing::TestParamInfo<HexCase>& info) { return std::string(info.param.name); });

}  // namespace
