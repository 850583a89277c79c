// The two shipped string tables: the built-in Japanese one and the English resources that lie
// over it. The English table must carry the same numbers, the same printf conversions and line
// breaks, and the printer data unchanged, or a message would crash a format call or a printer
// file would differ with the language.
#include "base/StringTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <set>
#include <vector>

using namespace vormex;

namespace {

const QString kEnglishFileName = QStringLiteral("VORMEX Setting Tool US-RES.tsv");

StringTable::Map parseOrFail(const QByteArray& bytes, const char* what)
{
    QString error;
    const auto parsed = StringTable::parse(bytes, &error);
    EXPECT_TRUE(parsed) << what << ": " << error.toStdString();
    return parsed ? *parsed : StringTable::Map{};
}

class StringTables : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QFile builtInFile(QStringLiteral(":/vormex/builtin-jpn.tsv"));
        ASSERT_TRUE(builtInFile.open(QIODevice::ReadOnly));
        builtIn_ = parseOrFail(builtInFile.readAll(), "built-in table");
        english_ = parseOrFail(test::readFile(test::programPath(kEnglishFileName)), "English table");
    }

    static std::set<int> ids(const StringTable::Map& map)
    {
        std::set<int> out;
        for (const auto& [id, text] : map)
            out.insert(id);
        return out;
    }

    static StringTable englishOverlay()
    {
        StringTable table = StringTable::builtIn();
        EXPECT_TRUE(table.loadOverlay(test::programPath(kEnglishFileName)));
        return table;
    }

    static inline StringTable::Map builtIn_;
    static inline StringTable::Map english_;
};

// printf conversions ("%d", "%02d", "%+06d", "%-22s", "%I64d", "%%") and Qt's "%1".."%9".
QStringList conversions(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(%(?:%|[1-9]|[-+ #0]*\d*(?:\.\d+)?(?:I64|ll|l|h)?[diouxXcsSeEfgG]))"));
    QStringList out;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        out.append(it.next().captured());
    return out;
}

TEST_F(StringTables, EnglishHasExactlyTheBuiltInNumbers)
{
    const std::set<int> jpn = ids(builtIn_);
    const std::set<int> eng = ids(english_);
    std::vector<int> onlyJpn, onlyEng;
    std::set_difference(jpn.begin(), jpn.end(), eng.begin(), eng.end(), std::back_inserter(onlyJpn));
    std::set_difference(eng.begin(), eng.end(), jpn.begin(), jpn.end(), std::back_inserter(onlyEng));
    EXPECT_TRUE(onlyJpn.empty()) << "missing in English, first: " << (onlyJpn.empty() ? 0 : onlyJpn.front());
    EXPECT_TRUE(onlyEng.empty()) << "only in English, first: " << (onlyEng.empty() ? 0 : onlyEng.front());
}

TEST_F(StringTables, EnglishKeepsConversionsAndLineBreaks)
{
    for (const auto& [id, jpn] : builtIn_) {
        const auto found = english_.find(id);
        if (found == english_.end())
            continue;  // reported by EnglishHasExactlyTheBuiltInNumbers
        const QString& eng = found->second;
        EXPECT_EQ(conversions(eng), conversions(jpn)) << "string " << id;
        EXPECT_EQ(eng.count(QLatin1Char('\n')), jpn.count(QLatin1Char('\n'))) << "string " << id;
        EXPECT_EQ(eng.count(QLatin1Char('\r')), jpn.count(QLatin1Char('\r'))) << "string " << id;
        EXPECT_FALSE(eng.isEmpty()) << "string " << id;
        EXPECT_FALSE(jpn.isEmpty()) << "string " << id;
    }
}

TEST(StringConversions, FindsEveryKindOfConversion)
{
    EXPECT_EQ(conversions(QStringLiteral("%c%05d%05d,%d")),
              (QStringList{QStringLiteral("%c"), QStringLiteral("%05d"), QStringLiteral("%05d"), QStringLiteral("%d")}));
    EXPECT_EQ(conversions(QStringLiteral("%-22s,%+06d %I64d %1 から %2 100%%")),
              (QStringList{QStringLiteral("%-22s"), QStringLiteral("%+06d"), QStringLiteral("%I64d"),
                           QStringLiteral("%1"), QStringLiteral("%2"), QStringLiteral("%%")}));
}

struct OptionList {
    int firstId;
    int entries;
};

class OptionLists : public StringTables, public ::testing::WithParamInterface<OptionList> {};

TEST_P(OptionLists, EndWithTheMarkInBothLanguages)
{
    const OptionList& list = GetParam();
    const StringTable jpn = StringTable::builtIn();
    const StringTable eng = englishOverlay();
    for (const StringTable* table : {&jpn, &eng}) {
        EXPECT_EQ(table->list(list.firstId).size(), list.entries) << "list " << list.firstId;
        EXPECT_EQ(table->text(list.firstId + list.entries), StringTable::kEndOfList) << "list " << list.firstId;
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, OptionLists,
                         ::testing::Values(OptionList{500, 7},    // baud rates
                                           OptionList{520, 2},    // data bits
                                           OptionList{530, 3},    // parity
                                           OptionList{540, 2},    // stop bits
                                           OptionList{550, 4},    // control code types
                                           OptionList{600, 17},   // font list columns
                                           OptionList{306500, 3}, // kanji deletion variants of the download page
                                           OptionList{3000, 102}, OptionList{4000, 64}, OptionList{5000, 25}),
                         [](const auto& info) { return std::to_string(info.param.firstId); });

// Printer data, file names, serial option values and the encoder's messages (which the
// printer's tool chain reports in English): the same bytes whatever the language.
TEST_F(StringTables, DataEntriesAreIdenticalInBothTables)
{
    const std::vector<std::pair<int, int>> dataRanges = {
        {500, 549}, {551, 552}, {554, 554}, {620, 620}, {622, 622}, {624, 624}, {626, 626}, {628, 628},
        {630, 630}, {632, 632}, {900, 999}, {1000, 1001}, {2000, 2022}, {1100, 1199}, {3000, 5999}, {57344, 57344}};
    int compared = 0;
    for (const auto& [first, last] : dataRanges) {
        for (int id = first; id <= last; ++id) {
            const auto jpn = builtIn_.find(id);
            const auto eng = english_.find(id);
            if (jpn == builtIn_.end() || eng == english_.end())
                continue;
            EXPECT_EQ(eng->second, jpn->second) << "string " << id;
            ++compared;
        }
    }
    EXPECT_GT(compared, 250);
}

// A file dialog filter is "description|pattern|...||": the English text may change the
// descriptions only.
TEST_F(StringTables, FiltersKeepTheirPatterns)
{
    for (int id : {629, 631, 820, 821}) {
        const QStringList jpn = builtIn_.at(id).split(QLatin1Char('|'));
        const QStringList eng = english_.at(id).split(QLatin1Char('|'));
        ASSERT_EQ(eng.size(), jpn.size()) << "string " << id;
        for (qsizetype i = 1; i < jpn.size(); i += 2)
            EXPECT_EQ(eng[i], jpn[i]) << "string " << id << " part " << i;
        EXPECT_TRUE(jpn.join(QLatin1Char('|')).endsWith(QStringLiteral("||"))) << "string " << id;
    }
}

struct ExactText {
    int id;
    const char* utf8;
};

class BuiltInTexts : public ::testing::TestWithParam<ExactText> {};

TEST_P(BuiltInTexts, AreExact)
{
    EXPECT_EQ(StringTable::builtIn().text(GetParam().id), QString::fromUtf8(GetParam().utf8));
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, BuiltInTexts,
    ::testing::Values(
        ExactText{104, "Windows ソケットの初期化に失敗しました。"},
        ExactText{231, "   環境設定...   "},
        ExactText{402, "初期値&&テーブル設定"},
        ExactText{800, "\"%s\" は %d.%d から %d.%d の範囲で設定して下さい。"},
        ExactText{912, "DRIVE Mapping\r\n"},
        ExactText{932, "%I64d,%d"},
        ExactText{942, "%c,%d,%d,%c%c,%c,%d,%d,%d,%d,%d,%d,%d,%d,%d,%c"},
        ExactText{962, "%s%s33%s333333333333%s33333330\r\n"},
        ExactText{963, "%-22s,%s,%05d,%05d,%-2s,%s,%05d,%05d,%05d,%04d,%04d,%03d,%03d,%+06d,%+06d,%s"},
        ExactText{980, "                      ,M,00005,00009,ZA,B,00005,00007,00002,0000,0000,000,000,+00000,+00000,0"},
        ExactText{981, "                      ,M,00000,00000,  ,B,00000,00000,00000,0000,0000,000,000,+00000,+00000,0"},
        ExactText{1000, "VORMEX Setting Tool US-RES.DLL"},
        ExactText{1001, "VORMEX Setting Tool Parameter-JPN.XML"},
        ExactText{2000, "Encodeing failure"},
        ExactText{2015, "%d :Encoded Line Length Over Error"},
        ExactText{8032, "プリンタエラー（%02d)"},
        ExactText{8041, "ＶＯＲＭＥＸ　ＯＦＦ"},
        ExactText{8042, "パラメータ取得に失敗しました"},
        ExactText{8046,
                  "注意：\n・ファームウェアのダウンロードが可能なインターフェースはLPT（CENTRONICS）とCOM（RS-232C)のみです。"
                  "\n・インストールされているプリンタドライバの出力ポートが本ツールのインターフェースと同じ設定の場合は、"
                  "\n　他のインターフェースに変更してください。"
                  "\n　同一インターフェースを設定している場合は正常にダウンロードできない場合があります。"
                  "\n・ダウンロードの実行前にプリンタをダウンロードモードに変更してください。"
                  "\n　（[FEED]+[RESTART]+[PAUSE]+Power ON）"},
        ExactText{8047, "ＶＯＲＭＥＸ　ＯN"},
        ExactText{106567, "ＢＡＳＩＣ\rシステムモード・プログラム"},
        ExactText{106572, "送 信 開 始"},
        ExactText{106581, "TrueType フォント\n登録領域"},
        ExactText{8110, "システムパラメータを初期値に戻します\r\nよろしいですか？"},
        ExactText{8114, "応答コマンドを初期値に戻します\r\nよろしいですか？"},
        ExactText{61714, "%1 から %2 までの整数を入力してください。"}),
    [](const auto& info) { return std::to_string(info.param.id); });

TEST(BuiltInTable, FontTableLineFormatsAreEqualAndFillersFitThem)
{
    const StringTable table = StringTable::builtIn();
    EXPECT_EQ(table.text(963), table.text(964));
    // A line of the font tables is 93 characters; the filler and empty lines stand in for one.
    EXPECT_EQ(table.text(980).size(), 93);
    EXPECT_EQ(table.text(981).size(), 93);
}

TEST(BuiltInTable, StatusResponseNamesAndElementsPairUp)
{
    const StringTable table = StringTable::builtIn();
    for (int row = 0; row < 15; ++row) {
        const QString name = table.text(1100 + row);
        ASSERT_FALSE(name.isEmpty()) << "row " << row;
        EXPECT_EQ(table.text(1120 + row), QString(name).remove(QLatin1Char(' '))) << "row " << row;
    }
}

}  // namespace
