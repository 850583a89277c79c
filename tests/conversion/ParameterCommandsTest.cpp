// vormexctl check, convert and export on the test definitions.
#include "support/DocumentFixtures.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex {
namespace {

class ParameterCommands : public ::testing::Test {
protected:
    test::ProcessResult run(const QStringList& arguments, const QString& printer = QStringLiteral("VX-BASE")) const
    {
        return test::runProgram(QStringLiteral("vormexctl"),
                                QStringList{QStringLiteral("--definitions"), test::documentDefinitionFile(),
                                            QStringLiteral("--printer"), printer, QStringLiteral("--language"), QStringLiteral("jpn")} + arguments);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ParameterCommands, ExportedDefaultsPassCheckAndConvertAlike)
{
    for (const QString kind : {QStringLiteral("system"), QStringLiteral("initial")}) {
        const QString txt = path(kind + QStringLiteral(".txt"));
        const QString xml = path(kind + QStringLiteral(".xml"));
        for (const auto& [format, out] : {std::pair{QStringLiteral("txt"), txt}, std::pair{QStringLiteral("xml"), xml}}) {
            const auto exported = run({QStringLiteral("export"), QStringLiteral("--kind"), kind, QStringLiteral("--format"), format,
                                       QStringLiteral("-o"), out});
            ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
            const auto checked = run({QStringLiteral("check"), out, QStringLiteral("--kind"), kind});
            EXPECT_EQ(checked.exitCode, 0) << kind.toStdString() << " " << checked.err.toStdString();
        }
        const QString fromTxt = path(kind + QStringLiteral("-txt.bin"));
        const QString fromXml = path(kind + QStringLiteral("-xml.bin"));
        ASSERT_EQ(run({QStringLiteral("convert"), txt, QStringLiteral("--kind"), kind, QStringLiteral("-o"), fromTxt}).exitCode, 0);
        ASSERT_EQ(run({QStringLiteral("convert"), xml, QStringLiteral("--kind"), kind, QStringLiteral("-o"), fromXml}).exitCode, 0);
        const QByteArray a = test::readFile(fromTxt);
        const QByteArray b = test::readFile(fromXml);
        ASSERT_EQ(a.size(), 65536);
        ASSERT_EQ(b.size(), 65536);
        if (kind == QLatin1String("initial")) {
            QByteArray withoutTerminator = b;
            withoutTerminator[16 + ((quint8(b[12]) << 8) | quint8(b[13]))] = char(0xFF);
            EXPECT_EQ(withoutTerminator, a);
        } else {
            // The XML line has the printer's field widths but no CR LF.
            EXPECT_EQ(a.mid(16, 72), QByteArray("00600,0800,0,8,T,G,N,4,03000,1,0,0,7E,5E,2C,0,0,0,0,0,08,+0000,0,+0000\r\n"));
            EXPECT_EQ(b.mid(16, 71), QByteArray("00600,0800,0,8,T,G,N,4,03000,1,0,0,7E,5E,2C,0,0,0,0,0,08,+0000,0,+0000") + '\0');
        }
    }
}

TEST_F(ParameterCommands, ExportTurnsTextIntoXmlAndBack)
{
    const QString original = path(QStringLiteral("orig.txt"));
    test::writeFile(original, "01000,0800,1,C,P,M,S,6,03000,0,1,1,7E,5E,2C,0,1,0,1,0,12,-0012,1,+0005\r\n");
    const QString xml = path(QStringLiteral("mid.xml"));
    const QString back = path(QStringLiteral("back.txt"));
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--kind"), QStringLiteral("system"), QStringLiteral("--format"),
                   QStringLiteral("xml"), QStringLiteral("-o"), xml, original}).exitCode, 0);
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--kind"), QStringLiteral("system"), QStringLiteral("--format"),
                   QStringLiteral("txt"), QStringLiteral("-o"), back, xml}).exitCode, 0);
    EXPECT_EQ(test::readFile(back), test::readFile(original));
}

TEST_F(ParameterCommands, EnvelopeWrapsTheArea)
{
    const QString txt = path(QStringLiteral("s.txt"));
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--kind"), QStringLiteral("system"), QStringLiteral("--format"),
                   QStringLiteral("txt"), QStringLiteral("-o"), txt}).exitCode, 0);
    const QString bin = path(QStringLiteral("s.bin"));
    ASSERT_EQ(run({QStringLiteral("convert"), txt, QStringLiteral("--kind"), QStringLiteral("system"), QStringLiteral("-o"), bin,
                   QStringLiteral("--envelope")}).exitCode, 0);
    const QByteArray envelope = test::readFile(bin);
    ASSERT_EQ(envelope.size(), 65536 + 7);
    EXPECT_EQ(envelope.left(4), QByteArray("{LP;"));
    EXPECT_EQ(envelope.mid(4, 12), QByteArray("QUILLPRM.TXT"));
    int sum = 0;
    for (qsizetype i = 4; i < envelope.size() - 3; ++i)
        sum += quint8(envelope[i]);
    EXPECT_EQ((sum + quint8(envelope.back())) % 256, 0);
}

TEST_F(ParameterCommands, FailuresAndUsage)
{
    const QString bad = path(QStringLiteral("bad.txt"));
    test::writeFile(bad, "BARCODE Default\r\n010,02,3.0\r\nFIELD Default\r\n0,0x0\r\n");
    auto result = run({QStringLiteral("check"), bad, QStringLiteral("--kind"), QStringLiteral("initial")});
    EXPECT_EQ(result.exitCode, 1);
    // The check's message stays last; the file and the item of the failed field come before it.
    EXPECT_EQ(QString::fromUtf8(result.err).trimmed(),
              QStringLiteral("vormexctl: %1: field 2, Char Gap\nFIELD Default\n第2パラメータは数字のみ入力可能です").arg(bad));

    result = run({QStringLiteral("convert"), bad, QStringLiteral("--kind"), QStringLiteral("initial"), QStringLiteral("-o"),
                  path(QStringLiteral("out.bin"))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("out.bin"))));

    const QString doctype = path(QStringLiteral("d.xml"));
    test::writeFile(doctype, "<!DOCTYPE VORMEX_SystemParameter><VORMEX_SystemParameter/>");
    result = run({QStringLiteral("check"), doctype, QStringLiteral("--kind"), QStringLiteral("system")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err).trimmed(), QStringLiteral("vormexctl: %1\nシステム設定ファイルではありません").arg(doctype));

    EXPECT_EQ(run({QStringLiteral("check"), bad, QStringLiteral("--kind"), QStringLiteral("other")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("convert"), bad, QStringLiteral("--kind"), QStringLiteral("initial")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("--kind"), QStringLiteral("initial"), QStringLiteral("--format"),
                   QStringLiteral("csv"), QStringLiteral("-o"), bad}).exitCode, 2);
    // A printer the definitions lack is a usage error, as is the template entry.
    EXPECT_EQ(run({QStringLiteral("check"), bad, QStringLiteral("--kind"), QStringLiteral("initial")}, QStringLiteral("nobody")).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("check"), bad, QStringLiteral("--kind"), QStringLiteral("initial")}, QStringLiteral("standard")).exitCode, 2);
}

}  // namespace
}  // namespace vormex

namespace vormex {
namespace {

// Every model of the shipped definition file: exported defaults pass the check, and the XML
// form converts into the same area as the text form (the system line of an XML file writes its
// two signed fields in its own format).
TEST(ShippedDefinitions, ExportCheckAndConvertForEveryModel)
{
    QTemporaryDir dir;
    const QString definitions = test::shippedDefinitionFile();
    const auto listed = test::runProgram(QStringLiteral("vormexctl"), {QStringLiteral("--definitions"), definitions, QStringLiteral("printers")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QStringList printers = QString::fromUtf8(listed.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(printers.isEmpty());
    for (const QString& printer : printers) {
        auto run = [&](const QStringList& arguments) {
            return test::runProgram(QStringLiteral("vormexctl"), QStringList{QStringLiteral("--definitions"), definitions,
                                                                              QStringLiteral("--printer"), printer} + arguments);
        };
        for (const QString kind : {QStringLiteral("system"), QStringLiteral("initial")}) {
            QByteArray areas[2];
            int i = 0;
            for (const QString format : {QStringLiteral("txt"), QStringLiteral("xml")}) {
                const QString file = dir.filePath(kind + QLatin1Char('.') + format);
                const QString bin = dir.filePath(kind + format + QStringLiteral(".bin"));
                const auto exported = run({QStringLiteral("export"), QStringLiteral("--kind"), kind, QStringLiteral("--format"),
                                           format, QStringLiteral("-o"), file});
                ASSERT_EQ(exported.exitCode, 0) << printer.toStdString() << ": " << exported.err.toStdString();
                const auto checked = run({QStringLiteral("check"), file, QStringLiteral("--kind"), kind});
                EXPECT_EQ(checked.exitCode, 0) << printer.toStdString() << ": " << checked.err.toStdString();
                const auto converted = run({QStringLiteral("convert"), file, QStringLiteral("--kind"), kind, QStringLiteral("-o"), bin});
                ASSERT_EQ(converted.exitCode, 0) << printer.toStdString() << ": " << converted.err.toStdString();
                areas[i++] = test::readFile(bin);
            }
            ASSERT_EQ(areas[0].size(), areas[1].size());
            if (kind == QLatin1String("initial")) {
                const int length = (quint8(areas[1][12]) << 8) | quint8(areas[1][13]);
                areas[1][16 + length] = char(0xFF);
                EXPECT_EQ(areas[0], areas[1]) << printer.toStdString();
            } else {
                EXPECT_EQ(areas[0].left(12), areas[1].left(12));
            }
        }
    }
}

}  // namespace
}  // namespace vormex
