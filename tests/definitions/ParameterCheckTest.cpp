#include "base/StringTable.h"
#include "definitions/ParameterCheck.h"

#include <gtest/gtest.h>

#include <string>

using namespace vormex;

namespace {

FieldRule rule(int kind, int minLength, int maxLength, int omissible = 0)
{
    return FieldRule{minLength, maxLength, kind, omissible};
}

LayoutFormat format(const QString& name, int minLength, int maxLength, QList<FieldRule> rules)
{
    return LayoutFormat{name, minLength, maxLength, std::move(rules)};
}

struct FieldCase {
    const char* name;
    FieldRule rule;
    const char16_t* field;
    int code;  // 0: passes
    int minLength = 0;
    int maxLength = 0;
};

class ValidateFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ValidateFieldTest, AppliesTheRule)
{
    const FieldCase& c = GetParam();
    const LayoutFormat f = format(QStringLiteral("F"), 0, 100, {rule(FieldRule::Text, 0, 9), c.rule});
    ParameterCheckState state;
    state.error.code = 99;  // a passing check leaves the last error alone
    const bool passed = ValidateField(f, 1, QString::fromUtf16(c.field), state);
    EXPECT_EQ(passed, c.code == 0);
    EXPECT_EQ(state.error.code, c.code == 0 ? 99 : c.code);
    EXPECT_EQ(state.error.fieldIndex, 1);
    if (c.code == 2) {
        EXPECT_EQ(state.error.minLength, c.minLength);
        EXPECT_EQ(state.error.maxLength, c.maxLength);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateFieldTest,
    ::testing::Values(FieldCase{"unsignedTooShort", rule(FieldRule::Unsigned, 5, 5), u"0100", 2, 5, 5},
                      FieldCase{"unsignedExact", rule(FieldRule::Unsigned, 5, 5), u"01000", 0},
                      FieldCase{"unsignedLetter", rule(FieldRule::Unsigned, 1, 5), u"1a", 4},
                      FieldCase{"unsignedWithSign", rule(FieldRule::Unsigned, 1, 5), u"+1", 4},
                      FieldCase{"signedWithoutSign", rule(FieldRule::Signed, 5, 5), u"12345", 5},
                      FieldCase{"signedPlus", rule(FieldRule::Signed, 5, 5), u"+1234", 0},
                      FieldCase{"signedLetter", rule(FieldRule::Signed, 5, 5), u"+12a4", 4},
                      FieldCase{"signedLoneMinus", rule(FieldRule::Signed, 1, 5), u"-", 0},
                      FieldCase{"signedTooLongWithSign", rule(FieldRule::Signed, 1, 3), u"-123", 2, 1, 3},
                      FieldCase{"signCheckedBeforeLength", rule(FieldRule::Signed, 1, 2), u"12345", 5},
                      FieldCase{"lengthCheckedBeforeDigits", rule(FieldRule::Unsigned, 1, 2), u"abc", 2, 1, 2},
                      FieldCase{"textAnything", rule(FieldRule::Text, 1, 8), u"a b,-", 0},
                      FieldCase{"textTooLong", rule(FieldRule::Text, 1, 2), u"abc", 2, 1, 2},
                      FieldCase{"emptyOmissible", rule(FieldRule::Unsigned, 3, 3, 1), u"", 0},
                      FieldCase{"emptyRequired", rule(FieldRule::Text, 0, 3), u"", 6},
                      FieldCase{"fullWidthDigit", rule(FieldRule::Unsigned, 1, 3), u"\uFF11", 4}),
    [](const ::testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

TEST(ValidateField, IndexBeyondTheRulesIsAFieldCountError)
{
    const LayoutFormat f = format(QStringLiteral("F"), 0, 10, {rule(FieldRule::Text, 0, 9)});
    ParameterCheckState state;
    state.error.fieldIndex = 7;
    EXPECT_FALSE(ValidateField(f, 1, QStringLiteral("x"), state));
    EXPECT_EQ(state.error.code, 3);
    EXPECT_EQ(state.error.fieldIndex, 7);  // not set for an index beyond the rules
    EXPECT_FALSE(ValidateField(f, -1, QStringLiteral("x"), state));
    EXPECT_EQ(state.error.code, 3);
}

struct LineCase {
    const char* name;
    const char16_t* line;
    bool labelShiftOmitted;
    int code;        // 0: passes
    int fieldIndex;  // checked when the line fails with a field error
};

class ValidateLineTest : public ::testing::TestWithParam<LineCase> {};

// Three fields: 2 digits, a signed number, an omissible text; the whole line 5..12 characters.
TEST_P(ValidateLineTest, ChecksLengthCountAndFields)
{
    const LineCase& c = GetParam();
    const LayoutFormat f = format(QStringLiteral("F"), 5, 12,
                                  {rule(FieldRule::Unsigned, 2, 2), rule(FieldRule::Signed, 2, 4),
                                   rule(FieldRule::Text, 1, 3, 1)});
    ParameterCheckState state;
    EXPECT_EQ(ValidateLine(f, QString::fromUtf16(c.line), c.labelShiftOmitted, state), c.code == 0);
    EXPECT_EQ(state.error.code, c.code);
    if (c.code >= 2 && c.code != 3) {
        EXPECT_EQ(state.error.fieldIndex, c.fieldIndex);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateLineTest,
    ::testing::Values(LineCase{"passes", u"12,+34,ab", false, 0, 0}, LineCase{"lastOmitted", u"12,+34,", false, 0, 0},
                      LineCase{"tooShort", u"1,+2", false, 1, 0}, LineCase{"tooLong", u"12,+3456,abcd", false, 1, 0},
                      LineCase{"fieldMissing", u"12,+34567", false, 3, 0},
                      LineCase{"oneFieldShortWithLabelShift", u"12,+345", true, 0, 0},
                      LineCase{"oneFieldMoreWithLabelShift", u"12,+3,a,b", true, 3, 0},
                      LineCase{"twoShortWithLabelShift", u"123456", true, 3, 0},
                      LineCase{"firstFieldFails", u"1x,+34,ab", false, 4, 0},
                      LineCase{"secondFieldUnsigned", u"12,345,ab", false, 5, 1},
                      LineCase{"firstFailureWins", u"1,+3456,abc", false, 2, 0}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(ValidateLine, OneShortNeedsAnOmissibleLastRule)
{
    const LayoutFormat f = format(QStringLiteral("F"), 0, 20, {rule(FieldRule::Unsigned, 1, 2), rule(FieldRule::Unsigned, 1, 2)});
    ParameterCheckState state;
    EXPECT_FALSE(ValidateLine(f, QStringLiteral("12"), true, state));
    EXPECT_EQ(state.error.code, 6);
    EXPECT_EQ(state.error.fieldIndex, 1);
}

TEST(ValidateLine, AFormatWithoutRulesRefusesEveryLine)
{
    ParameterCheckState state;
    EXPECT_FALSE(ValidateLine(format(QStringLiteral("F"), 0, 20, {}), QString(), true, state));
    EXPECT_EQ(state.error.code, 3);
}

// A printer with `count` one-field formats named "S0", "S1"...; with 15 or more sections the
// ones of index 13 and 14 take 43 and 30 data lines.
PrinterDefinition printerWithSections(int count)
{
    PrinterDefinition printer;
    printer.name = QStringLiteral("P");
    for (int i = 0; i < count; ++i)
        printer.layoutFormats.append(format(QStringLiteral("S%1").arg(i), 1, 3, {rule(FieldRule::Unsigned, 1, 3)}));
    return printer;
}

QString sectionText(int count, int from = 0)
{
    QString text;
    for (int i = from; i < count; ++i) {
        text += QStringLiteral("S%1\r\n").arg(i);
        const int lines = i == 13 ? 43 : i == 14 ? 30 : 1;
        for (int n = 0; n < lines; ++n)
            text += QStringLiteral("%1\r\n").arg(n);
    }
    return text;
}

TEST(ValidateSectionFile, PassesWhenEverySectionMatches)
{
    ParameterCheckState state;
    for (int count : {0, 3, 15, 16, 30}) {
        const PrinterDefinition printer = printerWithSections(count);
        EXPECT_TRUE(ValidateSectionFile(printer, sectionText(count), false, state)) << count;
        EXPECT_TRUE(ValidateSectionFile(printer, sectionText(count) + QStringLiteral("trailing\r\nx"), false, state))
            << count;
    }
    EXPECT_EQ(state.error.code, 0);
}

TEST(ValidateSectionFile, MayEndBeforeTheFifteenthSectionOnly)
{
    const PrinterDefinition printer = printerWithSections(30);
    ParameterCheckState state;
    EXPECT_TRUE(ValidateSectionFile(printer, sectionText(15), false, state));

    state.currentSectionName = QStringLiteral("stale");
    EXPECT_FALSE(ValidateSectionFile(printer, sectionText(14), false, state));
    EXPECT_EQ(state.error.code, 3);
    EXPECT_EQ(state.currentSectionName, QString());

    EXPECT_FALSE(ValidateSectionFile(printer, sectionText(16), false, state));
    EXPECT_EQ(state.error.code, 3);
}

TEST(ValidateSectionFile, ReportsTheFailingSection)
{
    const PrinterDefinition printer = printerWithSections(30);
    ParameterCheckState state;

    QString text = sectionText(30);
    text.replace(QStringLiteral("S5\r\n"), QStringLiteral("S 5\r\n"));
    EXPECT_FALSE(ValidateSectionFile(printer, text, false, state));
    EXPECT_EQ(state.error.code, 7);
    EXPECT_EQ(state.currentSectionName, QStringLiteral("S5"));

    text = sectionText(13) + QStringLiteral("S13\r\n") + QStringLiteral("1\r\n").repeated(42) + QStringLiteral("x\r\n");
    EXPECT_FALSE(ValidateSectionFile(printer, text, false, state));
    EXPECT_EQ(state.error.code, 4);
    EXPECT_EQ(state.currentSectionName, QStringLiteral("S13"));

    // A data line cut short by the end of the text.
    text = sectionText(14) + QStringLiteral("S14\r\n") + QStringLiteral("1\r\n").repeated(29) + QStringLiteral("1");
    EXPECT_FALSE(ValidateSectionFile(printer, text, false, state));
    EXPECT_EQ(state.error.code, 3);
}

TEST(ValidateSectionLine, SetsTheSectionNameAndChecksTheHeader)
{
    const PrinterDefinition printer = printerWithSections(2);
    ParameterCheckState state;
    EXPECT_TRUE(ValidateSectionLine(printer, 1, QStringLiteral("S1"), QStringLiteral("12"), false, state));
    EXPECT_EQ(state.currentSectionName, QStringLiteral("S1"));
    EXPECT_FALSE(ValidateSectionLine(printer, 0, QStringLiteral("S1"), QStringLiteral("12"), false, state));
    EXPECT_EQ(state.error.code, 7);
    EXPECT_EQ(state.currentSectionName, QStringLiteral("S0"));
    EXPECT_FALSE(ValidateSectionLine(printer, 2, QStringLiteral("S2"), QStringLiteral("12"), false, state));
    EXPECT_EQ(state.error.code, 3);
}

TEST(ValidateSystemParameterText, UsesTheSystemFormat)
{
    PrinterDefinition printer;
    ParameterCheckState state;
    EXPECT_FALSE(ValidateSystemParameterText(printer, QStringLiteral("1"), false, state));
    EXPECT_EQ(state.error.code, 3);
    printer.systemFormat = format(QStringLiteral("System Parameter"), 1, 5, {rule(FieldRule::Unsigned, 1, 1), rule(FieldRule::Unsigned, 1, 1, 1)});
    EXPECT_TRUE(ValidateSystemParameterText(printer, QStringLiteral("1,2"), false, state));
    EXPECT_TRUE(ValidateSystemParameterText(printer, QStringLiteral("1"), true, state));
    EXPECT_FALSE(ValidateSystemParameterText(printer, QStringLiteral("1"), false, state));
}

struct MessageCase {
    const char* name;
    ParameterFileKind kind;
    ParameterError error;
    const char16_t* expected;
};

class ParameterErrorMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ParameterErrorMessageTest, BuildsTheUserText)
{
    ParameterCheckState state;
    state.error = GetParam().error;
    state.currentSectionName = QStringLiteral("BARCODE Default");
    EXPECT_EQ(ParameterErrorMessage(GetParam().kind, state, StringTable::builtIn()),
              QString::fromUtf16(GetParam().expected));
}

constexpr auto kSystem = ParameterFileKind::SystemParameters;
constexpr auto kTable = ParameterFileKind::InitialTable;

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterErrorMessageTest,
    ::testing::Values(
        MessageCase{"exactLength", kSystem, {2, 3, 5, 5}, u"第4パラメータの桁数が範囲を超えています\r\n5桁で設定してください"},
        MessageCase{"lengthRange", kSystem, {2, 0, 1, 8}, u"第1パラメータの桁数が範囲を超えています\r\n1～8桁で設定してください"},
        MessageCase{"digitsInSection", kTable, {4, 1, 0, 0}, u"BARCODE Default\r\n第2パラメータは数字のみ入力可能です"},
        MessageCase{"sign", kSystem, {5, 9, 0, 0}, u"第10パラメータに符号が設定されていません"},
        MessageCase{"omission", kTable, {6, 0, 0, 0}, u"BARCODE Default\r\n第1パラメータは省略できません"},
        MessageCase{"parameterCount", kTable, {8, 0, 0, 0}, u"BARCODE Default\r\nパラメータの数が間違っています"},
        MessageCase{"lineLengthSystem", kSystem, {1, 0, 0, 0}, u"システム設定ファイルではありません"},
        MessageCase{"fieldCountSystem", kSystem, {3, 0, 0, 0}, u"システム設定ファイルではありません"},
        MessageCase{"headerTable", kTable, {7, 0, 0, 0}, u"初期値＆テーブルファイルではありません"},
        MessageCase{"fieldCountTable", kTable, {3, 0, 0, 0}, u"初期値＆テーブルファイルではありません"},
        MessageCase{"noErrorSystem", kSystem, {0, 0, 0, 0}, u""},
        MessageCase{"noErrorTable", kTable, {0, 0, 0, 0}, u"BARCODE Default\r\n"}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

TEST(ParameterErrorMessage, FollowsAFailedSectionCheck)
{
    PrinterDefinition printer = printerWithSections(2);
    printer.layoutFormats[1].name = QStringLiteral("BARCODE Default");
    ParameterCheckState state;
    const QString text = QStringLiteral("S0\r\n1\r\nBARCODE\r\n1\r\n");
    ASSERT_FALSE(ValidateSectionFile(printer, text, false, state));
    EXPECT_EQ(ParameterErrorMessage(kTable, state, StringTable::builtIn()),
              QStringLiteral("初期値＆テーブルファイルではありません"));

    ASSERT_FALSE(ValidateSectionFile(printer, QStringLiteral("S0\r\n1\r\nBARCODE Default\r\n1234\r\n"), false, state));
    EXPECT_EQ(ParameterErrorMessage(kTable, state, StringTable::builtIn()), QStringLiteral("初期値＆テーブルファイルではありません"));
    ASSERT_FALSE(ValidateSectionFile(printer, QStringLiteral("S0\r\n1\r\nBARCODE Default\r\n12a\r\n"), false, state));
    EXPECT_EQ(ParameterErrorMessage(kTable, state, StringTable::builtIn()),
              QStringLiteral("BARCODE Default\r\n第1パラメータは数字のみ入力可能です"));
}

}  // namespace
