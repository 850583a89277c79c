#include "definitions/DefinitionReader.h"
#include "definitions/FieldRules.h"
#include "definitions/Lookups.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>

using namespace vormex;

namespace {

QByteArray document(const QByteArray& printers)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VORMEX_Parameter>\n" + printers + "\n</VORMEX_Parameter>\n";
}

// A small "standard" with two system items, one initial value group, fonts, drive mapping,
// allocation, two responses, formats and no flags.
const QByteArray kStandard = R"(
<header><anything><printer name="ignored"></printer></anything></header>
<printer name="standard">
  <SystemParameter>
    <item name="LABEL LENGTH" type="MaskedEdit" mask="999.9 mm" template="___._ mm" min="100" max="9999">60.0 mm</item>
    <item name="RIBBON" type="ComboBox-dropdownlist">
      <list value="T">Transfer</list>
      <list value="D">Direct</list>Transfer</item>
    <item name="TAB-&gt;SP" type="SpinEdit" min="0" max="99" length="2">4</item>
  </SystemParameter>
  <InitialValues>
    <Parameter name="Font">
      <item name="Ratio" type="MaskedEdit" mask="9-9" template="_._" min="10" max="90">3.0</item>
    </Parameter>
  </InitialValues>
  <FontConvert>
    <item name="Storage" type="ComboBox-dropdownlist"><list value="R">RAM</list>RAM</item>
    <initial max="20">
      <line ZPLFontCode="0" MinimunWidth="12" Drive="R"/>
      <line ZPLFontCode="1" CharSpace="-3"></line>
    </initial>
  </FontConvert>
  <DriveMapping>
    <Z><item default="R:" value="R:">R:</item><item default="B:" value="B:">B:</item></Z>
    <T><item default="1" value="2">DRAM</item></T>
  </DriveMapping>
  <Allocate blocksize="64" max="100">
    <range name="BASIC" min="0" max="10">5</range>
    <StartBlock name="SystemParam">7</StartBlock>
  </Allocate>
  <StatusResponse>
    <command name="HI String" min="1" max="20"><item name="a" type="S" min="1" max="3" omission="1"/>ABC</command>
    <command name="HS String" min="1" max="30">DEF</command>
  </StatusResponse>
  <Layout>
    <format name="System Parameter" min="1" max="20">U2-2,OS1-3</format>
    <format name="A" min="1" max="10">U1-3</format>
    <format name="B" min="1" max="10">D2-4</format>
  </Layout>
</printer>
)";

struct Loaded {
    int result = 0;
    PrinterDefinitions definitions;
    DefinitionLoadError error;
};

Loaded load(const QByteArray& xml)
{
    Loaded loaded;
    loaded.result = LoadDefinitionsFromData(xml, loaded.definitions, &loaded.error);
    return loaded;
}

TEST(DefinitionReader, ReadsTheStandardEntry)
{
    const Loaded loaded = load(document(kStandard));
    ASSERT_EQ(loaded.result, 1) << loaded.error.message.toStdString();
    EXPECT_TRUE(loaded.error.message.isEmpty());
    ASSERT_EQ(loaded.definitions.size(), 1u);  // the printer inside "header" is skipped
    const PrinterDefinition& standard = loaded.definitions[0];
    EXPECT_EQ(standard.name, QStringLiteral("standard"));

    ASSERT_EQ(standard.systemItems.size(), 3);
    const ItemDefinition& length = standard.systemItems[0];
    EXPECT_EQ(length.initialText, QStringLiteral("60.0 mm"));
    EXPECT_EQ(length.initialNumber, 0);
    EXPECT_EQ(length.mask, QStringLiteral("999.9 mm"));
    EXPECT_EQ(length.templateText, QStringLiteral("___._ mm"));
    EXPECT_EQ(length.min, 100);
    EXPECT_EQ(length.max, 9999);
    EXPECT_EQ(length.length, 4);
    const ItemDefinition& ribbon = standard.systemItems[1];
    EXPECT_EQ(ribbon.initialText, QStringLiteral("Transfer"));
    ASSERT_EQ(ribbon.list.size(), 2);
    EXPECT_EQ(ribbon.list[1], (ListEntry{QStringLiteral("Direct"), QStringLiteral("D"), QString()}));
    const ItemDefinition& tab = standard.systemItems[2];
    EXPECT_EQ(tab.name, QStringLiteral("TAB->SP"));
    EXPECT_EQ(tab.initialNumber, 4);
    EXPECT_EQ(tab.initialText, QString());
    EXPECT_EQ(tab.length, 2);

    ASSERT_EQ(standard.initialItems.size(), 1);
    EXPECT_EQ(standard.initialItems[0].initialText, QStringLiteral("3.0"));

    ASSERT_TRUE(standard.fontConvert);
    EXPECT_EQ(standard.fontConvert->items.size(), 1);
    EXPECT_EQ(standard.fontConvert->lineCount, 2);
    EXPECT_EQ(standard.fontConvert->totalRows, 22);
    ASSERT_EQ(standard.fontConvert->lines.size(), 2);
    EXPECT_EQ(standard.fontConvert->lines[0].MinimunWidth, 12);
    EXPECT_EQ(standard.fontConvert->lines[0].Drive, QStringLiteral("R"));
    EXPECT_EQ(standard.fontConvert->lines[1].CharSpace, -3);

    ASSERT_TRUE(standard.driveMapping);
    EXPECT_EQ(standard.driveMapping->zList, (QStringList{QStringLiteral("R:"), QStringLiteral("B:")}));
    EXPECT_EQ(standard.driveMapping->tList, QStringList{QStringLiteral("DRAM")});
    EXPECT_EQ(standard.driveMapping->defaultList, (QStringList{QStringLiteral("R:"), QStringLiteral("B:"), QStringLiteral("1")}));
    EXPECT_EQ(standard.driveMapping->valueList, (QStringList{QStringLiteral("R:"), QStringLiteral("B:"), QStringLiteral("2")}));

    ASSERT_TRUE(standard.allocation);
    EXPECT_EQ(standard.allocation->blockSizeKb, 64);
    EXPECT_EQ(standard.allocation->totalBlocks, 100);
    EXPECT_EQ(standard.allocation->basicMax, 10);
    EXPECT_EQ(standard.allocation->basicDefault, 5);
    EXPECT_EQ(standard.allocation->startBlockBasicMain, 0);
    EXPECT_EQ(standard.allocation->startBlockBasicSystem, 2);
    EXPECT_EQ(standard.allocation->startBlockSystemParam, 7);
    EXPECT_EQ(standard.allocation->startBlockInitialTable, 4);

    ASSERT_EQ(standard.responseCommands.size(), 2);
    const ResponseCommandDefinition& hi = standard.responseCommands[0];
    EXPECT_EQ(hi.text, QStringLiteral("ABC"));
    EXPECT_EQ(hi.max, 20);
    ASSERT_EQ(hi.parameters.size(), 1);
    EXPECT_EQ(hi.parameters[0], (ResponseParameterDefinition{QStringLiteral("a"), QStringLiteral("S"), 1, 3, 1}));

    ASSERT_TRUE(standard.systemFormat);
    EXPECT_EQ(standard.systemFormat->rules.size(), 2);
    ASSERT_EQ(standard.layoutFormats.size(), 2);
    EXPECT_EQ(standard.layoutFormats[1].rules[0], (FieldRule{2, 4, FieldRule::Signed, 0}));
    EXPECT_EQ(standard.labelShiftOmitted, 0);
    EXPECT_EQ(standard.firmwareHandshake, 0);
    EXPECT_EQ(standard.variableControlCodes, 0);
}

TEST(DefinitionReader, APrinterInheritsEverythingAndRefinesByName)
{
    const Loaded loaded = load(document(kStandard + R"(
<printer name="Q-KB1">
  <SystemParameter>
    <item name="RIBBON" type="ComboBox-dropdownlist"><list value="X">Thermal</list>Thermal</item>
    <item name="NEW" type="Edit">abc</item>
  </SystemParameter>
  <FontConvert>
    <item name="Storage" type="ComboBox-dropdownlist"><list value="F">FROM</list>FROM</item>
  </FontConvert>
  <StatusResponse><command name="HI String" min="2" max="9">XYZ</command></StatusResponse>
  <Layout>
    <format name="A" min="2" max="8">U2-2</format>
    <format name="C" min="1" max="2">S1-2</format>
    <format name="System Parameter" min="1" max="5">U1-1</format>
  </Layout>
  <Allocate blocksize="128"><range max="3" name="TrueType" min="1" kanji1max="4">2</range></Allocate>
  <group><LABELSHIFT>1</LABELSHIFT></group>
  <FarmDownload>handshake</FarmDownload>
  <CommandControlCode>variable</CommandControlCode>
</printer>
<printer name="plain"></printer>
)"));
    ASSERT_EQ(loaded.result, 1) << loaded.error.message.toStdString();
    ASSERT_EQ(loaded.definitions.size(), 3u);
    const PrinterDefinition& standard = loaded.definitions[0];
    const PrinterDefinition& refined = loaded.definitions[1];
    const PrinterDefinition& plain = loaded.definitions[2];

    PrinterDefinition expectedPlain = standard;
    expectedPlain.name = QStringLiteral("plain");
    EXPECT_EQ(plain, expectedPlain);

    ASSERT_EQ(refined.systemItems.size(), 4);
    EXPECT_EQ(refined.systemItems[0], standard.systemItems[0]);
    EXPECT_EQ(refined.systemItems[1].list, (QList<ListEntry>{{QStringLiteral("Thermal"), QStringLiteral("X"), {}}}));
    EXPECT_EQ(refined.systemItems[2].name, QStringLiteral("TAB->SP"));
    EXPECT_EQ(refined.systemItems[3].name, QStringLiteral("NEW"));
    EXPECT_EQ(refined.initialItems, standard.initialItems);
    EXPECT_EQ(refined.fontConvert->items[0].initialText, QStringLiteral("FROM"));
    EXPECT_EQ(refined.fontConvert->lines, standard.fontConvert->lines);
    EXPECT_EQ(refined.driveMapping, standard.driveMapping);

    // The repeated command moves to the end.
    ASSERT_EQ(refined.responseCommands.size(), 2);
    EXPECT_EQ(refined.responseCommands[0].name, QStringLiteral("HS String"));
    EXPECT_EQ(refined.responseCommands[1].text, QStringLiteral("XYZ"));
    // Formats: overwritten in place or appended; the system format replaced.
    ASSERT_EQ(refined.layoutFormats.size(), 3);
    EXPECT_EQ(refined.layoutFormats[0].maxLength, 8);
    EXPECT_EQ(refined.layoutFormats[1].name, QStringLiteral("B"));
    EXPECT_EQ(refined.layoutFormats[2].name, QStringLiteral("C"));
    EXPECT_EQ(refined.systemFormat->maxLength, 5);
    // The allocation is replaced whole: the BASIC numbers and the start block are gone.
    ASSERT_TRUE(refined.allocation);
    EXPECT_EQ(refined.allocation->blockSizeKb, 128);
    EXPECT_EQ(refined.allocation->basicMax, 0);
    EXPECT_EQ(refined.allocation->startBlockSystemParam, 3);
    EXPECT_EQ(refined.allocation->trueTypeMax, 0);  // "max" came before "name"
    EXPECT_EQ(refined.allocation->trueTypeMin, 1);
    EXPECT_EQ(refined.allocation->trueTypeMaxKanji1, 4);
    EXPECT_EQ(refined.allocation->trueTypeDefault, 2);
    // Flags, one of them inside an element the reader looks through.
    EXPECT_EQ(refined.labelShiftOmitted, 1);
    EXPECT_EQ(refined.firmwareHandshake, 1);
    EXPECT_EQ(refined.variableControlCodes, 1);
}

TEST(DefinitionReader, SectionsThatReplaceWhole)
{
    const Loaded loaded = load(document(kStandard + R"(
<printer name="other">
  <DriveMapping><T><item default="9" value="8">FROM</item></T></DriveMapping>
  <FontConvert><initial max="20">)" + QByteArray(R"(<line ZPLFontCode="x"/>)").repeated(36) + R"(</initial></FontConvert>
  <LABELSHIFT>0</LABELSHIFT>
</printer>
<printer name="shift"><LABELSHIFT>2</LABELSHIFT></printer>
<printer name="notANumber"><LABELSHIFT>yes</LABELSHIFT><FarmDownload>Handshake</FarmDownload></printer>
)"));
    ASSERT_EQ(loaded.result, 1) << loaded.error.message.toStdString();
    const PrinterDefinition& other = loaded.definitions[1];
    EXPECT_EQ(other.driveMapping->zList, QStringList());
    EXPECT_EQ(other.driveMapping->defaultList, QStringList{QStringLiteral("9")});
    EXPECT_EQ(other.fontConvert->lineCount, 36);
    EXPECT_EQ(other.fontConvert->totalRows, 56);
    EXPECT_EQ(other.fontConvert->items.size(), 1);  // the inherited items stay
    EXPECT_EQ(other.labelShiftOmitted, 0);
    EXPECT_EQ(loaded.definitions[2].labelShiftOmitted, 1);
    EXPECT_EQ(loaded.definitions[3].labelShiftOmitted, 0);
    EXPECT_EQ(loaded.definitions[3].firmwareHandshake, 0);
}

struct FlagCase {
    const char* name;
    QByteArray elements;  // of the second printer; "standard" has every flag set
    int labelShiftOmitted;
    int firmwareHandshake;
    int variableControlCodes;
};

class DefinitionReaderFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(DefinitionReaderFlags, OverwriteTheInheritedFlags)
{
    const Loaded loaded = load(document(R"(<printer name="standard"><LABELSHIFT>1</LABELSHIFT>
<FarmDownload>handshake</FarmDownload><CommandControlCode>variable</CommandControlCode></printer>
<printer name="model">)" + GetParam().elements + "</printer>"));
    ASSERT_EQ(loaded.result, 1) << loaded.error.message.toStdString();
    const PrinterDefinition& model = loaded.definitions[1];
    EXPECT_EQ(model.labelShiftOmitted, GetParam().labelShiftOmitted);
    EXPECT_EQ(model.firmwareHandshake, GetParam().firmwareHandshake);
    EXPECT_EQ(model.variableControlCodes, GetParam().variableControlCodes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefinitionReaderFlags,
    ::testing::Values(FlagCase{"inherited", "", 1, 1, 1},
                      FlagCase{"zeroClears", "<LABELSHIFT>0</LABELSHIFT>", 0, 1, 1},
                      FlagCase{"notANumberClears", "<LABELSHIFT>on</LABELSHIFT>", 0, 1, 1},
                      FlagCase{"numberWithTail", "<LABELSHIFT> 2x</LABELSHIFT>", 1, 1, 1},
                      FlagCase{"exactWordsOnly", "<FarmDownload>Handshake</FarmDownload><CommandControlCode>variable </CommandControlCode>", 1, 0, 0},
                      FlagCase{"otherWords", "<FarmDownload>none</FarmDownload><CommandControlCode>fixed</CommandControlCode>", 1, 0, 0}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST(DefinitionReader, ItemAttributesApplyInDocumentOrder)
{
    const Loaded loaded = load(document(R"(<printer name="standard"><SystemParameter>
<item name="a" min="-999" max="999" length="3">1</item>
<item name="b" length="3" min="-999" max="999">1</item>
<item name="c" limit="2" max="123456789012345678901234">1</item>
<item name="d" type="Edit">12</item>
<item name="e" type="Number">12</item>
<item name="f" type="Number"> -7kg</item>
<item name="g" type="ComboBox-dropdown" other="x"><list>one</list>first<list type="t" value="v">two</list>last</item>
</SystemParameter></printer>)"));
    ASSERT_EQ(loaded.result, 1) << loaded.error.message.toStdString();
    const QList<ItemDefinition>& items = loaded.definitions[0].systemItems;
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[0].length, 3);
    EXPECT_EQ(items[1].length, 4);
    EXPECT_EQ(items[2].length, 20);
    EXPECT_EQ(items[2].max, std::numeric_limits<int>::max());
    EXPECT_EQ(items[3].initialText, QStringLiteral("12"));
    EXPECT_EQ(items[3].initialNumber, 0);
    EXPECT_EQ(items[4].initialNumber, 12);
    EXPECT_EQ(items[4].initialText, QString());
    EXPECT_EQ(items[5].initialNumber, -7);
    EXPECT_EQ(items[6].initialText, QStringLiteral("last"));
    EXPECT_EQ(items[6].list, (QList<ListEntry>{{QStringLiteral("one"), {}, {}},
                                               {QStringLiteral("two"), QStringLiteral("v"), QStringLiteral("t")}}));
}

TEST(DefinitionReader, QuirksThatFollowFromTheReading)
{
    const Loaded loaded = load(document(R"(<printer name="standard">
<SystemParameter>
  <item name="empty" type="Edit"/>
  <item name="swallowed" type="Edit"><list value="1">x</list>text</item>
  <item name="cdata" type="Edit"><![CDATA[ignored]]>kept<!-- split -->last</item>
</SystemParameter>
<Allocate max="10"><range min="4" name="Bitmap" max="5" kanji1max="6"></range><range name="BASIC" kanji1max="1">3</range></Allocate>
<Layout>
  <format name="blank after comma" min="0" max="9">U5-5, U4-4</format>
  <format name="bad kind" min="0" max="9">U1-1,X1-2,U1-1</format>
  <format name="no dash" min="0" max="9">OS1-8,U5</format>
  <format name="leading blank" min="0" max="9"> U1-1</format>
  <format name="trailing blank" min="0" max="9">U1-1,D1-2
  </format>
</Layout>
</printer>)"));
    ASSERT_EQ(loaded.result, 1) << loaded.error.message.toStdString();
    const PrinterDefinition& standard = loaded.definitions[0];
    // The empty item is closed by the next item's end tag: it takes that item's list and text.
    ASSERT_EQ(standard.systemItems.size(), 2);
    EXPECT_EQ(standard.systemItems[0].name, QStringLiteral("empty"));
    EXPECT_EQ(standard.systemItems[0].initialText, QStringLiteral("text"));
    EXPECT_EQ(standard.systemItems[0].list.size(), 1);
    EXPECT_EQ(standard.systemItems[1].initialText, QStringLiteral("last"));
    EXPECT_EQ(standard.allocation->bitmapMin, 0);  // "min" came before "name"
    EXPECT_EQ(standard.allocation->bitmapMax, 5);
    EXPECT_EQ(standard.allocation->bitmapMaxKanji1, 6);
    EXPECT_EQ(standard.allocation->basicDefault, 3);

    const QList<LayoutFormat>& formats = standard.layoutFormats;
    ASSERT_EQ(formats.size(), 5);
    EXPECT_EQ(formats[0].rules.size(), 1);
    EXPECT_EQ(formats[1].rules.size(), 1);
    EXPECT_EQ(formats[2].rules, (QList<FieldRule>{{1, 8, FieldRule::Text, 1}}));
    EXPECT_EQ(formats[3].rules.size(), 0);
    EXPECT_EQ(formats[4].rules, (QList<FieldRule>{{1, 1, FieldRule::Unsigned, 0}, {1, 2, FieldRule::Signed, 0}}));
}

TEST(FieldRules, ParsesTokensUntilTheFirstBadOne)
{
    QList<FieldRule> rules;
    ParseFieldRules(u"U5-5,D5-5,OS1-8", rules);
    EXPECT_EQ(rules, (QList<FieldRule>{{5, 5, FieldRule::Unsigned, 0}, {5, 5, FieldRule::Signed, 0},
                                       {1, 8, FieldRule::Text, 1}}));
    rules.clear();
    ParseFieldRules(u"", rules);
    ParseFieldRules(u"U1-2,,U1-2", rules);
    ParseFieldRules(u"OO1-2", rules);
    EXPECT_EQ(rules.size(), 1);
}

struct FailureCase {
    const char* name;
    QByteArray xml;
    int entriesKept;
    int line;
    const char* messagePart;
};

class DefinitionReaderFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DefinitionReaderFailure, StopsWithWhatWasReadKept)
{
    const FailureCase& c = GetParam();
    const Loaded loaded = load(c.xml);
    EXPECT_EQ(loaded.result, 0);
    EXPECT_EQ(int(loaded.definitions.size()), c.entriesKept);
    EXPECT_EQ(loaded.error.line, c.line);
    EXPECT_TRUE(loaded.error.message.contains(QLatin1StringView(c.messagePart)))
        << loaded.error.message.toStdString();
}

const QByteArray kHead = "<?xml version=\"1.0\"?>\n<VORMEX_Parameter>\n<printer name=\"standard\">\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, DefinitionReaderFailure,
    ::testing::Values(
        FailureCase{"doctype", "<?xml version=\"1.0\"?>\n<!DOCTYPE x [<!ENTITY a \"b\">]>\n<VORMEX_Parameter></VORMEX_Parameter>", 0, 2,
                    "document type"},
        FailureCase{"printerWithoutAttributes", kHead + "</printer>\n<printer>\n</printer></VORMEX_Parameter>", 1, 5,
                    "\"printer\""},
        FailureCase{"itemWithoutAttributes", kHead + "<SystemParameter>\n<item name=\"a\">1</item>\n<item>2</item>", 1, 6, "\"item\""},
        FailureCase{"parameterWithoutAttributes", kHead + "<InitialValues><Parameter>", 1, 4, "\"Parameter\""},
        FailureCase{"rangeWithoutAttributes", kHead + "<Allocate max=\"1\"><range>", 1, 4, "\"range\""},
        FailureCase{"allocateWithoutAttributes", kHead + "<Allocate>", 1, 4, "\"Allocate\""},
        FailureCase{"lineWithoutAttributes", kHead + "<FontConvert><initial max=\"1\"><line/>", 1, 4, "\"line\""},
        FailureCase{"responseItemWithoutAttributes", kHead + "<StatusResponse><command name=\"x\"><item/>", 1, 4, "\"item\""},
        FailureCase{"formatWithoutAttributes", kHead + "<Layout><format>", 1, 4, "\"format\""},
        FailureCase{"driveItemWithoutAttributes", kHead + "<DriveMapping><Z><item>", 1, 4, "\"item\""},
        FailureCase{"mismatchedTags", kHead + "<SystemParameter>\n</printer>", 1, 5, ""},
        FailureCase{"endsInsideRoot", kHead + "</printer>\n", 1, 5, ""},
        FailureCase{"empty", "", 0, 1, ""},
        FailureCase{"garbage", "not xml", 0, 1, ""}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(DefinitionReader, DamageAfterTheRootDoesNotMatter)
{
    const Loaded loaded = load(document(kStandard) + "<trailing>");
    EXPECT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.definitions.size(), 1u);
    EXPECT_EQ(load("<?xml version=\"1.0\"?><other><printer name=\"x\"></printer></other>").result, 1);
}

TEST(DefinitionReader, PrinterBeforeStandardStartsEmpty)
{
    const Loaded loaded = load(document(R"(<printer name="early"><SystemParameter><item name="x" type="Edit">1</item></SystemParameter>
<FontConvert><item name="Storage" type="Edit">R</item><initial max="2"><line ZPLFontCode="0"/></initial></FontConvert></printer>)" +
                                        kStandard));
    ASSERT_EQ(loaded.result, 1) << loaded.error.message.toStdString();
    const PrinterDefinition& early = loaded.definitions[0];
    EXPECT_EQ(early.systemItems.size(), 1);
    EXPECT_FALSE(early.fontConvert);  // nowhere to keep font items and rows
    EXPECT_FALSE(early.allocation);
}

TEST(DefinitionReader, LoadsFromAFileAndReportsAMissingOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("defs.xml"));
    PrinterDefinitions definitions;
    DefinitionLoadError error;
    EXPECT_EQ(LoadDefinitions(path, definitions, &error), 0);
    EXPECT_FALSE(error.message.isEmpty());
    EXPECT_EQ(error.line, 0);
    test::writeFile(path, document(kStandard));
    EXPECT_EQ(LoadDefinitions(path, definitions, &error), 1);
    EXPECT_EQ(LoadDefinitions(path, definitions), 1);  // appends
    EXPECT_EQ(definitions.size(), 2u);
}

TEST(CopyFromStandard, CopiesDeeplyAndKeepsTheName)
{
    PrinterDefinitions definitions;
    PrinterDefinition entry;
    entry.name = QStringLiteral("x");
    EXPECT_EQ(CopyFromStandard(definitions, entry), 0);
    PrinterDefinition expected;
    expected.name = QStringLiteral("x");
    EXPECT_EQ(entry, expected);

    ASSERT_EQ(LoadDefinitionsFromData(document(kStandard), definitions), 1);
    EXPECT_EQ(CopyFromStandard(definitions, entry), 1);
    EXPECT_EQ(entry.name, QStringLiteral("x"));
    EXPECT_EQ(entry.systemItems, definitions[0].systemItems);
    EXPECT_EQ(entry.systemFormat, definitions[0].systemFormat);
}

}  // namespace
