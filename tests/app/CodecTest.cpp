#include "codec/Codec.h"

#include <gtest/gtest.h>

using namespace vormex;

namespace {

struct EncodeCase {
    const char16_t* text;
    QByteArray expected;
};

class PrinterCodePageEncode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(PrinterCodePageEncode, GivesExactBytesOrQuestionMarks)
{
    const EncodeCase& c = GetParam();
    EXPECT_EQ(codec::toPrinterCodePage(QString::fromUtf16(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrinterCodePageEncode,
    ::testing::Values(EncodeCase{u"ABC,~\\\r\n", QByteArray("ABC,~\\\r\n")},
                      EncodeCase{u"\u30D7\u30EA\u30F3\u30BF", QByteArray("\x83\x76\x83\x8A\x83\x93\x83\x5E")},  // katakana
                      EncodeCase{u"\uFF76", QByteArray("\xB6")},                     // half-width kana
                      EncodeCase{u"\u8868", QByteArray("\x95\x5C")},                 // kanji whose second byte is a backslash
                      EncodeCase{u"\u00E9t\u00E9", QByteArray("?t?")},              // no exact equivalent
                      EncodeCase{u"\U0001F600x", QByteArray("?x")},                 // a surrogate pair is one character
                      EncodeCase{u"\u00A5", QByteArray("?")},                        // no best-fit yen sign
                      EncodeCase{u"", QByteArray()}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return "case" + std::to_string(info.index); });

TEST(PrinterCodePageDecode, RoundTripsShiftJisAndStopsAtNulWhenAsked)
{
    const QByteArray bytes("\x83\x76\x83\x8A\x83\x93\x83\x5E" "A\0B", 11);
    EXPECT_EQ(codec::fromPrinterCodePage(bytes, codec::StopAtNul::Yes), QString::fromUtf16(u"\u30D7\u30EA\u30F3\u30BFA"));
    EXPECT_EQ(codec::fromPrinterCodePage(bytes).size(), 7);
}

TEST(PrinterCodePageDecode, InvalidBytesBecomeQuestionMarks)
{
    EXPECT_EQ(codec::fromPrinterCodePage(QByteArray("A\x81")), QStringLiteral("A?"));
    EXPECT_EQ(codec::fromPrinterCodePage(QByteArray("\xFF" "B")), QStringLiteral("?B"));
}

TEST(WesternCodePage, EncodesAndDecodes)
{
    EXPECT_EQ(codec::toCp1252(QString::fromUtf16(u"caf\u00E9 \u20AC\u30D7")), QByteArray("caf\xE9 \x80?"));
    EXPECT_EQ(codec::fromCp1252(QByteArray("caf\xE9")), QString::fromUtf16(u"caf\u00E9"));
}

}  // namespace
