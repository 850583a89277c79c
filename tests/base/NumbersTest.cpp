// The number conversions: the C library's readings that files and device texts rely on, and the
// strict reading of what a user types.
#include "base/Numbers.h"

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

struct ScanCase {
    const char* name;
    const char16_t* text;
    bool digits;
    qsizetype end;  // where the digits end: the COM address and LAN scans continue from there
};

class ScanCDecimalTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanCDecimalTest, TellsWhereTheDigitsEnd)
{
    const DecimalScan scan = ScanCDecimal(QString::fromUtf16(GetParam().text), kIntMin, kIntMax);
    EXPECT_EQ(scan.digits, GetParam().digits);
    EXPECT_EQ(scan.end, GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanCDecimalTest,
    ::testing::Values(ScanCase{"plain", u"9600,8", true, 4}, ScanCase{"blanksAndSign", u"  -7,x", true, 4},
                      ScanCase{"none", u",8", false, 0}, ScanCase{"signOnly", u"+,", false, 0},
                      ScanCase{"overflowConsumesAllDigits", u"99999999999,1", true, 11}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

TEST(ScanDigits, ReadsOnlyLeadingDigitsAndSaturatesAtItsLimit)
{
    EXPECT_EQ(ScanDigits(u"120 ", 0xFFFFFFFFu).value, 120u);
    EXPECT_EQ(ScanDigits(u"120 ", 0xFFFFFFFFu).length, 3);
    EXPECT_EQ(ScanDigits(u" 1", 0xFFFFFFFFu).length, 0);  // no blanks, no sign
    EXPECT_EQ(ScanDigits(u"-1", 0xFFFFFFFFu).length, 0);
    EXPECT_EQ(ScanDigits(u"4294967295", 0xFFFFFFFFu).value, 0xFFFFFFFFu);
    EXPECT_EQ(ScanDigits(u"4294967296", 0xFFFFFFFFu).value, 0xFFFFFFFFu);
    EXPECT_EQ(ScanDigits(u"99999999999999999999999", 0xFFFFFFFFu).length, 23);
}

struct WholeCase {
    const char* name;
    const char16_t* text;
    std::optional<int> value;
};

class ParseWholeNumberTest : public ::testing::TestWithParam<WholeCase> {};

TEST_P(ParseWholeNumberTest, AcceptsOnlyAWholeNumberThatFitsAnInt)
{
    EXPECT_EQ(ParseWholeNumber(QString::fromUtf16(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseWholeNumberTest,
    ::testing::Values(WholeCase{"plain", u"14", 14}, WholeCase{"blanksAround", u" 14\t", 14},
                      WholeCase{"signs", u"-3", -3}, WholeCase{"plus", u"+3", 3}, WholeCase{"zero", u"0", 0},
                      WholeCase{"empty", u"", std::nullopt}, WholeCase{"blank", u"  ", std::nullopt},
                      WholeCase{"signOnly", u"-", std::nullopt}, WholeCase{"trailingText", u"14a", std::nullopt},
                      WholeCase{"innerBlank", u"1 4", std::nullopt}, WholeCase{"decimalPoint", u"1.0", std::nullopt},
                      WholeCase{"hex", u"0x10", std::nullopt}, WholeCase{"fullWidthDigit", u"\uFF11", std::nullopt},
                      WholeCase{"intMax", u"2147483647", int(kIntMax)}, WholeCase{"intMin", u"-2147483648", int(kIntMin)},
                      WholeCase{"justOverIntMax", u"2147483648", std::nullopt},
                      WholeCase{"justUnderIntMin", u"-2147483649", std::nullopt},
                      WholeCase{"huge", u"99999999999999999999999", std::nullopt}),
    [](const ::testing::TestParamInfo<WholeCase>& info) { return std::string(info.param.name); });

TEST(CHex32, ReadsBothCasesAndThePrefix)
{
    EXPECT_EQ(CHex32(u"1b)"), 0x1Bu);
    EXPECT_EQ(CHex32(u"0X1B"), 0x1Bu);
    EXPECT_EQ(CHex32(u"0x"), 0u);
    EXPECT_EQ(CHex32(u"-1"), 0xFFFFFFFFu);
}

}  // namespace
