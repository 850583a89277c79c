#include "sysparam/SystemParameterFiles.h"

#include "base/SettingsStore.h"
#include "codec/Codec.h"
#include "files/UserFiles.h"
#include "files/WorkFiles.h"
#include "initialtable/InitialTableDocument.h"
#include "initialtable/InitialTableFiles.h"
#include "support/DocumentFixtures.h"
#include "support/TestSupport.h"
#include "sysparam/SystemParameterLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vormex {
namespace {

using test::builtInStrings;
using test::documentDefinitions;
using test::documentPrinter;

const QString kLine = QStringLiteral("01000,0800,1,C,P,M,S,6,03000,0,1,1,7E,5E,2C,0,1,0,1,0,12,-0012,1,+0005");

class SystemParameterFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    ParameterCheckState check;
    const PrinterDefinition& printer = documentPrinter();
};

TEST(IsXmlFileName, ExtensionInAnyCaseDecides)
{
    EXPECT_TRUE(IsXmlFileName(QStringLiteral("/tmp/a.xml")));
    EXPECT_TRUE(IsXmlFileName(QStringLiteral("/tmp/a.Xml")));
    EXPECT_TRUE(IsXmlFileName(QStringLiteral("a.XML")));
    EXPECT_FALSE(IsXmlFileName(QStringLiteral("a.xml.txt")));
    EXPECT_FALSE(IsXmlFileName(QStringLiteral("/tmp/dir.xml/file")));
    EXPECT_FALSE(IsXmlFileName(QStringLiteral("xml")));
}

TEST_F(SystemParameterFiles, TextFileHoldsExactlyTheLine)
{
    const QString file = path(QStringLiteral("sys.txt"));
    ASSERT_FALSE(WriteSystemParameterTextFile(file, kLine + QStringLiteral("\r\n")));
    EXPECT_EQ(test::readFile(file), (kLine + QStringLiteral("\r\n")).toLatin1());

    const LineResult read = ReadSystemParameterTextFile(file, printer, check, builtInStrings());
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.line, kLine);
}

TEST_F(SystemParameterFiles, OnlyTheLastLineCounts)
{
    const QString file = path(QStringLiteral("two.txt"));
    test::writeFile(file, "not a parameter line\r\n" + kLine.toLatin1());  // no final CR LF
    const LineResult read = ReadSystemParameterTextFile(file, printer, check, builtInStrings());
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.line, kLine);
}

struct BadLineCase {
    const char* name;
    QString line;
    QString message;
};

TEST_F(SystemParameterFiles, BadLinesGiveTheCheckMessage)
{
    const BadLineCase cases[] = {
        {"too few fields", QStringLiteral("01000,0800"), QStringLiteral("システム設定ファイルではありません")},
        {"letter in number", QString(kLine).replace(0, 5, QStringLiteral("01a00")),
         QStringLiteral("第1パラメータは数字のみ入力可能です")},
        {"missing sign", QString(kLine).replace(QStringLiteral("-0012"), QStringLiteral("00012")),
         QStringLiteral("第22パラメータに符号が設定されていません")},
        {"empty file", QString(), QStringLiteral("システム設定ファイルではありません")},
    };
    for (const BadLineCase& c : cases) {
        const QString file = path(QStringLiteral("bad.txt"));
        test::writeFile(file, c.line.toLatin1());
        const LineResult read = ReadSystemParameterTextFile(file, printer, check, builtInStrings());
        EXPECT_FALSE(read.ok()) << c.name;
        EXPECT_EQ(read.error, c.message) << c.name;
    }
}

TEST_F(SystemParameterFiles, MissingFileGivesThePlatformMessage)
{
    const LineResult read = ReadSystemParameterTextFile(path(QStringLiteral("none.txt")), printer, check, builtInStrings());
    EXPECT_FALSE(read.ok());
    EXPECT_FALSE(read.error.isEmpty());
}

TEST_F(SystemParameterFiles, SaveIntoAMissingFolderIsReportedAsFailure)
{
    const QString file = path(QStringLiteral("no/such/folder/sys.txt"));
    EXPECT_TRUE(WriteSystemParameterTextFile(file, kLine));
    EXPECT_TRUE(WriteSystemParameterXml(file + QStringLiteral(".xml"), DefaultSystemParameters(printer), printer, {}));
    EXPECT_FALSE(QFileInfo::exists(file));
}

// Every save of the pages (and the work files) on a disk that takes no more: the save fails with
// the system's reason and the file that was there stays whole. The limit holds for root as well,
// and the bytes written stay in the file's buffer until the commit flushes them, so the commit
// itself has to report the failure.
TEST_F(SystemParameterFiles, FailedSaveKeepsThePreviousFile)
{
    const XmlHeaderInfo header{QStringLiteral("standard"), true};
    SettingsStore store(path(QStringLiteral("store.ini")));
    store.writeInt(QStringLiteral("LogoutSystemParam"), 1);
    ASSERT_TRUE(store.sync());
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    const struct {
        const char* name;
        QString file;
        std::function<std::optional<QString>(const QString&)> save;
    } cases[] = {
        {"system text", QStringLiteral("sys.txt"), [&](const QString& file) { return WriteSystemParameterTextFile(file, kLine); }},
        {"system XML", QStringLiteral("sys.xml"),
         [&](const QString& file) { return WriteSystemParameterFile(file, DefaultSystemParameters(printer), printer, header); }},
        {"initial text", QStringLiteral("init.txt"),
         [&](const QString& file) { return WriteInitialTableFile(file, DefaultInitialTableDocument(printer), printer, header); }},
        {"initial XML", QStringLiteral("init.xml"),
         [&](const QString& file) { return WriteInitialTableFile(file, DefaultInitialTableDocument(printer), printer, header); }},
        {"work file", workFileName(WorkFileKind::SystemParam, when),
         [&](const QString&) {
             const WorkFileResult result = writeWorkFile(store, int(WorkFileKind::SystemParam), QByteArray(100, 'w'), dir.path(), when);
             return result.result ? std::nullopt : std::optional(result.errorMessage);
         }},
    };
    for (const auto& c : cases) {
        const QString file = path(c.file);
        test::writeFile(file, "previous");
        const bool failedWithReason = test::runWithFileSizeLimit(16, [&] {
            const std::optional<QString> error = c.save(file);
            return error && error->contains(QStringLiteral("File too large"));
        });
        EXPECT_TRUE(failedWithReason) << c.name;
        EXPECT_EQ(test::readFile(file), QByteArray("previous")) << c.name;
        EXPECT_FALSE(c.save(file)) << c.name;  // without the limit the same save goes through
        EXPECT_NE(test::readFile(file), QByteArray("previous")) << c.name;
    }
}

// A file that names a pipe or a device cannot be replaced by another file: it is written as it is.
TEST_F(SystemParameterFiles, SaveToAPipeWritesIntoIt)
{
    const QString fifo = path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(WriteSystemParameterTextFile(fifo, kLine));
    char buffer[200] = {};
    EXPECT_EQ(QByteArray(buffer, int(::read(reader, buffer, sizeof buffer))), kLine.toLatin1());
    ::close(reader);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(SystemParameterFiles, XmlRoundTripGivesTheLineWithItsOwnSignedFormat)
{
    SystemParameterSet set = DefaultSystemParameters(printer);
    ParseSystemParameterLine(kLine, printer, set);
    const QString file = path(QStringLiteral("sys.xml"));
    ASSERT_FALSE(WriteSystemParameterXml(file, set, printer, XmlHeaderInfo{QStringLiteral("standard"), true}));

    const QByteArray xml = test::readFile(file);
    EXPECT_TRUE(xml.contains("<item name=\"DPM\">12 dot/mm</item>"));
    EXPECT_TRUE(xml.contains("<item name=\"RFID ADJUST\">-12</item>"));
    EXPECT_TRUE(xml.contains("<item name=\"LABEL TYPE(MN)\">DISABLE</item>"));
    EXPECT_TRUE(xml.contains("<item name=\"LABEL SIZE(LL)\">ENABLE</item>"));
    EXPECT_TRUE(xml.contains("<item name=\"TAB -&gt; SP\">12</item>"));
    EXPECT_TRUE(xml.contains("<lunguage>japanese</lunguage>"));

    const std::optional<QString> line = SystemParameterXmlToLine(file, documentDefinitions());
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, QStringLiteral("01000,0800,1,C,P,M,S,6,03000,0,1,1,7E,5E,2C,0,1,0,1,0,12,-0012,1,+0005"));

    // Back into a set, the page gives its own line again.
    SystemParameterSet back = DefaultSystemParameters(printer);
    ParseSystemParameterLine(*line, printer, back);
    EXPECT_EQ(BuildSystemParameterLine(back, printer), kLine + QStringLiteral("\r\n"));
}

TEST_F(SystemParameterFiles, XmlListTextsAreTranslatedThroughTheNamedPrinter)
{
    const QString file = path(QStringLiteral("other.xml"));
    test::writeFile(file, R"(<?xml version="1.0"?>
<VORMEX_SystemParameter><header><printer>VX-OTHER</printer></header>
<item name="RIBBON">Thermal only</item><item name="LABEL LENGTH">1000</item></VORMEX_SystemParameter>)");
    const std::optional<QString> line = SystemParameterXmlToLine(file, documentDefinitions());
    ASSERT_TRUE(line);
    // Absent switches read as obeyed (0); absent numbers as 0.
    EXPECT_EQ(*line, QStringLiteral("01000,0000,1,,,,,,00000,,,,,,,0,0,0,0,0,00,+0000,,+0000"));
    SystemParameterSet set = DefaultSystemParameters(printer);
    ParseSystemParameterLine(*line, printer, set);
    EXPECT_EQ(set.selectedText(SystemList::Ribbon, printer), QStringLiteral("No ribbon"));
}

TEST_F(SystemParameterFiles, XmlFilesThatAreRefused)
{
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"wrong root", "<VORMEX_InitialValueAndTable><header><printer>standard</printer></header></VORMEX_InitialValueAndTable>"},
        {"unknown printer", "<VORMEX_SystemParameter><header><printer>nobody</printer></header></VORMEX_SystemParameter>"},
        {"item without attributes",
         "<VORMEX_SystemParameter><header><printer>standard</printer></header><item>1</item></VORMEX_SystemParameter>"},
        {"document type", "<!DOCTYPE VORMEX_SystemParameter [<!ENTITY x \"standard\">]>"
                          "<VORMEX_SystemParameter><header><printer>&x;</printer></header></VORMEX_SystemParameter>"},
        {"cut off", "<VORMEX_SystemParameter><header><printer>standard</printer></header><item name=\"RIBBON\">"},
        {"not xml", "01000,0800"},
    };
    for (const auto& c : cases) {
        const QString file = path(QStringLiteral("bad.xml"));
        test::writeFile(file, c.content);
        EXPECT_FALSE(SystemParameterXmlToLine(file, documentDefinitions())) << c.name;
    }
    EXPECT_FALSE(SystemParameterXmlToLine(path(QStringLiteral("missing.xml")), documentDefinitions()));
}

// The page's read and save: the extension picks the kind, and no failure goes unreported.
TEST_F(SystemParameterFiles, FileOfEitherKindByItsExtension)
{
    SystemParameterSet set = DefaultSystemParameters(printer);
    ParseSystemParameterLine(kLine, printer, set);
    const XmlHeaderInfo header{QStringLiteral("standard"), true};
    for (const char* name : {"sys.TXT", "sys.Xml", "sys"}) {
        const QString file = path(QString::fromLatin1(name));
        ASSERT_FALSE(WriteSystemParameterFile(file, set, printer, header)) << name;
        EXPECT_EQ(test::readFile(file).startsWith("<?xml"), IsXmlFileName(file)) << name;
        const LineResult read = ReadSystemParameterFile(file, printer, documentDefinitions(), check, builtInStrings());
        ASSERT_TRUE(read.ok()) << name << ": " << read.error.toStdString();
        SystemParameterSet back = DefaultSystemParameters(printer);
        ParseSystemParameterLine(read.line, printer, back);
        EXPECT_EQ(BuildSystemParameterLine(back, printer), BuildSystemParameterLine(set, printer)) << name;
    }

    test::writeFile(path(QStringLiteral("other.xml")), "<VORMEX_InitialValueAndTable/>");
    const LineResult other = ReadSystemParameterFile(path(QStringLiteral("other.xml")), printer, documentDefinitions(), check,
                                                     builtInStrings());
    EXPECT_EQ(other.error, QStringLiteral("システム設定ファイルではありません"));
    EXPECT_FALSE(other.fileError);
    for (const char* missing : {"missing.xml", "missing.txt"}) {
        const LineResult read = ReadSystemParameterFile(path(QString::fromLatin1(missing)), printer, documentDefinitions(),
                                                        check, builtInStrings());
        EXPECT_FALSE(read.ok()) << missing;
        EXPECT_TRUE(read.fileError) << missing;
    }
}

TEST(SystemParameterText, NonCp932CharactersBecomeQuestionMarks)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("odd.txt"));
    ASSERT_FALSE(WriteSystemParameterTextFile(file, QStringLiteral("a\u00e9\u4e00\U0001F600\r\n")));
    EXPECT_EQ(test::readFile(file), codec::toPrinterCodePage(QStringLiteral("a?\u4e00?\r\n")));
}

}  // namespace
}  // namespace vormex
