#include "definitions/MaskedText.h"

#include <gtest/gtest.h>

#include <ostream>

namespace vormex {
namespace {

struct MaskCase {
    const char* name;
    const char* mask;
    const char* templateText;
    const char* validChars;
    char placeholder;
    const char* input;
    const char* display;
    const char* masked;
};

// The case's name in test listings (ctest shows the parameter).
void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.name; }

class MaskedTextCases : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskedTextCases, DisplayAndMaskedText)
{
    const MaskCase& c = GetParam();
    MaskedText text(QString::fromLatin1(c.mask), QString::fromLatin1(c.templateText), QString::fromLatin1(c.validChars),
                    QLatin1Char(c.placeholder));
    text.setText(QString::fromLatin1(c.input));
    EXPECT_EQ(text.displayText(), QString::fromLatin1(c.display));
    EXPECT_EQ(text.maskedText(), QString::fromLatin1(c.masked));
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, MaskedTextCases,
    ::testing::Values(
        MaskCase{"LengthFromDisplay", "999.9 mm", "___._ mm", "", '_', " 60.0 mm", " 60.0 mm", " 600"},
        MaskCase{"LengthFromMaskedText", "999.9 mm", "___._ mm", "", '_', "1000", "100.0 mm", "1000"},
        MaskCase{"ShortTextFillsFromLeft", "999.9 mm", "___._ mm", "", '_', "12", "12_._ mm", "12__"},
        MaskCase{"LetterInDigitPositionStaysUnfilled", "999.9 mm", "___._ mm", "", '_', "1x0.0 mm", "1_0.0 mm", "1_00"},
        MaskCase{"PrefixHex", "----HH-", "HEX(__)", "", '0', "HEX(7e)", "HEX(7e)", "7e"},
        MaskCase{"PrefixUnfilledReadsZero", "----HH-", "HEX(__)", "", '0', "", "HEX(00)", "00"},
        MaskCase{"PrefixRejectsNonHex", "----HH-", "HEX(__)", "", '0', "HEX(G1)", "HEX(01)", "01"},
        MaskCase{"SignedWithValidChars", "+999.9 mm", "____._ mm", "+- 0123456789", '_', "-  1.2 mm", "-  1.2 mm", "-  12"},
        MaskCase{"SignPositionRejectsDigit", "+999.9 mm", "____._ mm", "", '_', "5  1.2 mm", "_  1.2 mm", "_  12"},
        MaskCase{"ValidCharsRestrictClass", "999", "___", "12", '_', "123", "12_", "12_"},
        MaskCase{"Ratio", "9-9", "_._", "", '_', "3.0", "3.0", "30"},
        MaskCase{"NoMaskKeepsText", "", "", "", '_', "anything", "anything", "anything"}),
    [](const auto& info) { return std::string(info.param.name); });

// Position by position, as the masked edit types: only input positions of the right class take
// a character; an emptied position reads as the placeholder again.
TEST(MaskedTextPositions, SetAndClear)
{
    MaskedText text(QStringLiteral("+999.9 mm"), QStringLiteral("____._ mm"), QStringLiteral("+- 0123456789"),
                    QLatin1Char('_'));
    text.setText(QStringLiteral("   0.0 mm"));
    EXPECT_TRUE(text.isInputPosition(0));
    EXPECT_FALSE(text.isInputPosition(4));
    EXPECT_FALSE(text.isInputPosition(-1));
    EXPECT_FALSE(text.isInputPosition(9));
    EXPECT_TRUE(text.setCharAt(0, QLatin1Char('-')));
    EXPECT_FALSE(text.setCharAt(0, QLatin1Char('1')));  // a sign position
    EXPECT_FALSE(text.setCharAt(4, QLatin1Char('1')));  // the fixed point
    EXPECT_FALSE(text.setCharAt(3, QLatin1Char('x')));
    EXPECT_TRUE(text.setCharAt(3, QLatin1Char('7')));
    EXPECT_EQ(text.charAt(3), QLatin1Char('7'));
    text.clearAt(5);
    EXPECT_TRUE(text.charAt(5).isNull());
    EXPECT_EQ(text.displayText(), QStringLiteral("-  7._ mm"));
    EXPECT_EQ(text.maskedText(), QStringLiteral("-  7_"));
}

}  // namespace
}  // namespace vormex
