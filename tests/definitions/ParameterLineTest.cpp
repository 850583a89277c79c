#include "definitions/ParameterLine.h"

#include <gtest/gtest.h>

#include <string>

using namespace vormex;

namespace {

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
