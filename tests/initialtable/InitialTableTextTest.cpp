#include "initialtable/InitialTableDocument.h"
#include "initialtable/InitialTableFiles.h"

#include "definitions/ParameterCheck.h"
#include "support/DocumentFixtures.h"
#include "support/TestSupport.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

namespace vormex {
namespace {

using test::builtInStrings;
using test::documentPrinter;

QStringList linesOf(const QString& text) { return text.split(QStringLiteral("\r\n")); }

// The section after a header line: its data lines up to the next header of `next`.
QStringList sectionLines(const QString& text, const QString& header, const QString& next)
{
    const QStringList lines = linesOf(text);
    const qsizetype from = lines.indexOf(header) + 1;
    const qsizetype to = lines.indexOf(next, from);
    return lines.mid(from, to - from);
}

// A document that differs from the defaults on every page.
InitialTableDocument editedDocument(const PrinterDefinition& printer, const StringTable& strings)
{
    InitialTableDocument document = DefaultInitialTableDocument(printer);
    InitialValueSet& v = document.values;
    v.number(InitialValue::BarcodeHeight) = 123;
    v.ratio.setText(QStringLiteral("2.5"));
    v.selected(InitialValue::Rotation) = 2;
    v.number(InitialValue::CharGap) = 7;
    v.number(InitialValue::IncDec) = -123456;
    v.number(InitialValue::ZeroSuppress) = 0;
    v.selected(InitialValue::Unit) = 1;
    v.number(InitialValue::LineMargin) = -12;
    v.selected(InitialValue::Align) = 1;
    v.number(InitialValue::AdjustXPos) = 4;
    v.number(InitialValue::DensAdjust) = -5;
    v.number(InitialValue::LabelShift) = -120;
    v.selected(InitialValue::RotationMirror) = 1;
    v.number(InitialValue::YOffset) = 33;
    v.number(InitialValue::FeedAdjust) = 9;
    v.selected(InitialValue::Getcmdzb) = 1;
    document.drives.selection = {2, 0, 1, 0};
    document.responses.answers[3] = QStringLiteral("CHANGED");
    document.responses.answers[14] = QString();

    FontTableRow row = NewFontRow(printer);
    row.ZPLFontName = QStringLiteral("MY FONT");
    row.KIRNFontType = QStringLiteral("Outline Font");
    row.KIRNFontCode = QStringLiteral("X1");
    row.TrueTypeCAPHeight = 700;
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(RegisterFontRow(document.fonts, printer, row, -1, strings));
    return document;
}

TEST(ComposeInitialTableText, DefaultTextHasEverySectionInItsFormat)
{
    const PrinterDefinition& printer = documentPrinter();
    const QString text = ComposeInitialTableText(DefaultInitialTableDocument(printer), printer);
    EXPECT_TRUE(text.startsWith(QStringLiteral(
        "BARCODE Default\r\n010,02,3.0\r\nFIELD Default\r\n0,000\r\nSerialization Data\r\n+0000000001,1\r\n"
        "dot/mm/inch\r\nD\r\nFieldBlock Data\r\n0000,001,+000,0,000\r\nLine Data\r\n001\r\nAdjust Data\r\n+00\r\n"
        "Code Page\r\n00\r\nLABEL Default\r\n0000,0000,+0000,0,0000,+000\r\nPrint Default\r\n0001,000\r\n"
        "SAVE Area Allocate\r\n08\r\nGETCMDZB Operation\r\nA\r\nDRIVE Mapping\r\nBA33C333333333333B33333330\r\n"
        "Font Convert Table\r\n")));
    const QStringList convert = sectionLines(text, QStringLiteral("Font Convert Table"), QStringLiteral("Font Change Table"));
    ASSERT_EQ(convert.size(), 43);
    EXPECT_EQ(convert[0], QStringLiteral("FONT 0                ,M,00005,00009,01,B,00005,00007,00002,0800,0200,100,100,-00003,+00000,0"));
    EXPECT_EQ(convert[0].size(), 93);
    for (int k = 10; k < 17; ++k)
        EXPECT_EQ(convert[k], QStringLiteral("                      ,M,00005,00009,ZA,B,00005,00007,00002,0000,0000,000,000,+00000,+00000,0"));
    EXPECT_TRUE(convert[17].startsWith(QStringLiteral("FONT A ")));
    const QStringList change = sectionLines(text, QStringLiteral("Font Change Table"), QStringLiteral("HI String"));
    ASSERT_EQ(change.size(), 30);
    EXPECT_EQ(change[0], QStringLiteral("                      ,M,00000,00000,  ,B,00000,00000,00000,0000,0000,000,000,+00000,+00000,0"));
    EXPECT_TRUE(text.endsWith(QStringLiteral("HQPP String\r\nANSWER12\r\nHQSN String\r\nANSWER13\r\nHQUI String\r\nANSWER14\r\n")));

    ParameterCheckState check;
    EXPECT_TRUE(ValidateSectionFile(printer, text, false, check)) << check.error.code << " " << check.currentSectionName.toStdString() << " " << check.error.fieldIndex << ParameterErrorMessage(ParameterFileKind::InitialTable, check, builtInStrings()).toStdString();
}

TEST(ComposeInitialTableText, NumberFormats)
{
    EXPECT_EQ(IncDecText(-9999999999LL), QStringLiteral("-9999999999"));
    EXPECT_EQ(IncDecText(0), QStringLiteral("+0000000000"));
    EXPECT_EQ(IncDecText(-123456), QStringLiteral("-0000123456"));
    // A hostile file can scan to the extreme 64-bit values; they are written without overflow.
    EXPECT_EQ(IncDecText(std::numeric_limits<qint64>::min()), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(IncDecText(std::numeric_limits<qint64>::max()), QStringLiteral("+9223372036854775807"));
    const PrinterDefinition& printer = documentPrinter();
    InitialValueSet set = DefaultInitialValues(printer);
    set.ratio.setText(QStringLiteral("25"));
    set.number(InitialValue::ZeroSuppress) = 0;
    const QString text = InitialValuesText(set, printer);
    EXPECT_TRUE(text.contains(QStringLiteral("BARCODE Default\r\n010,02,2.5\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Serialization Data\r\n+0000000001,0\r\n")));
}

TEST(ApplyInitialTableText, DocumentTextDocumentRoundTrip)
{
    const PrinterDefinition& printer = documentPrinter();
    const InitialTableDocument edited = editedDocument(printer, builtInStrings());
    const QString text = ComposeInitialTableText(edited, printer);
    ParameterCheckState check;
    EXPECT_TRUE(ValidateSectionFile(printer, text, false, check));

    InitialTableDocument loaded = DefaultInitialTableDocument(printer);
    ASSERT_TRUE(ApplyInitialTableText(text, printer, loaded));
    EXPECT_EQ(loaded.values, edited.values);
    EXPECT_EQ(loaded.drives, edited.drives);
    EXPECT_EQ(loaded.responses, edited.responses);
    EXPECT_EQ(loaded.fonts.rows, edited.fonts.rows);
    EXPECT_EQ(loaded.fonts.kirnCodesOf(QStringLiteral("Outline Font")), QStringList({QStringLiteral("OA"), QStringLiteral("X1")}));
    EXPECT_EQ(ComposeInitialTableText(loaded, printer), text);
}

TEST(ApplyInitialTableText, WithoutBarcodeSectionNothingIsApplied)
{
    const PrinterDefinition& printer = documentPrinter();
    const QString text = ComposeInitialTableText(editedDocument(printer, builtInStrings()), printer)
                             .replace(QStringLiteral("BARCODE Default"), QStringLiteral("BARCODE Defaults"));
    InitialTableDocument document = DefaultInitialTableDocument(printer);
    const InitialTableDocument before = document;
    EXPECT_FALSE(ApplyInitialTableText(text, printer, document));
    EXPECT_EQ(document.values, before.values);
    EXPECT_EQ(document.fonts, before.fonts);
    EXPECT_EQ(document.responses, before.responses);
}

TEST(ApplyInitialTableText, SectionsInAnotherOrderStillApplyTheirValues)
{
    const PrinterDefinition& printer = documentPrinter();
    InitialValueSet set = DefaultInitialValues(printer);
    ASSERT_TRUE(ParseInitialValues(QStringLiteral("Line Data\r\n077\r\nBARCODE Default\r\n099,03,2.2\r\n"), printer, set));
    EXPECT_EQ(set.number(InitialValue::LineWidth), 77);
    EXPECT_EQ(set.number(InitialValue::BarcodeHeight), 99);
    EXPECT_EQ(set.ratioTenths(), 22);
}

// A choice inside a comma line is taken by position; its place in the number scan is read as a
// number too, so a choice that is not a number ends the scan of its line there.
TEST(ParseInitialValues, ChoiceThatIsNotANumberEndsTheScanOfItsLine)
{
    const PrinterDefinition& printer = documentPrinter();
    InitialValueSet set = DefaultInitialValues(printer);
    set.number(InitialValue::CharGap) = 5;
    set.number(InitialValue::AdjustXPos) = 6;
    set.number(InitialValue::YOffset) = 44;
    ASSERT_TRUE(ParseInitialValues(QStringLiteral("BARCODE Default\r\n010,02,3.0\r\nFIELD Default\r\nR,123\r\n"
                                                  "Serialization Data\r\n+0000000001,0\r\n"
                                                  "FieldBlock Data\r\n0100,002,-005,J,007\r\n"
                                                  "LABEL Default\r\n0010,0020,-0030,1,0040,+005\r\n"),
                                   printer, set));
    EXPECT_EQ(set.selected(InitialValue::Rotation), -1);  // "R" is not a value of this printer's list
    EXPECT_EQ(set.number(InitialValue::CharGap), 5);      // the scan ended at "R"
    EXPECT_EQ(set.number(InitialValue::IncDec), 1);
    EXPECT_EQ(set.number(InitialValue::ZeroSuppress), 0);
    EXPECT_EQ(set.number(InitialValue::LineMargin), -5);
    EXPECT_EQ(set.number(InitialValue::AdjustXPos), 6);   // the scan ended at "J"
    EXPECT_EQ(set.number(InitialValue::HomeXPos), 10);    // every field of "LABEL Default" differs,
    EXPECT_EQ(set.number(InitialValue::HomeYPos), 20);    // so a swap of any two shows
    EXPECT_EQ(set.number(InitialValue::LabelShift), -30);
    EXPECT_EQ(set.selected(InitialValue::RotationMirror), 1);  // a digit value: the numbers after it are read
    EXPECT_EQ(set.number(InitialValue::YOffset), 40);
    EXPECT_EQ(set.number(InitialValue::FeedAdjust), 5);
}

TEST(ParseInitialValues, ScanStopsAtTheFirstNumberThatDoesNotMatch)
{
    const PrinterDefinition& printer = documentPrinter();
    InitialValueSet set = DefaultInitialValues(printer);
    set.number(InitialValue::NumLine) = 9;
    set.number(InitialValue::AdjustXPos) = 8;
    ASSERT_TRUE(ParseInitialValues(QStringLiteral("BARCODE Default\r\nabc,02,3.0\r\nFieldBlock Data\r\n0100,x02,-005,1,007\r\n"),
                                   printer, set));
    EXPECT_EQ(set.number(InitialValue::BarcodeHeight), 10);
    EXPECT_EQ(set.number(InitialValue::ModuleSize), 2);
    EXPECT_EQ(set.number(InitialValue::RectWidth), 100);
    EXPECT_EQ(set.number(InitialValue::NumLine), 9);
    EXPECT_EQ(set.number(InitialValue::AdjustXPos), 8);
    EXPECT_EQ(set.selected(InitialValue::Align), 1);
}

TEST(FontTablesText, ChangeRowsThenEmptyPositions)
{
    const PrinterDefinition& printer = documentPrinter();
    const InitialTableDocument document = editedDocument(printer, builtInStrings());
    const QStringList change = sectionLines(FontTablesText(document.fonts, printer), QStringLiteral("Font Change Table"), QString());
    ASSERT_EQ(change.size(), 30);
    EXPECT_EQ(change[0], QStringLiteral("MY FONT               ,M,00005,00009,X1,O,00005,00007,00002,0700,0300,100,100,+00000,+00000,0"));
    EXPECT_TRUE(change[3].startsWith(QStringLiteral("                      ,M,00000,00000,  ,")));
}

TEST(ParseFontTables, CodesByPositionAndBlankCodesDropped)
{
    const PrinterDefinition& printer = documentPrinter();
    FontTableSet set = DefaultFontTables(printer);
    QString text = FontTablesText(set, printer);
    // Row "2" loses its KIRN code: the later convert rows move up one code.
    text.replace(QStringLiteral("FONT 2                ,M,00007,00011,01,"), QStringLiteral("FONT 2                ,M,00007,00011,  ,"));
    ASSERT_TRUE(ParseFontTables(text, printer, set));
    ASSERT_EQ(set.rows.size(), 35);
    EXPECT_EQ(set.rows[2].ZPLFontName, QStringLiteral("FONT 3"));
    EXPECT_EQ(set.rows[2].ZPLFontCode, QStringLiteral("2"));
    EXPECT_EQ(set.rows[34].ZPLFontCode, QStringLiteral("Y"));
    EXPECT_FALSE(ParseFontTables(QStringLiteral("Font Change Table\r\n"), printer, set));
    EXPECT_EQ(set.rows.size(), 35);
}

TEST(FontRows, RegisterValidatesAndKeepsTheOtherGroupAtDefaults)
{
    const PrinterDefinition& printer = documentPrinter();
    FontTableSet set = DefaultFontTables(printer);
    FontTableRow row = NewFontRow(printer);
    row.MinimunWidth = 40000;
    const auto failure = RegisterFontRow(set, printer, row, -1, builtInStrings());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, QStringLiteral("0 から 32000 までの整数を入力してください。"));
    EXPECT_EQ(set.rows.size(), 36);

    row = NewFontRow(printer);
    row.KIRNFontType = QStringLiteral("Bitmap Font");
    row.TrueTypeAdjustWidth = 555;  // hidden group: back to its default
    row.ZPLFontName = QStringLiteral("A NAME LONGER THAN TWENTY-TWO");
    ASSERT_FALSE(RegisterFontRow(set, printer, row, -1, builtInStrings()));
    EXPECT_EQ(set.rows.last().TrueTypeAdjustWidth, 100);
    EXPECT_EQ(set.rows.last().ZPLFontName.size(), 22);
    EXPECT_EQ(set.rows.last().ZPLFontCode, QStringLiteral(" "));

    row.KIRNFontType = QStringLiteral("Outline Font");
    row.TrueTypeCAPHeight = 1200;
    ASSERT_FALSE(RegisterFontRow(set, printer, row, 3, builtInStrings()));
    EXPECT_EQ(set.rows[3].ZPLFontCode, QStringLiteral("3"));
    EXPECT_EQ(set.rows[3].TrueTypeDescender, 0);
    EXPECT_EQ(OutlineDescender(800), 200);

    // A typed code known only as another code's value is stored trimmed and padded.
    set.kirnCodes.append({QStringLiteral("XX"), QStringLiteral("Q "), QStringLiteral("Bitmap Font")});
    row = NewFontRow(printer);
    row.KIRNFontType = QStringLiteral("Bitmap Font");
    row.KIRNFontCode = QStringLiteral(" Q");
    ASSERT_FALSE(RegisterFontRow(set, printer, row, 5, builtInStrings()));
    EXPECT_EQ(set.rows[5].KIRNFontCode, QStringLiteral("Q "));

    EXPECT_FALSE(DeleteFontRow(set, 3));
    EXPECT_TRUE(DeleteFontRow(set, 36));
    EXPECT_EQ(set.rows.size(), 36);
    while (set.canAddRow())
        ASSERT_FALSE(RegisterFontRow(set, printer, NewFontRow(printer), -1, builtInStrings()));
    EXPECT_EQ(set.rows.size(), 66);
    EXPECT_TRUE(RegisterFontRow(set, printer, NewFontRow(printer), -1, builtInStrings()));
}

TEST(DriveMapping, StringPlacesRowsAtAberAndReadsBack)
{
    const PrinterDefinition& printer = documentPrinter();
    DriveMappingSet set = DefaultDriveMapping(printer);
    EXPECT_EQ(set.vormexNames, QStringList({QStringLiteral("R:"), QStringLiteral("B:"), QStringLiteral("E:"), QStringLiteral("A:")}));
    set.selection = {1, 0, 2, 0};  // RAM, ROM, CARD, ROM: values B, A, C, A
    EXPECT_EQ(DriveMappingText(set, printer), QStringLiteral("DRIVE Mapping\r\nAA33C333333333333B33333330\r\n"));

    DriveMappingSet back = DefaultDriveMapping(printer);
    ASSERT_TRUE(ParseDriveMapping(QStringLiteral("x\r\nDRIVE Mapping\r\nAA33C333333333333B33333330\r\n"), printer, back));
    EXPECT_EQ(back.selection, set.selection);

    ASSERT_TRUE(ParseDriveMapping(QStringLiteral("DRIVE Mapping\r\nBB33C33"), printer, back));
    EXPECT_EQ(back.selection[0], 0);  // character 18 missing: the first KIRN drive
    EXPECT_EQ(back.selection[3], 1);
    EXPECT_FALSE(ParseDriveMapping(QStringLiteral("DRIVE Mapping"), printer, back));
}

TEST(ResponseCommands, ReadingRules)
{
    const PrinterDefinition& printer = documentPrinter();
    const ResponseSet defaults = DefaultResponses(printer);
    EXPECT_EQ(defaults.answers[0], QStringLiteral("ANSWER00"));

    ResponseSet set;
    ParseResponseCommands(QStringLiteral("HI String\r\n\r\nHM String\r\nMINE\r\n"), printer, set);
    EXPECT_EQ(set, defaults);  // an empty HI answer takes every answer from the definitions

    set = ResponseSet{};
    ParseResponseCommands(QStringLiteral("HI String\r\nFIRST\r\nHI String\r\nSECOND\r\nHQUI String\r\nLAST"), printer, set);
    EXPECT_EQ(set.answers[0], QStringLiteral("FIRST"));
    EXPECT_EQ(set.answers[14], QString());  // no CR LF after it
    EXPECT_EQ(set.answers[1], QString());
}

TEST(ResponseCommands, ValidationMessages)
{
    const PrinterDefinition& printer = documentPrinter();
    ParameterCheckState check;
    ResponseSet set = DefaultResponses(printer);
    EXPECT_FALSE(ValidateResponseCommands(set, printer, check, builtInStrings()));

    set.answers[2] = QString(41, QLatin1Char('x'));
    auto failure = ValidateResponseCommands(set, printer, check, builtInStrings());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->row, 2);
    EXPECT_EQ(failure->message, QStringLiteral("HS String1\r\nパラメータの数が間違っています"));

    set.answers[2] = QStringLiteral("a,b");
    failure = ValidateResponseCommands(set, printer, check, builtInStrings());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, QStringLiteral("HS String1\r\nパラメータの数が間違っています"));
}

TEST(BuildInitialTableArea, LayoutAndLimits)
{
    const PrinterDefinition& printer = documentPrinter();
    const QString text = ComposeInitialTableText(DefaultInitialTableDocument(printer), printer);
    const AreaResult result = BuildInitialTableArea(text, printer);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    const QByteArray& area = result.area;
    ASSERT_EQ(area.size(), 65536);
    EXPECT_EQ(area.left(12), QByteArray("ZDEFAULT.TXT"));
    EXPECT_EQ((quint8(area[12]) << 8) | quint8(area[13]), text.size());
    EXPECT_EQ(quint8(area[14]), 0xF0);
    EXPECT_EQ(quint8(area[15]), 0x02);
    EXPECT_EQ(area.mid(16, text.size()), text.toLatin1());
    EXPECT_EQ(quint8(area[16 + text.size()]), 0xFF);

    EXPECT_FALSE(BuildInitialTableArea(QString(10000, QLatin1Char('x')), printer).ok());
    EXPECT_TRUE(BuildInitialTableArea(QString(9999, QLatin1Char('x')), printer).ok());
    // Two bytes per character in the code page: 9999 characters still fit 64 KB.
    EXPECT_TRUE(BuildInitialTableArea(QString(9999, QChar(0x4E00)), printer).ok());
    EXPECT_FALSE(BuildInitialTableArea(text, PrinterDefinition{}).ok());
}

TEST(InitialTableTextFile, SaveLimitsAndLoadCheck)
{
    QTemporaryDir dir;
    const PrinterDefinition& printer = documentPrinter();
    const QString path = dir.filePath(QStringLiteral("table.txt"));
    const QString text = ComposeInitialTableText(editedDocument(printer, builtInStrings()), printer);
    ASSERT_FALSE(WriteInitialTableTextFile(path, text));
    EXPECT_EQ(test::readFile(path), text.toLatin1());

    ParameterCheckState check;
    TextResult read = ReadInitialTableTextFile(path, printer, check, builtInStrings());
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.text, text);

    // Too long: refused, the file stays.
    EXPECT_TRUE(WriteInitialTableTextFile(path, QString(12000, QLatin1Char('x'))));
    EXPECT_TRUE(WriteInitialTableTextFile(path, QString(6000, QChar(0x4E00))));
    EXPECT_EQ(test::readFile(path), text.toLatin1());

    // A section missing: the check's message.
    QString broken = text;
    broken.replace(QStringLiteral("Line Data\r\n001\r\n"), QString());
    test::writeFile(path, broken.toLatin1());
    read = ReadInitialTableTextFile(path, printer, check, builtInStrings());
    EXPECT_EQ(read.error, QStringLiteral("初期値＆テーブルファイルではありません"));

    // Short font tables.
    const qsizetype cut = text.indexOf(QStringLiteral("FONT Z"));
    test::writeFile(path, text.left(cut).toLatin1());
    read = ReadInitialTableTextFile(path, printer, check, builtInStrings());
    EXPECT_FALSE(read.ok());

    // A wrong field inside a section names it.
    broken = text;
    broken.replace(QStringLiteral("Code Page\r\n00\r\n"), QStringLiteral("Code Page\r\n0x\r\n"));
    test::writeFile(path, broken.toLatin1());
    read = ReadInitialTableTextFile(path, printer, check, builtInStrings());
    EXPECT_EQ(read.error, QStringLiteral("Code Page\r\n第1パラメータは数字のみ入力可能です"));
}


// The page reads its number fields first, then the ratio, then "INC/DEC"; a field without an
// integer is named where it stands.
TEST(ValidateInitialValues, OrderLimitsAndMessages)
{
    const PrinterDefinition& printer = documentPrinter();
    struct Case {
        const char* what;
        std::function<void(InitialValueSet&)> change;
        std::optional<InitialValue> unreadable;
        InitialValue failing;
        int messageId;
        QString message;
    };
    const Case cases[] = {
        {"number below its limit", [](InitialValueSet& v) { v.number(InitialValue::BarcodeHeight) = 0; }, {},
         InitialValue::BarcodeHeight, 61714, QStringLiteral("1 から 999 までの整数を入力してください。")},
        {"a later number before the ratio",
         [](InitialValueSet& v) {
             v.ratio.setText(QStringLiteral("1.9"));
             v.number(InitialValue::LineMargin) = 1000;
         },
         {}, InitialValue::LineMargin, 61714, QStringLiteral("-999 から 999 までの整数を入力してください。")},
        {"ratio in tenths", [](InitialValueSet& v) { v.ratio.setText(QStringLiteral("1.9")); }, {}, InitialValue::Ratio,
         800, QStringLiteral("\"細バー太バーの比\" は 2.0 から 3.0 の範囲で設定して下さい。")},
        {"inc/dec beyond ten digits", [](InitialValueSet& v) { v.number(InitialValue::IncDec) = -10000000000LL; }, {},
         InitialValue::IncDec, 811,
         QStringLiteral("\"INC/DEC\" は -9999999999 から 9999999999 の範囲で設定して下さい。")},
        {"unreadable field in its place",
         [](InitialValueSet& v) { v.number(InitialValue::IssueCount) = 0; }, InitialValue::CharGap,
         InitialValue::CharGap, 61712, QStringLiteral("整数を入力してください。")},
        {"unreadable inc/dec after the ratio", [](InitialValueSet& v) { v.ratio.setText(QStringLiteral("3.1")); },
         InitialValue::IncDec, InitialValue::Ratio, 800,
         QStringLiteral("\"細バー太バーの比\" は 2.0 から 3.0 の範囲で設定して下さい。")},
    };
    EXPECT_FALSE(ValidateInitialValues(DefaultInitialValues(printer), printer, builtInStrings()));
    for (const Case& c : cases) {
        InitialValueSet set = DefaultInitialValues(printer);
        c.change(set);
        const auto unreadable = [&c](InitialValue value) { return c.unreadable == value; };
        const auto failure = ValidateInitialValues(set, printer, builtInStrings(), unreadable);
        ASSERT_TRUE(failure) << c.what;
        EXPECT_EQ(failure->value, c.failing) << c.what;
        EXPECT_EQ(failure->messageId, c.messageId) << c.what;
        EXPECT_EQ(failure->message, c.message) << c.what;
    }
}

// A file of either kind by its extension; a failure always says why.
TEST(InitialTableFile, KindByExtensionAndFailures)
{
    QTemporaryDir dir;
    const PrinterDefinition& printer = documentPrinter();
    const InitialTableDocument document = editedDocument(printer, builtInStrings());
    const QString text = ComposeInitialTableText(document, printer);
    ParameterCheckState check;
    for (const char* name : {"table.txt", "table.Xml"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_FALSE(WriteInitialTableFile(path, document, printer, XmlHeaderInfo{printer.name, true}));
        EXPECT_EQ(test::readFile(path).startsWith("<?xml"), QString::fromLatin1(name).endsWith(QLatin1String("Xml")));
        const TextResult read = ReadInitialTableFile(path, printer, test::documentDefinitions(), check, builtInStrings());
        ASSERT_TRUE(read.ok()) << name << read.error.toStdString();
        EXPECT_EQ(read.text, text) << name;
    }
    const QString missing = dir.filePath(QStringLiteral("missing.xml"));
    TextResult read = ReadInitialTableFile(missing, printer, test::documentDefinitions(), check, builtInStrings());
    EXPECT_TRUE(read.fileError);
    EXPECT_FALSE(read.error.isEmpty());
    read = ReadInitialTableFile(dir.filePath(QStringLiteral("missing.txt")), printer, test::documentDefinitions(), check,
                                builtInStrings());
    EXPECT_TRUE(read.fileError);

    const QString other = dir.filePath(QStringLiteral("other.xml"));
    test::writeFile(other, "<?xml version=\"1.0\"?><VORMEX_SystemParameter/>");
    read = ReadInitialTableFile(other, printer, test::documentDefinitions(), check, builtInStrings());
    EXPECT_FALSE(read.fileError);
    EXPECT_EQ(read.error, QStringLiteral("初期値＆テーブルファイルではありません"));
}

}  // namespace
}  // namespace vormex
