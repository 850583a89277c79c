#include "EncoderFixture.h"

#include <gtest/gtest.h>

using namespace vormex;
using namespace vormex::test;

namespace {

// A record as the body holds it: the length byte, the token bytes and the end byte.
QByteArray record(const QByteArray& tokenBytes)
{
    return char(tokenBytes.size()) + tokenBytes + '\0';
}

struct RecordCase {
    const char* name;
    QStringList lines;
    int line;  // the line whose record is checked, from 1
    QByteArray tokenBytes;
};

class Records : public ::testing::TestWithParam<RecordCase> {};

TEST_P(Records, EncodeLikeThePrinterExpects)
{
    const RecordCase& c = GetParam();
    const Encoded result = encode(source(c.lines));
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    ASSERT_GE(int(result.records.size()), c.line);
    EXPECT_EQ(result.records[size_t(c.line - 1)].bytes.toHex(' '), record(c.tokenBytes).toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Encoder, Records,
    ::testing::Values(
        RecordCase{"End", {"END"}, 1, bytes({0xB1})},
        RecordCase{"TrailingCommentLeavesNothing", {"10 A=1 ' set"}, 1, bytes({0x07, 0x00, 0x33, 0x02, 0x01})},
        RecordCase{"CommentLine", {"' only a comment"}, 1, bytes({0xB6})},
        RecordCase{"RemLine", {"REM note"}, 1, bytes({0xB6})},
        RecordCase{"LabelLine", {"*START"}, 1, bytes({0xB6})},
        RecordCase{"NumberedLabelLine", {"10 *LOOP1: X=1"}, 1, bytes({0xB6})},
        RecordCase{"RemAfterStatementIsDropped", {"A=1: REM x"}, 1, bytes({0x07, 0x00, 0x33, 0x02, 0x01, 0x38})},
        RecordCase{"LowerCaseRemAfterStatementStays", {"A=1:rem x"}, 1, bytes({0x07, 0x00, 0x33, 0x02, 0x01, 0x38, 0xB6})},
        RecordCase{"GotoLabel", {"A=1", "B=1", "C=1", "GOTO *START", "*START"}, 4, bytes({0xB3, 0x02, 0x05})},
        RecordCase{"GotoLineNumber", {"10 GOTO 100", "20 A=1", "100 END"}, 1, bytes({0xB3, 0x02, 0x03})},
        RecordCase{"GosubThenElse", {"10 GOSUB *S", "20 IF A THEN 10 ELSE 30", "30 END", "*S", "RETURN"}, 2,
                   bytes({0xBE, 0x07, 0x00, 0xB8, 0x02, 0x01, 0x9E, 0x02, 0x03})},
        RecordCase{"OnGotoListKeepsFurtherNumbers", {"10 ON X GOTO 20,30", "20 END", "30 END"}, 1,
                   bytes({0xC0, 0x07, 0x00, 0xB3, 0x02, 0x02, 0x35, 0x02, 0x1E})},
        RecordCase{"Real", {"A=1.5"}, 1, bytes({0x07, 0x00, 0x33, 0x01, 0x3F, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
        RecordCase{"ByteInteger", {"A=255"}, 1, bytes({0x07, 0x00, 0x33, 0x02, 0xFF})},
        RecordCase{"WordInteger", {"A=300"}, 1, bytes({0x07, 0x00, 0x33, 0x03, 0x01, 0x2C})},
        RecordCase{"SmallestWordInteger", {"A=256"}, 1, bytes({0x07, 0x00, 0x33, 0x03, 0x01, 0x00})},
        RecordCase{"LargestWordInteger", {"A=65535"}, 1, bytes({0x07, 0x00, 0x33, 0x03, 0xFF, 0xFF})},
        RecordCase{"SmallestIntegerThatIsReal", {"A=65536"}, 1, bytes({0x07, 0x00, 0x33, 0x01, 0x47, 0x80, 0x00, 0x00, 0, 0, 0, 0})},
        RecordCase{"LargeIntegerIsReal", {"A=70000"}, 1, bytes({0x07, 0x00, 0x33, 0x01, 0x47, 0x88, 0xB8, 0x00, 0, 0, 0, 0})},
        RecordCase{"ExponentJoined", {"A=1.5E+3"}, 1, bytes({0x07, 0x00, 0x33, 0x01, 0x44, 0xBB, 0x80, 0x00, 0, 0, 0, 0})},
        RecordCase{"RealTooLargeIsInfinity", {"A=1.0E999"}, 1, bytes({0x07, 0x00, 0x33, 0x01, 0x7F, 0x80, 0x00, 0x00, 0, 0, 0, 0})},
        RecordCase{"RealTooSmallIsZero", {"A=1.0E-999"}, 1, bytes({0x07, 0x00, 0x33, 0x01, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0})},
        RecordCase{"ExponentWithoutPointIsInteger", {"A=1E5"}, 1, bytes({0x07, 0x00, 0x33, 0x02, 0x01})},
        RecordCase{"LeadingPoint", {"A=.5"}, 1, bytes({0x07, 0x00, 0x33, 0x01, 0x3F, 0x00, 0x00, 0x00, 0, 0, 0, 0})},
        RecordCase{"Hex", {"X=&HFF"}, 1, bytes({0x07, 0x00, 0x33, 0x03, 0x00, 0xFF})},
        RecordCase{"HexLow16Bits", {"X=&h12345"}, 1, bytes({0x07, 0x00, 0x33, 0x03, 0x23, 0x45})},
        RecordCase{"Octal", {"X=&O17"}, 1, bytes({0x07, 0x00, 0x33, 0x03, 0x00, 0x0F})},
        RecordCase{"FileNumber", {"PRINT #1,A"}, 1, bytes({0x8A, 0x14, 0x01, 0x35, 0x07, 0x00})},
        RecordCase{"StringLiteral", {"PRINT \"AB:C\";X"}, 1, bytes({0x8A, 0x00, 0x04, 'A', 'B', ':', 'C', 0x34, 0x07, 0x00})},
        RecordCase{"EmptyLiteral", {"PRINT \"\""}, 1, bytes({0x8A, 0x00, 0x00})},
        RecordCase{"LiteralWithoutClosingQuoteLosesItsLastCharacter", {"PRINT \"ABC"}, 1, bytes({0x8A, 0x00, 0x02, 'A', 'B'})},
        RecordCase{"LoneQuote", {"PRINT \""}, 1, bytes({0x8A, 0x00, 0x00})},
        RecordCase{"StringArray", {"A$(3)=\"X\""}, 1, bytes({0x0D, 0x00, 0x36, 0x02, 0x03, 0x37, 0x33, 0x00, 0x01, 0x58})},
        RecordCase{"BlankBeforeParenthesisMakesSimpleVariable", {"A$ (3)=1"}, 1,
                   bytes({0x04, 0x00, 0x36, 0x02, 0x03, 0x37, 0x33, 0x02, 0x01})},
        RecordCase{"NumericArray", {"B(2)=C(1)"}, 1, bytes({0x0E, 0x00, 0x36, 0x02, 0x02, 0x37, 0x33, 0x0E, 0x01, 0x36, 0x02, 0x01, 0x37})},
        RecordCase{"SystemArray", {"SDATA2$(1)=A$"}, 1, bytes({0x1C, 0x02, 0x36, 0x02, 0x01, 0x37, 0x33, 0x04, 0x00})},
        RecordCase{"SystemArrayNameWithoutParenthesisIsVariable", {"SDATA2$=A$"}, 1, bytes({0x04, 0x00, 0x33, 0x04, 0x01})},
        RecordCase{"IntegerVariable", {"A%=1"}, 1, bytes({0x0A, 0x00, 0x33, 0x02, 0x01})},
        RecordCase{"Timer", {"T=TIMER"}, 1, bytes({0x07, 0x00, 0x33, 0x18, 0x01})},
        RecordCase{"NamesAreUpperCased", {"a$=A$+b"}, 1, bytes({0x04, 0x00, 0x33, 0x04, 0x00, 0x31, 0x07, 0x01})},
        RecordCase{"ErrTakesTwoBytes", {"E=ERR"}, 1, bytes({0x07, 0x00, 0x33, 0x4D, 0x02, 0x00})},
        RecordCase{"InkeyTakesTwoBytes", {"K$=INKEY$"}, 1, bytes({0x04, 0x00, 0x33, 0x7D, 0x02, 0x00})},
        RecordCase{"FunctionAndOperators", {"IF LEN(A$) MOD 2 <> 0 THEN END"}, 1,
                   bytes({0xBE, 0x59, 0x36, 0x04, 0x00, 0x37, 0x24, 0x02, 0x02, 0x26, 0x02, 0x00, 0xB8, 0xB1})},
        RecordCase{"OpenForHasNoLink", {"OPEN \"F\" FOR INPUT AS #1"}, 1,
                   bytes({0xA5, 0x00, 0x01, 'F', 0xB2, 0x98, 0xC2, 0x14, 0x01})},
        RecordCase{"Data", {"DATA 1,2"}, 1, bytes({0xA7, 0x00, 0x04, ' ', '1', ',', '2'})},
        RecordCase{"DataAfterStatement", {"A=1:DATA \"X\", 'Y"}, 1,
                   bytes({0x07, 0x00, 0x33, 0x02, 0x01, 0x38, 0xA7, 0x00, 0x08, ' ', '"', 'X', '"', ',', ' ', '\'', 'Y'})},
        RecordCase{"ResumeAlone", {"RESUME"}, 1, bytes({0x07, 0x00, 0x14, 0x00})},
        RecordCase{"ResumeNext", {"RESUME NEXT"}, 1, bytes({0x07, 0x00, 0xBA, 0x14, 0x00})},
        RecordCase{"ResumeZero", {"RESUME 0"}, 1, bytes({0x07, 0x00, 0x14, 0x00, 0x02, 0x00})},
        RecordCase{"ResumeLine", {"1 A=1", "2 A=1", "3 A=1", "4 A=1", "5 A=1", "6 A=1", "100 END", "110 RESUME 100"}, 8,
                   bytes({0x07, 0x01, 0x02, 0x07, 0x14, 0x00})},
        RecordCase{"ResumeBeforeColon", {"RESUME: END"}, 1, bytes({0x07, 0x00, 0x14, 0x00, 0x38, 0xB1})},
        RecordCase{"NestedWhileOuter", {"WHILE A", "WHILE B", "WEND", "WEND"}, 1, bytes({0x96, 0x00, 0x04, 0x07, 0x00})},
        RecordCase{"NestedWhileInner", {"WHILE A", "WHILE B", "WEND", "WEND"}, 2, bytes({0x96, 0x00, 0x03, 0x07, 0x01})},
        RecordCase{"NestedWendInner", {"WHILE A", "WHILE B", "WEND", "WEND"}, 3, bytes({0xA8, 0x00, 0x01})},
        RecordCase{"NestedWendOuter", {"WHILE A", "WHILE B", "WEND", "WEND"}, 4, bytes({0xA8, 0x00, 0x00})},
        RecordCase{"ForLink", {"10 FOR I=1 TO 3", "20 PRINT \"A\";I", "30 NEXT I"}, 1,
                   bytes({0xB2, 0x00, 0x03, 0x07, 0x00, 0x33, 0x02, 0x01, 0xBD, 0x02, 0x03})},
        RecordCase{"NextLink", {"10 FOR I=1 TO 3", "20 PRINT \"A\";I", "30 NEXT I"}, 3, bytes({0xBA, 0x00, 0x01, 0x07, 0x00})}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });

TEST(Records, LoopLinksAreWrittenInBase100)
{
    QStringList lines{"FOR I=1 TO 2"};
    while (lines.size() < 1233)
        lines << "A=1";
    lines << "NEXT";
    const Encoded result = encode(source(lines));
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.records[0].bytes.mid(1, 3), bytes({0xB2, 0x0C, 0x22}));  // line 1234
    EXPECT_EQ(result.records[1233].bytes, record(bytes({0xBA, 0x00, 0x01})));
}

TEST(Records, VariableNumbersPast255UseTheSecondCode)
{
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("V%1=1").arg(i);
    lines << "S$=\"\":I%=2:V256=3";
    const Encoded result = encode(source(lines));
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.records[255].bytes.mid(1, 2), bytes({0x07, 0xFF}));
    EXPECT_EQ(result.records[256].bytes.mid(1, 2), bytes({0x08, 0x00}));
    EXPECT_EQ(result.records[300].bytes, record(bytes({0x05, 0x2C, 0x33, 0x00, 0x00, 0x38, 0x0B, 0x2D, 0x33, 0x02, 0x02, 0x38,
                                                       0x08, 0x00, 0x33, 0x02, 0x03})));
}

TEST(Records, VariableNumber511IsTheLastOne)
{
    QStringList lines;
    for (int i = 0; i < 512; ++i)
        lines << QStringLiteral("V%1%=1").arg(i);
    const Encoded result = encode(source(lines));
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.records[511].bytes.mid(1, 2), bytes({0x0B, 0xFF}));
}

// Literals and DATA reach the image as the bytes of the file, under either language setting.
TEST(Records, LiteralAndDataBytesStayAsInTheFile)
{
    const QByteArray kanji("\x8A\xBF\x8E\x9A\x83\x5C", 6);  // Shift-JIS text whose last trail byte is a backslash
    const QByteArray text = "PRINT \"" + kanji + "\"\r\nDATA " + kanji + "\r\n";
    for (const int language : {0, 1}) {
        const Encoded result = encode(text, basic::kMainProgram, language);
        ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
        EXPECT_EQ(result.records[0].bytes, record(bytes({0x8A, 0x00, 0x06}) + kanji)) << "language " << language;
        EXPECT_EQ(result.records[1].bytes, record(bytes({0xA7, 0x00, 0x07, ' '}) + kanji)) << "language " << language;
    }
}

TEST(Records, JapaneseNamesGoIntoTheTablesInCp932)
{
    const QByteArray name("\x8A\xBF\x8E\x9A$", 5);  // a kanji string variable
    const Encoded result = encode(name + "=\"A\"\r\n", basic::kMainProgram, 1);
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.records[0].bytes, record(bytes({0x04, 0x00, 0x33, 0x00, 0x01, 'A'})));
    EXPECT_EQ(result.image.mid(0x13900, 6), name + '\0');
}

}  // namespace
