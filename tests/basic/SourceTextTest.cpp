#include "basic/SourceText.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace vormex::basic;

namespace {

QStringList texts(const std::vector<SourceLine>& lines)
{
    QStringList out;
    for (const SourceLine& line : lines)
        out << line.text;
    return out;
}

struct SplitCase {
    const char* name;
    QByteArray content;
    QStringList lines;
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, AtLineFeeds)
{
    std::vector<SourceLine> lines;
    SplitSourceLines(GetParam().content, SourceCharacterSet(1), lines);
    EXPECT_EQ(texts(lines), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    SourceText, SplitLines,
    ::testing::Values(SplitCase{"CrLf", "A\r\nB\r\n", {"A", "B"}},
                      SplitCase{"LfOnly", "A\nB\n", {"A", "B"}},
                      SplitCase{"LastLineWithoutLineFeed", "A\r\nB", {"A", "B"}},
                      SplitCase{"EmptyLinesStay", "A\r\n\r\n\nB\r\n", {"A", "", "", "B"}},
                      SplitCase{"LoneCarriageReturnStays", "A\rB\r\n", {"A\rB"}},
                      SplitCase{"EmptyFile", "", {}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

// The text is read in the setting's code page, and every character still knows its bytes.
TEST(SourceText, CodePageFollowsTheLanguageSetting)
{
    const QByteArray bytes("X=\"\x8A\xBF\x8E\x9A\"", 8);
    std::vector<SourceLine> japanese;
    SplitSourceLines(bytes, SourceCharacterSet(1), japanese);
    EXPECT_EQ(japanese[0].text, QStringLiteral(u"X=\"漢字\""));
    EXPECT_EQ(japanese[0].bytesOf(3, 5), QByteArray("\x8A\xBF\x8E\x9A", 4));

    std::vector<SourceLine> english;
    SplitSourceLines(bytes, SourceCharacterSet(0), english);
    EXPECT_EQ(english[0].text, QStringLiteral(u"X=\"Š¿Žš\""));
    EXPECT_EQ(english[0].bytesOf(3, 7), QByteArray("\x8A\xBF\x8E\x9A", 4));
}

// The lead bytes at both ends of both Shift-JIS lead ranges, in a name: each pair is one
// character that keeps its two bytes.
TEST(SourceText, LeadByteEdgesMakeOneCharacter)
{
    struct Case {
        QByteArray pair;
        char16_t character;
    };
    const Case cases[] = {{"\x81\x5B", u'ー'}, {"\x9F\x40", u'檗'}, {"\x9F\xFC", u'滌'},
                          {"\xE0\x40", u'漾'}, {"\xE0\xFC", u'珱'}, {"\xFC\x4B", u'黑'}};
    for (const Case& c : cases) {
        std::vector<SourceLine> lines;
        SplitSourceLines("A" + c.pair + "=1", SourceCharacterSet(1), lines);
        const SourceLine& line = lines[0];
        EXPECT_EQ(line.text, QStringLiteral("A") + QChar(c.character) + QStringLiteral("=1")) << c.pair.toHex().data();
        EXPECT_EQ(line.bytesOf(0, 2), "A" + c.pair) << c.pair.toHex().data();
        EXPECT_EQ(line.bytesOf(2, 4), QByteArray("=1")) << c.pair.toHex().data();
    }
}

TEST(SourceText, BadShiftJisKeepsItsBytes)
{
    // A lead byte without a valid trail byte, and an unassigned double-byte code.
    const QByteArray bytes("\"\x81\x20\xEF\x40\"", 6);
    std::vector<SourceLine> lines;
    SplitSourceLines(bytes, SourceCharacterSet(1), lines);
    const SourceLine& line = lines[0];
    ASSERT_TRUE(line.text.endsWith(QLatin1Char('"')));
    EXPECT_EQ(line.bytesOf(1, line.text.size() - 1), QByteArray("\x81\x20\xEF\x40", 4));
}

TEST(SourceText, ReadSourceLinesFailsForAMissingFile)
{
    QTemporaryDir dir;
    std::vector<SourceLine> lines(1);
    EXPECT_FALSE(ReadSourceLines(dir.filePath(QStringLiteral("none.BAS")), SourceCharacterSet(1), lines));
    const QString path = dir.filePath(QStringLiteral("a.BAS"));
    vormex::test::writeFile(path, "10 END\r\n");
    ASSERT_TRUE(ReadSourceLines(path, SourceCharacterSet(1), lines));
    EXPECT_EQ(texts(lines), QStringList{"10 END"});
}

TEST(SourceText, FileEndsAtCtrlZ)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dos.BAS"));
    vormex::test::writeFile(path, "10 A=1\r\n20 END\r\n\x1A" "garbage\r\n");
    std::vector<SourceLine> lines;
    ASSERT_TRUE(ReadSourceLines(path, SourceCharacterSet(1), lines));
    EXPECT_EQ(texts(lines), (QStringList{"10 A=1", "20 END"}));
}

}  // namespace
