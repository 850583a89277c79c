#include "app/DataFiles.h"
#include "app/Language.h"
#include "base/StringTable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace vormex;

namespace {

TEST(StringTable, BuiltInNamesItsFilesAndKeywordTables)
{
    const StringTable table = StringTable::builtIn();
    EXPECT_EQ(table.text(1000), QStringLiteral("VORMEX Setting Tool US-RES.DLL"));
    EXPECT_EQ(table.text(1001), QStringLiteral("VORMEX Setting Tool Parameter-JPN.XML"));
    const QStringList statements = table.list(3000);
    ASSERT_EQ(statements.size(), 102);
    EXPECT_EQ(statements[0x8A - 0x80], QStringLiteral("PRINT"));
    EXPECT_EQ(statements.last(), QStringLiteral("SETZPROC"));
    const QStringList functions = table.list(4000);
    ASSERT_EQ(functions.size(), 64);
    EXPECT_EQ(functions[0x58 - 0x40], QStringLiteral("CHR$"));
    const QStringList operators = table.list(5000);
    ASSERT_EQ(operators.size(), 25);
    EXPECT_EQ(operators[0x30 - 0x20], QStringLiteral("\\"));
    EXPECT_EQ(operators.last(), QStringLiteral(":"));
}

TEST(StringTable, ParseUnescapesAndRejectsBadLines)
{
    const auto map = StringTable::parse("# comment\n\n7\ta\\r\\nb\\\\c\\td\r\n8\t\n");
    ASSERT_TRUE(map);
    EXPECT_EQ(map->at(7), QStringLiteral("a\r\nb\\c\td"));
    EXPECT_EQ(map->at(8), QString());
    QString error;
    EXPECT_FALSE(StringTable::parse("7 no tab\n", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("line 1")));
}

class Overlay : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& content)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
};

TEST_F(Overlay, MissingStringsFallBackToTheBuiltInTable)
{
    StringTable table = StringTable::builtIn();
    ASSERT_TRUE(table.loadOverlay(write(QStringLiteral("e.tsv"), "1001\tother.XML\n99999\tonly here\n")));
    EXPECT_EQ(table.text(1001), QStringLiteral("other.XML"));
    EXPECT_EQ(table.text(1000), QStringLiteral("VORMEX Setting Tool US-RES.DLL"));
    EXPECT_EQ(table.text(99999), QStringLiteral("only here"));
    EXPECT_EQ(table.list(3000).size(), 102);
    EXPECT_TRUE(table.text(123456).isEmpty());
}

TEST_F(Overlay, ListsEndAtTheEndMarkInEitherTable)
{
    StringTable table = StringTable::builtIn();
    ASSERT_TRUE(table.loadOverlay(write(QStringLiteral("e.tsv"), "90000\ta\n90001\tb\n90002\tEEEEEEEEEE\n90003\tc\n")));
    EXPECT_EQ(table.list(90000), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

struct LanguageCase {
    const char* stored;
    bool fileThere;
    int japaneseUi;
    bool englishLoaded;
};

class LanguageChoiceTest : public Overlay, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageChoiceTest, FollowsTheStoredValueAndTheFile)
{
    const LanguageCase& c = GetParam();
    if (c.fileThere)
        write(QStringLiteral("VORMEX Setting Tool US-RES.tsv"), "1001\tEnglish.XML\n");
    StringTable table = StringTable::builtIn();
    const LanguageChoice choice = chooseLanguage(QString::fromLatin1(c.stored), table, {dir.path()});
    EXPECT_EQ(choice.japaneseUi, c.japaneseUi);
    EXPECT_EQ(choice.englishLoaded, c.englishLoaded);
    EXPECT_EQ(table.text(1001), c.englishLoaded ? QStringLiteral("English.XML") : QStringLiteral("VORMEX Setting Tool Parameter-JPN.XML"));
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageChoiceTest,
                         ::testing::Values(LanguageCase{"JPN", true, 1, false}, LanguageCase{"ENG", true, 0, true},
                                           LanguageCase{"jpn", true, 0, true},  // not exactly "JPN"
                                           LanguageCase{"ENG", false, 0, false}, LanguageCase{"", false, 0, false}),
                         [](const ::testing::TestParamInfo<LanguageCase>& info) {
                             return std::string(*info.param.stored ? info.param.stored : "empty")
                                    + (info.param.fileThere ? "_withFile" : "_withoutFile");
                         });

TEST(DataFiles, EnglishFileNameReplacesTheExtension)
{
    EXPECT_EQ(datafiles::englishResourceFileName(QStringLiteral("VORMEX Setting Tool US-RES.DLL")),
              QStringLiteral("VORMEX Setting Tool US-RES.tsv"));
}

TEST(DataFiles, ShippedEnglishFileLiesBesideThePrograms)
{
    const QString found = datafiles::findIn({QStringLiteral(VORMEX_BIN_DIR)}, QStringLiteral("VORMEX Setting Tool US-RES.tsv"));
    ASSERT_FALSE(found.isEmpty());
    StringTable table = StringTable::builtIn();
    EXPECT_TRUE(table.loadOverlay(found));
}

}  // namespace
