#include "EncoderFixture.h"

#include "base/StringTable.h"
#include "basic/KeywordTables.h"
#include "basic/Scanner.h"

#include <gtest/gtest.h>

using namespace vormex;
using namespace vormex::basic;

namespace {

// Every token of a text, as NextToken gives them one after the other.
QStringList tokens(const QString& text, int languageValue = 1)
{
    SourceCharacterSet characters(languageValue);
    Scanner scanner(characters);
    QStringList out;
    QStringView rest = text;
    for (int guard = 0; guard < 1000; ++guard) {
        rest = scanner.NextToken(rest);
        if (scanner.endOfLine)
            break;
        out << scanner.token.toString();
    }
    return out;
}

struct TokenCase {
    const char* name;
    QString text;
    QStringList expected;
};

class Tokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(Tokens, SplitAsThePrinterToolDoes)
{
    EXPECT_EQ(tokens(GetParam().text), GetParam().expected);
}

const QString kQuote = QStringLiteral("\"");

INSTANTIATE_TEST_SUITE_P(
    Scanner, Tokens,
    ::testing::Values(
        TokenCase{"NotEqual", "A<>B", {"A", "<>", "B"}},
        TokenCase{"NotEqualReversed", "A><B", {"A", "><", "B"}},
        TokenCase{"LessOrEqualReversed", "A=<B", {"A", "=<", "B"}},
        TokenCase{"GreaterOrEqualBoth", "A>=B=>C", {"A", ">=", "B", "=>", "C"}},
        TokenCase{"LessThan", "A<B", {"A", "<", "B"}},
        TokenCase{"RelationalAlone", "X = Y", {"X", "=", "Y"}},
        TokenCase{"SingleCharacterTokens", "A,(B):C;D+E-F*G/H^I\\J",
                  {"A", ",", "(", "B", ")", ":", "C", ";", "D", "+", "E", "-", "F", "*", "G", "/", "H", "^", "I", "\\", "J"}},
        TokenCase{"LiteralKeepsColon", "PRINT \"AB:C\";X", {"PRINT", "\"AB:C\"", ";", "X"}},
        TokenCase{"LiteralWithoutClosingQuote", "PRINT \"ABC", {"PRINT", "\"ABC"}},
        TokenCase{"WordEndsBeforeQuote", "PRINT\"A\"", {"PRINT", "\"A\""}},
        TokenCase{"CommentBecomesRem", "X=1 ' note: here", {"X", "=", "1", "REM"}},
        TokenCase{"StringVariableBeforeEquals", "A1$=", {"A1$", "="}},
        TokenCase{"FunctionBeforeParenthesis", "LEFT$(A$,1)", {"LEFT$", "(", "A$", ",", "1", ")"}},
        TokenCase{"ExponentIsSplit", "1.5E+3", {"1.5E", "+", "3"}},
        TokenCase{"HexAndFileNumberAreWords", "&H1F #1", {"&H1F", "#1"}},
        TokenCase{"WordCharacters", "a.b#c&d!e%f$g_h", {"a.b#c&d!e%f$g_h"}},
        TokenCase{"OtherCharacterEndsWord", "AB?CD ?", {"AB?", "CD", "?"}},
        TokenCase{"TabsAreBlanks", "\tX\t=\t1", {"X", "=", "1"}},
        TokenCase{"LabelMark", "10 *LOOP1:", {"10", "*", "LOOP1", ":"}},
        TokenCase{"KanjiAreWordCharacters", QStringLiteral(u"A漢字ｶﾅ=1"), {QStringLiteral(u"A漢字ｶﾅ"), "=", "1"}}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

TEST(Scanner, DelimiterRemembersWhatEndedTheWord)
{
    SourceCharacterSet characters(1);
    Scanner scanner(characters);
    QStringView rest = scanner.NextToken(u"LEFT$(A$)");
    EXPECT_EQ(scanner.token, u"LEFT$");
    EXPECT_EQ(scanner.delimiter, QLatin1Char('('));
    EXPECT_EQ(rest, u"(A$)");
    scanner.NextToken(u"X (1)");
    EXPECT_EQ(scanner.delimiter, QLatin1Char(' '));
    scanner.NextToken(u"X=1");
    EXPECT_EQ(scanner.delimiter, QLatin1Char(' '));  // a word ender is no delimiter
}

TEST(Scanner, BlankTextLeavesTheTokenAsItWas)
{
    SourceCharacterSet characters(0);
    Scanner scanner(characters);
    scanner.NextToken(u"PRINT");
    const QStringView rest = scanner.NextToken(u" \t ");
    EXPECT_EQ(scanner.endOfLine, 1);
    EXPECT_EQ(scanner.token, u"PRINT");
    EXPECT_TRUE(rest.isEmpty());
}

TEST(Scanner, ParseLabelName)
{
    SourceCharacterSet characters(1);
    Scanner scanner(characters);
    QStringView rest = scanner.NextToken(u"10 *LOOP1:");
    rest = scanner.NextToken(rest);
    ASSERT_EQ(scanner.token, u"*");
    rest = scanner.ParseLabelName(rest);
    EXPECT_EQ(scanner.token, u"LOOP1");
    EXPECT_EQ(rest, u":");
    EXPECT_EQ(scanner.badLabelChar, 0);
    EXPECT_EQ(scanner.endOfLine, 0);

    scanner.ParseLabelName(u" A.B_9,X");
    EXPECT_EQ(scanner.token, u"A.B_9");
    EXPECT_EQ(scanner.badLabelChar, 0);

    scanner.ParseLabelName(u"loop1");
    EXPECT_EQ(scanner.token, u"loop1");
    EXPECT_EQ(scanner.badLabelChar, 1);
    scanner.ParseLabelName(u"OK");
    EXPECT_EQ(scanner.badLabelChar, 1) << "only the caller clears it";

    const QStringView none = scanner.ParseLabelName(u"");
    EXPECT_EQ(scanner.endOfLine, 1);
    EXPECT_TRUE(scanner.token.isEmpty());
    EXPECT_TRUE(none.isEmpty());
}

TEST(KeywordTables, LookupsGiveTheEntryNumbers)
{
    const KeywordTables tables(StringTable::builtIn());
    EXPECT_EQ(tables.LookupStatement(SourceCharacterSet::toUpper(u"print")), 0x8A - 0x80);
    EXPECT_EQ(tables.LookupFunction(SourceCharacterSet::toUpper(u"Chr$")), 0x58 - 0x40);
    EXPECT_EQ(tables.LookupOperator(SourceCharacterSet::toUpper(u"mod")), 0x24 - 0x20);
    EXPECT_EQ(tables.LookupStatement(QStringLiteral("SETZPROC")), 0xE5 - 0x80);
    EXPECT_EQ(tables.LookupFunction(QStringLiteral("GETCMDZB")), 0x7F - 0x40);
    EXPECT_EQ(tables.LookupOperator(QStringLiteral(":")), 0x38 - 0x20);
    EXPECT_EQ(tables.LookupStatement(QStringLiteral("INPUT")), 0x98 - 0x80);
    EXPECT_EQ(tables.LookupFunction(QStringLiteral("INPUT$")), 0x43 - 0x40);
    EXPECT_EQ(tables.LookupStatement(QStringLiteral("PRINTX")), -1);
    EXPECT_EQ(tables.LookupStatement(QStringLiteral("RESUME")), -1);
    EXPECT_EQ(tables.LookupStatement(QStringLiteral("EEEEEEEEEE")), -1);
}

}  // namespace
