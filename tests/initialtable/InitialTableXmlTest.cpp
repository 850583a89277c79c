#include "initialtable/InitialTableXml.h"

#include "support/DocumentFixtures.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex {
namespace {

using test::builtInStrings;
using test::documentDefinitions;
using test::documentPrinter;

class InitialTableXml : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // A document that differs from the defaults on every page.
    InitialTableDocument edited(const PrinterDefinition& printer) const
    {
        InitialTableDocument document = DefaultInitialTableDocument(printer);
        document.values.number(InitialValue::BarcodeHeight) = 200;
        document.values.ratio.setText(QStringLiteral("2.5"));
        document.values.selected(InitialValue::Unit) = 2;
        document.values.number(InitialValue::IncDec) = -9999999999LL;
        document.values.number(InitialValue::ZeroSuppress) = 0;
        document.values.number(InitialValue::FeedAdjust) = -7;
        document.drives.selection = {2, 2, 0, 1};
        document.responses.answers[0] = QStringLiteral("HELLO <&>");
        document.responses.answers[7] = QString();
        FontTableRow row = NewFontRow(printer);
        row.ZPLFontName = QStringLiteral("CHANGE");
        row.KIRNFontCode = QStringLiteral("02");
        EXPECT_FALSE(RegisterFontRow(document.fonts, printer, row, -1, builtInStrings()));
        return document;
    }

    QTemporaryDir dir;
};

TEST_F(InitialTableXml, DocumentXmlTextDocumentRoundTrip)
{
    const PrinterDefinition& printer = documentPrinter();
    const InitialTableDocument document = edited(printer);
    const QString file = path(QStringLiteral("table.xml"));
    ASSERT_FALSE(WriteInitialTableXml(file, document, printer, XmlHeaderInfo{QStringLiteral("standard"), false}));

    const QByteArray xml = test::readFile(file);
    EXPECT_TRUE(xml.contains("<item name=\"Ratio\">25</item>"));
    EXPECT_TRUE(xml.contains("<item name=\"ZeroSuppress\">ON</item>"));
    EXPECT_TRUE(xml.contains("<item name=\"INC/DEC\">-9999999999</item>"));
    EXPECT_TRUE(xml.contains("<item name=\"Unit\">inch</item>"));
    EXPECT_TRUE(xml.contains("<map Z-Drive=\"R:\">CARD</map>"));
    EXPECT_TRUE(xml.contains("<HQODString length=\"0\">0</HQODString>"));
    EXPECT_TRUE(xml.contains("<lunguage>english</lunguage>"));
    EXPECT_TRUE(xml.contains("<line ZPLFontCode=\"0\" ZPLFontName=\"FONT 0\" ZPLFontType=\"Bitmap\" MinimunWidth=\"5\""));
    EXPECT_TRUE(xml.contains(">1</FontChangeTable>") || xml.contains("1\n    </FontChangeTable>"));

    const std::optional<QString> text = ReadInitialTableXml(file, documentDefinitions());
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, ComposeInitialTableText(document, printer));

    InitialTableDocument back = DefaultInitialTableDocument(printer);
    ASSERT_TRUE(ApplyInitialTableText(*text, printer, back));
    EXPECT_EQ(back.values, document.values);
    EXPECT_EQ(back.drives, document.drives);
    EXPECT_EQ(back.fonts.rows, document.fonts.rows);
    EXPECT_EQ(back.responses, document.responses);
}

TEST_F(InitialTableXml, DisplayTextsAreTranslatedThroughTheNamedPrinter)
{
    // The file names VX-OTHER, whose lists the file's texts come from.
    const PrinterDefinition& other = documentPrinter(QStringLiteral("VX-OTHER"));
    InitialTableDocument document = edited(other);
    const QString file = path(QStringLiteral("other.xml"));
    ASSERT_FALSE(WriteInitialTableXml(file, document, other, XmlHeaderInfo{QStringLiteral("VX-OTHER"), true}));
    const std::optional<QString> text = ReadInitialTableXml(file, documentDefinitions());
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains(QStringLiteral("dot/mm/inch\r\nI\r\n")));

    const PrinterDefinition& standard = documentPrinter();
    InitialTableDocument back = DefaultInitialTableDocument(standard);
    ASSERT_TRUE(ApplyInitialTableText(*text, standard, back));
    EXPECT_EQ(back.values.choiceText(InitialValue::Unit, standard), QStringLiteral("inch"));
}

TEST_F(InitialTableXml, MissingItemsAndEmptyTexts)
{
    const QString file = path(QStringLiteral("sparse.xml"));
    QByteArray xml = "<VORMEX_InitialValueAndTable><header><printer>standard</printer></header>"
                     "<InitialValues><LineData><item name=\"Line Width\">12</item></LineData>"
                     "<Other><item name=\"Char Gap\">9</item></Other>"
                     "<CodePage><item name=\"Char Gap\">4</item><item name=\"CharSet\"></item></CodePage></InitialValues>"
                     "<FontConvertTable>";
    for (int i = 0; i < 36; ++i)
        xml += "<line KIRNFontCode=\"01\" KIRNFontType=\"Bitmap Font\" Drive=\"RAM\">0</line>";
    xml += "</FontConvertTable><ResponseCommand><HMString length=\"2\">OK</HMString><HIString length=\"2\">HI</HIString>"
           "</ResponseCommand></VORMEX_InitialValueAndTable>";
    test::writeFile(file, xml);
    const std::optional<QString> text = ReadInitialTableXml(file, documentDefinitions());
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->startsWith(QStringLiteral("BARCODE Default\r\n000,00,0.0\r\nFIELD Default\r\n,004\r\n")));
    EXPECT_TRUE(text->contains(QStringLiteral("Line Data\r\n012\r\n")));
    EXPECT_TRUE(text->contains(QStringLiteral("Serialization Data\r\n+0000000000,0\r\n")));
    EXPECT_TRUE(text->contains(QStringLiteral("DRIVE Mapping\r\n") + QString(21, QLatin1Char('3')) + QStringLiteral("0\r\n")));
    EXPECT_TRUE(text->endsWith(QStringLiteral("HM String\r\nOK\r\nHI String\r\nHI\r\n")));
}

TEST_F(InitialTableXml, FilesThatAreRefused)
{
    QByteArray fullRows;
    for (int i = 0; i < 36; ++i)
        fullRows += "<line KIRNFontCode=\"01\">0</line>";
    const QByteArray head = "<VORMEX_InitialValueAndTable><header><printer>standard</printer></header>";
    const QByteArray tail = "</VORMEX_InitialValueAndTable>";
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"document type", "<!DOCTYPE x [<!ENTITY e \"standard\">]>" + head + "<FontConvertTable>" + fullRows + "</FontConvertTable>" + tail},
        {"wrong root", "<VORMEX_SystemParameter><header><printer>standard</printer></header></VORMEX_SystemParameter>"},
        {"unknown printer", "<VORMEX_InitialValueAndTable><header><printer>nobody</printer></header><FontConvertTable>" + fullRows
                                + "</FontConvertTable>" + tail},
        {"item without attributes", head + "<InitialValues><LineData><item>12</item></LineData></InitialValues><FontConvertTable>"
                                        + fullRows + "</FontConvertTable>" + tail},
        {"map without attributes", head + "<DriverMapping><map>ROM</map></DriverMapping><FontConvertTable>" + fullRows
                                       + "</FontConvertTable>" + tail},
        {"line without attributes", head + "<FontConvertTable>" + fullRows + "<line/></FontConvertTable>" + tail},
        {"response without attributes", head + "<FontConvertTable>" + fullRows + "</FontConvertTable><ResponseCommand><HIString>x</HIString></ResponseCommand>" + tail},
        {"too few font rows", head + "<FontConvertTable><line KIRNFontCode=\"01\">0</line></FontConvertTable>" + tail},
        {"cut off before the rows", head + "<InitialValues>"},
        {"empty file", QByteArray()},
    };
    for (const auto& c : cases) {
        const QString file = path(QStringLiteral("bad.xml"));
        test::writeFile(file, c.content);
        EXPECT_FALSE(ReadInitialTableXml(file, documentDefinitions())) << c.name;
    }
    // Cut off after the rows: what was read is used.
    const QString file = path(QStringLiteral("cut.xml"));
    test::writeFile(file, head + "<FontConvertTable>" + fullRows + "</FontConvertTable><ResponseCommand><HIString length=\"1\">");
    EXPECT_TRUE(ReadInitialTableXml(file, documentDefinitions()));
}

}  // namespace
}  // namespace vormex
