#include "EncoderFixture.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

using namespace vormex;
using namespace vormex::test;

namespace {

using basic::kMainProgram;
using basic::kSystemModeProgram;

QStringList repeated(int count, const QString& pattern)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << pattern.arg(i);
    return lines;
}

// DATA lines whose records add up to exactly `total` bytes (a DATA line with n characters after
// its blank has a record of n + 6 bytes).
QStringList dataLinesOfTotal(int total)
{
    QStringList lines;
    while (total > 0) {
        const int record = total >= 254 + 6 ? 254 : total;
        lines << QStringLiteral("DATA ") + QString(record - 6, QLatin1Char('x'));
        total -= record;
    }
    return lines;
}

struct LimitCase {
    const char* name;
    int programKind;
    std::function<QStringList()> lines;
    const char* error;  // empty: the program is accepted
};

class Limits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(Limits, AtTheBoundary)
{
    const LimitCase& c = GetParam();
    const Encoded result = encode(source(c.lines()), c.programKind);
    if (*c.error == '\0') {
        EXPECT_EQ(result.ok, 1) << qPrintable(result.error);
        EXPECT_TRUE(result.error.isEmpty());
    } else {
        EXPECT_EQ(result.ok, 0);
        EXPECT_EQ(result.error, QString::fromLatin1(c.error));
        EXPECT_TRUE(result.image.isEmpty()) << "nothing of a failed encoding is kept";
        EXPECT_TRUE(result.body.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encoder, Limits,
    ::testing::Values(
        LimitCase{"Labels1000", kMainProgram, [] { return repeated(1000, "*L%1"); }, ""},
        LimitCase{"Labels1001", kMainProgram, [] { return repeated(1001, "*L%1"); }, "Label over 1000"},
        LimitCase{"Labels200", kSystemModeProgram, [] { return repeated(200, "*L%1"); }, ""},
        LimitCase{"Labels201", kSystemModeProgram, [] { return repeated(201, "*L%1"); }, "Label over 200"},
        LimitCase{"While500", kMainProgram, [] { return repeated(500, "WHILE A") + repeated(500, "WEND"); }, ""},
        LimitCase{"While501", kMainProgram, [] { return repeated(501, "WHILE A") + repeated(501, "WEND"); }, "WHILE over 500"},
        LimitCase{"While101", kSystemModeProgram, [] { return repeated(101, "WHILE A") + repeated(101, "WEND"); }, "WHILE over 100"},
        LimitCase{"WendFirstMain", kMainProgram, [] { return QStringList{"A=1", "WEND", "WHILE A"}; }, "WEND over 500"},
        LimitCase{"WendFirstSystem", kSystemModeProgram, [] { return QStringList{"WEND"}; }, "WEND over 100"},
        LimitCase{"WhileWithoutWend", kMainProgram, [] { return QStringList{"A=1", "B=1", "WHILE X", "END"}; },
                  "3 : WHILE and WEND Error"},
        LimitCase{"WhileNotAtLineStart", kMainProgram, [] { return QStringList{"B=1", "A=1: WHILE B"}; },
                  "2 : WHILE and WEND Error"},
        LimitCase{"LowerCaseWend", kMainProgram, [] { return QStringList{"WHILE A", "WEND", "wend"}; },
                  "3 : WHILE and WEND Error"},
        LimitCase{"For1000", kMainProgram, [] { return repeated(1000, "FOR I=1 TO 2") + repeated(1000, "NEXT"); }, ""},
        LimitCase{"For1001", kMainProgram, [] { return repeated(1001, "FOR I=1 TO 2") + repeated(1001, "NEXT"); }, "FOR over 1000"},
        LimitCase{"For201", kSystemModeProgram, [] { return repeated(201, "FOR I=1 TO 2") + repeated(201, "NEXT"); }, "FOR over 200"},
        LimitCase{"NextFirstMain", kMainProgram, [] { return QStringList{"10 NEXT I"}; }, "NEXT over 1000"},
        LimitCase{"NextFirstSystem", kSystemModeProgram, [] { return QStringList{"NEXT"}; }, "NEXT over 200"},
        LimitCase{"ForWithoutNext", kMainProgram, [] { return QStringList{"FOR I=1 TO 2", "FOR J=1 TO 2", "NEXT"}; },
                  "1 : FOR and NEXT Error"},
        LimitCase{"NextAfterColon", kMainProgram, [] { return QStringList{"FOR I=1 TO 2", "NEXT", "A=1: NEXT"}; },
                  "3 : FOR and NEXT Error"},
        LimitCase{"LowerCaseLabel", kMainProgram, [] { return QStringList{"A=1", "GOTO *lower", "*lower"}; },
                  "2 : Label or Line number Error"},
        LimitCase{"MissingLineNumber", kMainProgram, [] { return QStringList{"10 GOTO 999"}; }, "1 : Label or Line number Error"},
        LimitCase{"MissingLabel", kMainProgram, [] { return QStringList{"GOSUB *NOWHERE"}; }, "1 : Label or Line number Error"},
        LimitCase{"Label12Characters", kMainProgram, [] { return QStringList{"GOTO *ABCDEFGHIJKL", "*ABCDEFGHIJKL"}; }, ""},
        LimitCase{"Label13Characters", kMainProgram, [] { return QStringList{"GOTO *ABCDEFGHIJKLM", "*ABCDEFGHIJKLM"}; },
                  "1 : Label or Line number Error"},
        LimitCase{"Record255TokenBytes", kMainProgram, [] { return QStringList{"DATA " + QString(251, QLatin1Char('x'))}; }, ""},
        LimitCase{"Record256TokenBytes", kMainProgram, [] { return QStringList{"A=1", "DATA " + QString(252, QLatin1Char('x'))}; },
                  "2 :Encoded Line Length Over Error"},
        LimitCase{"Lines10000", kMainProgram, [] { return repeated(10000, "END"); }, ""},
        LimitCase{"Lines10001", kMainProgram, [] { return repeated(10001, "END"); }, "Line over 10000"},
        LimitCase{"Lines2000", kSystemModeProgram, [] { return repeated(2000, "END"); }, ""},
        LimitCase{"Lines2001", kSystemModeProgram, [] { return repeated(2001, "END"); }, "Line over 2000"},
        LimitCase{"Variables512", kMainProgram, [] { return repeated(512, "V%1=1"); }, ""},
        LimitCase{"Variables513", kMainProgram, [] { return repeated(513, "V%1=1"); }, "Variable over 512"},
        LimitCase{"Variables256", kSystemModeProgram, [] { return repeated(256, "V%1$=\"\""); }, ""},
        LimitCase{"Variables257", kSystemModeProgram, [] { return repeated(257, "V%1$=\"\""); }, "Variable over 256"},
        LimitCase{"Arrays50", kSystemModeProgram, [] { return repeated(50, "A%1(1)=1"); }, ""},
        LimitCase{"Arrays51Main", kMainProgram, [] { return repeated(51, "A%1(1)=1"); }, "Array Variable over 50"},
        LimitCase{"Arrays51System", kSystemModeProgram, [] { return repeated(51, "A%1$(1)=\"\""); }, "Array Variable over 50"},
        LimitCase{"BodyFullMain", kMainProgram, [] { return dataLinesOfTotal(0x33300); }, ""},
        LimitCase{"BodyOverMain", kMainProgram, [] { return dataLinesOfTotal(0x33301); }, "Encoded Program size over 204.75kbyte"},
        LimitCase{"BodyFullSystem", kSystemModeProgram, [] { return dataLinesOfTotal(0xAE00); }, ""},
        LimitCase{"BodyOverSystem", kSystemModeProgram, [] { return dataLinesOfTotal(0xAE01); }, "Encoded Program size over 43.5kbyte"},
        LimitCase{"EmptyLine", kMainProgram, [] { return QStringList{"10 A=1", "", "30 END"}; }, "2 : Linefeed Error"},
        LimitCase{"LineNumberOnly", kMainProgram, [] { return QStringList{"10 A=1", "20"}; }, "2 : Linefeed Error"},
        LimitCase{"EmptyLineBeforeTooManyLabels", kSystemModeProgram, [] { return QStringList{"A=1", ""} + repeated(300, "*L%1"); },
                  "2 : Linefeed Error"},
        // A line without a line-table entry in the middle would put every later line out of step.
        LimitCase{"BlankLineInTheMiddle", kMainProgram, [] { return QStringList{"A=1", "  \t", "B=1"}; }, "2 : Linefeed Error"},
        LimitCase{"BlankThenEmptyInTheMiddle", kMainProgram, [] { return QStringList{"A=1", " ", "", "B=1"}; }, "2 : Linefeed Error"},
        LimitCase{"LineZeroInTheMiddle", kMainProgram, [] { return QStringList{"10 A=1", "0 PRINT", "20 END"}; }, "2 : Linefeed Error"},
        LimitCase{"BlankLinesAtTheEnd", kMainProgram, [] { return QStringList{"A=1", " ", "", " "}; }, ""},
        LimitCase{"LineZeroAtTheEnd", kMainProgram, [] { return QStringList{"10 A=1", "0 PRINT"}; }, ""},
        // A line of blanks at the end does not hide an open loop.
        LimitCase{"OpenWhileBeforeTrailingBlankLine", kMainProgram, [] { return QStringList{"WHILE A", "  "}; },
                  "1 : WHILE and WEND Error"}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

TEST(Limits, BuiltInTableCarriesEveryMessage)
{
    const StringTable table = StringTable::builtIn();
    for (const auto& [id, text] : encoderMessageTexts())
        EXPECT_EQ(table.text(id), QString::fromLatin1(text)) << id;
}

TEST(Limits, UnreadableSourceFile)
{
    QTemporaryDir dir;
    BasicEncoder encoder(encoderStrings(), 1);
    EXPECT_EQ(encoder.EncodeProgram(dir.filePath(QStringLiteral("missing.BAS")), kMainProgram), 0);
    EXPECT_EQ(encoder.errorMessage(), QStringLiteral("Encodeing failure"));
    EXPECT_EQ(encoder.errorId(), 2000);
    EXPECT_EQ(encoder.imageSize(), 0);
}

TEST(Limits, LinesWithoutEntryAtTheEndKeepTheirEmptyRecords)
{
    const Encoded result = encode(source({"10 A=1", "0 PRINT", " "}));
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.body.mid(7), bytes({0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(word16(result.image, 0x14), 1) << "one encoded line";
    EXPECT_FALSE(result.records[1].hasLineEntry);
}

TEST(Limits, ASecondEncodingStartsAfresh)
{
    BasicEncoder encoder(encoderStrings(), 1);
    ASSERT_EQ(encoder.EncodeProgramBytes("WEND\r\n", QStringLiteral("A.BAS"), kMainProgram), 0);
    ASSERT_EQ(encoder.EncodeProgramBytes("A=1\r\nB=2\r\n", QStringLiteral("A.BAS"), kMainProgram), 1);
    EXPECT_TRUE(encoder.errorMessage().isEmpty());
    EXPECT_EQ(word16(encoder.image(), 0x14), 2);
    EXPECT_EQ(encoder.body(), bytes({0x05, 0x07, 0x00, 0x33, 0x02, 0x01, 0x00, 0x05, 0x07, 0x01, 0x33, 0x02, 0x02, 0x00}));
}

}  // namespace
