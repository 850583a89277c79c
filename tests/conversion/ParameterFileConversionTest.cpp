#include "conversion/ParameterFileConversion.h"

#include "base/ImageChecksum.h"
#include "initialtable/InitialTableXml.h"
#include "support/DocumentFixtures.h"
#include "support/TestSupport.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex {
namespace {

using test::builtInStrings;
using test::documentDefinitions;
using test::documentPrinter;

const QByteArray kLine = "01000,0800,1,C,P,M,S,6,03000,0,1,1,7E,5E,2C,0,1,0,1,0,12,-0012,1,+0005\r\n";

class Conversion : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString file = dir.filePath(name);
        test::writeFile(file, bytes);
        return file;
    }
    ParameterFileContext context(const QString& printer = QStringLiteral("standard"))
    {
        return ParameterFileContext{documentDefinitions(), documentPrinter(printer), check, builtInStrings()};
    }
    QTemporaryDir dir;
    ParameterCheckState check;
};

int lengthField(const QByteArray& area) { return (quint8(area[12]) << 8) | quint8(area[13]); }

TEST_F(Conversion, TextFileIsCopiedByteForByte)
{
    QByteArray area(1024, '\0');
    ASSERT_TRUE(ConvertParameterFile(write(QStringLiteral("params.txt"), kLine), ParameterFileKind::SystemParameters,
                                     context(), area).ok);
    EXPECT_EQ(area.left(12), QByteArray("QUILLPRM.TXT"));
    EXPECT_EQ(lengthField(area), 72);
    EXPECT_EQ(quint8(area[14]), 0xF0);
    EXPECT_EQ(quint8(area[15]), 0x02);
    EXPECT_EQ(area.mid(16, 72), kLine);
    EXPECT_EQ(area.mid(88), QByteArray(1024 - 88, char(0xFF)));

    // Without extension it is a text file too.
    ASSERT_TRUE(ConvertParameterFile(write(QStringLiteral("params"), "anything"), ParameterFileKind::InitialTable, context(), area).ok);
    EXPECT_EQ(area.left(12), QByteArray("ZDEFAULT.TXT"));
    EXPECT_EQ(area.mid(16, 9), QByteArray("anything") + char(0xFF));
}

TEST_F(Conversion, LabelShiftFieldIsCutForPrintersWithoutIt)
{
    QByteArray area(1024, '\0');
    ASSERT_TRUE(ConvertParameterFile(write(QStringLiteral("p.txt"), kLine), ParameterFileKind::SystemParameters,
                                     context(QStringLiteral("VX-NOSHIFT")), area).ok);
    EXPECT_EQ(quint8(area[12]), 0x00);
    EXPECT_EQ(quint8(area[13]), 0x42);
    EXPECT_EQ(area.mid(16, 66), kLine.left(64) + "\r\n");
    EXPECT_EQ(area.mid(82, 6), QByteArray(6, char(0xFF)));
}

TEST_F(Conversion, LineWithoutLabelShiftFieldPassesForPrintersWithoutIt)
{
    const QByteArray shortLine = kLine.left(64) + "\r\n";
    const QString file = write(QStringLiteral("short.txt"), shortLine);
    const PreparedParameterFile prepared =
        PrepareParameterFileItem(file, ParameterFileKind::SystemParameters, context(QStringLiteral("VX-NOSHIFT")), ControlCodes{});
    ASSERT_TRUE(prepared.ok()) << prepared.message.toStdString();
    EXPECT_EQ(lengthField(prepared.area), 66);
    EXPECT_EQ(prepared.area.mid(16, 66), shortLine);

    // A printer with the field wants all 24.
    const PreparedParameterFile refused =
        PrepareParameterFileItem(file, ParameterFileKind::SystemParameters, context(), ControlCodes{});
    EXPECT_EQ(refused.message, QStringLiteral("システム設定ファイルではありません"));
}

TEST_F(Conversion, SizeLimits)
{
    const QString file = write(QStringLiteral("p.txt"), QByteArray(100, 'x'));
    QByteArray exact(116, '\0');
    EXPECT_TRUE(ConvertParameterFile(file, ParameterFileKind::InitialTable, context(), exact).ok);
    QByteArray small(115, 'k');
    EXPECT_FALSE(ConvertParameterFile(file, ParameterFileKind::InitialTable, context(), small).ok);
    EXPECT_EQ(small, QByteArray(115, 'k'));  // untouched

    QByteArray big(200000, '\0');
    const QString huge = write(QStringLiteral("huge.txt"), QByteArray(65536, 'x'));
    const ConversionResult result = ConvertParameterFile(huge, ParameterFileKind::InitialTable, context(), big);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_TRUE(ConvertParameterFile(write(QStringLiteral("max.txt"), QByteArray(65535, 'x')), ParameterFileKind::InitialTable,
                                     context(), big).ok);
    EXPECT_EQ(lengthField(big), 65535);

    EXPECT_FALSE(ConvertParameterFile(write(QStringLiteral("empty.txt"), QByteArray()), ParameterFileKind::InitialTable,
                                      context(), big).ok);
}

TEST_F(Conversion, XmlFileIsConvertedAndTerminated)
{
    const PrinterDefinition& printer = documentPrinter();
    SystemParameterSet set = DefaultSystemParameters(printer);
    ParseSystemParameterLine(QString::fromLatin1(kLine), printer, set);
    const QString file = dir.filePath(QStringLiteral("params.XML"));
    ASSERT_FALSE(WriteSystemParameterXml(file, set, printer, XmlHeaderInfo{QStringLiteral("standard"), true}));

    // The file itself must fit the area, whatever its text becomes.
    QByteArray small(1024, '\0');
    EXPECT_FALSE(ConvertParameterFile(file, ParameterFileKind::SystemParameters, context(), small).ok);
    QByteArray area(4096, '\0');
    ASSERT_TRUE(ConvertParameterFile(file, ParameterFileKind::SystemParameters, context(), area).ok);
    const QByteArray expected = "01000,0800,1,C,P,M,S,6,03000,0,1,1,7E,5E,2C,0,1,0,1,0,12,-0012,1,+0005";
    EXPECT_EQ(lengthField(area), expected.size());
    EXPECT_EQ(area.mid(16, expected.size()), expected);
    EXPECT_EQ(area[16 + expected.size()], '\0');
    EXPECT_EQ(quint8(area[17 + expected.size()]), 0xFF);
}

TEST_F(Conversion, XmlThatYieldsNoTextIsRefusedWithTheKindsMessage)
{
    const QString file = write(QStringLiteral("bad.xml"), "<VORMEX_SystemParameter><header><printer>nobody</printer></header></VORMEX_SystemParameter>");
    QByteArray area(1024, 'k');
    ConversionResult result = ConvertParameterFile(file, ParameterFileKind::SystemParameters, context(), area);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, QStringLiteral("システム設定ファイルではありません"));
    EXPECT_EQ(area, QByteArray(1024, 'k'));
    result = ConvertParameterFile(file, ParameterFileKind::InitialTable, context(), area);
    EXPECT_EQ(result.message, QStringLiteral("初期値＆テーブルファイルではありません"));
}

TEST_F(Conversion, PreparedItemIsOneBlockInTheEnvelope)
{
    const PreparedParameterFile prepared = PrepareParameterFileItem(write(QStringLiteral("p.txt"), kLine),
                                                                    ParameterFileKind::SystemParameters, context(), ControlCodes{});
    ASSERT_TRUE(prepared.ok()) << prepared.message.toStdString();
    ASSERT_EQ(prepared.area.size(), 65536);
    ASSERT_EQ(prepared.envelope.size(), 65536 + 7);
    EXPECT_EQ(prepared.envelope.left(4), QByteArray("{LP;"));
    EXPECT_EQ(prepared.envelope.mid(4, 65536), prepared.area);
    EXPECT_EQ(prepared.envelope.mid(65540, 2), QByteArray("|}"));
    int sum = 0;
    for (char byte : prepared.area)
        sum += quint8(byte);
    EXPECT_EQ((sum + quint8(prepared.envelope.back())) % 256, 0);

    // Variable control codes replace the braces and the bar; the checksum stays.
    const ControlCodes codes = ControlCodes::forType(3, 0x02, 0x03, 0x04);
    const PreparedParameterFile variable = PrepareParameterFileItem(
        write(QStringLiteral("q.txt"), kLine), ParameterFileKind::SystemParameters, context(QStringLiteral("VX-NOSHIFT")), codes);
    ASSERT_TRUE(variable.ok()) << variable.message.toStdString();
    EXPECT_EQ(variable.envelope[0], '\x02');
    EXPECT_EQ(variable.envelope.mid(65540, 2), QByteArray("\x03\x04"));
    EXPECT_EQ(quint8(variable.envelope.back()), ImageChecksum(variable.area));
}

TEST_F(Conversion, PreparationStopsAtTheFilesCheck)
{
    const QByteArray bad = QByteArray(kLine).replace("01000", "01a00");
    PreparedParameterFile prepared =
        PrepareParameterFileItem(write(QStringLiteral("bad.txt"), bad), ParameterFileKind::SystemParameters, context(), ControlCodes{});
    EXPECT_EQ(prepared.message, QStringLiteral("第1パラメータは数字のみ入力可能です"));
    EXPECT_TRUE(prepared.envelope.isEmpty());

    prepared = PrepareParameterFileItem(write(QStringLiteral("bad.txt"), "BARCODE Default\r\n"), ParameterFileKind::InitialTable,
                                        context(), ControlCodes{});
    EXPECT_EQ(prepared.message, QStringLiteral("初期値＆テーブルファイルではありません"));

    prepared = PrepareParameterFileItem(dir.filePath(QStringLiteral("missing.txt")), ParameterFileKind::InitialTable, context(),
                                        ControlCodes{});
    EXPECT_FALSE(prepared.ok());
}

TEST_F(Conversion, InitialTableXmlAndTextGiveTheSameArea)
{
    const PrinterDefinition& printer = documentPrinter();
    const InitialTableDocument document = DefaultInitialTableDocument(printer);
    const QString xml = dir.filePath(QStringLiteral("t.xml"));
    const QString txt = dir.filePath(QStringLiteral("t.txt"));
    ASSERT_FALSE(WriteInitialTableXml(xml, document, printer, XmlHeaderInfo{QStringLiteral("standard"), true}));
    ASSERT_FALSE(WriteInitialTableTextFile(txt, ComposeInitialTableText(document, printer)));
    const PreparedParameterFile fromXml = PrepareParameterFileItem(xml, ParameterFileKind::InitialTable, context(), ControlCodes{});
    const PreparedParameterFile fromText = PrepareParameterFileItem(txt, ParameterFileKind::InitialTable, context(), ControlCodes{});
    ASSERT_TRUE(fromXml.ok() && fromText.ok());
    // The XML text carries its terminator; otherwise the areas agree.
    QByteArray xmlArea = fromXml.area;
    xmlArea[16 + lengthField(xmlArea)] = char(0xFF);
    EXPECT_EQ(xmlArea, fromText.area);
}

}  // namespace
}  // namespace vormex
