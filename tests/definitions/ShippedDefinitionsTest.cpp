// The shipped definition file: every model loads, carries the items the pages need, and the
// lines that the defaults give pass the file's own formats.
#include "base/Format.h"
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterCheck.h"
#include "definitions/ParameterLine.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vormex;

namespace {

const QStringList kModels = {QStringLiteral("standard"), QStringLiteral("ORN Q-KA5"), QStringLiteral("Q-KA4S"),
                             QStringLiteral("Q-KB4")};

const QStringList kSystemLists = {
    QStringLiteral("RIBBON"),         QStringLiteral("DOT/MM"),         QStringLiteral("PRINT MODE"),
    QStringLiteral("SENSOR"),         QStringLiteral("GRAPHIC POSITION"), QStringLiteral("PRINT SPEED"),
    QStringLiteral("POWER ON CALIB"), QStringLiteral("HEAD CLOSE CALIB"), QStringLiteral("FORMAT CONVERT"),
    QStringLiteral("OFFSET PRINT")};
const QStringList kCheckBoxes = {QStringLiteral("LABEL SIZE(LL)"), QStringLiteral("LABEL TYPE(MN)"),
                                 QStringLiteral("MEDIA TYPE(MT)"), QStringLiteral("TONE ADJ(SD)"),
                                 QStringLiteral("TONE ADJ(MD)")};
const QStringList kResponses = {
    QStringLiteral("HI String"),   QStringLiteral("HM String"),   QStringLiteral("HS String1"),
    QStringLiteral("HS String2"),  QStringLiteral("HS String3"),  QStringLiteral("HQMA String"),
    QStringLiteral("HQMI String"), QStringLiteral("HQOD String"), QStringLiteral("HQPH String"),
    QStringLiteral("HQES String"), QStringLiteral("HQHA String"), QStringLiteral("HQJT String"),
    QStringLiteral("HQPP String"), QStringLiteral("HQSN String"), QStringLiteral("HQUI String")};

const QString kFontFiller =
    QStringLiteral("                      ,M,00005,00009,ZA,B,00005,00007,00002,0000,0000,000,000,+00000,+00000,0");
const QString kFontEmpty =
    QStringLiteral("                      ,M,00000,00000,  ,B,00000,00000,00000,0000,0000,000,000,+00000,+00000,0");

class ShippedDefinitions : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        definitions = new PrinterDefinitions;
        result = LoadDefinitions(test::shippedDefinitionFile(), *definitions, &error);
    }
    static void TearDownTestSuite()
    {
        delete definitions;
        definitions = nullptr;
    }

    static const PrinterDefinition& printer(const QString& name)
    {
        const PrinterDefinition* found = FindPrinter(*definitions, name);
        if (!found)
            ADD_FAILURE() << "no printer " << name.toStdString();
        static const PrinterDefinition none;
        return found ? *found : none;
    }

    static inline PrinterDefinitions* definitions = nullptr;
    static inline int result = 0;
    static inline DefinitionLoadError error;
};

const ItemDefinition& systemItem(const PrinterDefinition& printer, const QString& name)
{
    const ItemDefinition* item = FindSystemItem(printer, name);
    if (!item)
        ADD_FAILURE() << printer.name.toStdString() << " lacks " << name.toStdString();
    static const ItemDefinition none;
    return item ? *item : none;
}

const ItemDefinition& initialItem(const PrinterDefinition& printer, const QString& name)
{
    const ItemDefinition* item = FindInitialItem(printer, name);
    if (!item)
        ADD_FAILURE() << printer.name.toStdString() << " lacks " << name.toStdString();
    static const ItemDefinition none;
    return item ? *item : none;
}

// The characters of a display text at the input positions of the mask.
QString maskedText(const ItemDefinition& item)
{
    QString masked;
    for (qsizetype i = 0; i < item.mask.size() && i < item.initialText.size(); ++i) {
        const QChar c = item.mask[i];
        if (c == u'9' || c == u'+' || c == u'H')
            masked += item.initialText[i];
    }
    return masked;
}

int signedMaskedValue(const QString& masked)
{
    const int magnitude = CDecimal(masked.mid(1).trimmed());
    return masked.startsWith(u'-') ? -magnitude : magnitude;
}

// A list selects the last entry equal to the initial text, else the first.
QString selectedValue(const ItemDefinition& item)
{
    for (qsizetype i = item.list.size() - 1; i >= 0; --i) {
        if (item.list[i].text == item.initialText)
            return item.list[i].value;
    }
    return item.list.isEmpty() ? QString() : item.list[0].value;
}

QString signedField(int value) { return cformat(QStringLiteral("%c%04d"), value < 0 ? '-' : '+', std::abs(value)); }

// The system parameter line (without CR LF) that the page's defaults give.
QString defaultSystemParameterLine(const PrinterDefinition& p)
{
    auto number = [&p](const char* name) { return CDecimal(maskedText(systemItem(p, QString::fromLatin1(name)))); };
    auto list = [&p](const char* name) { return selectedValue(systemItem(p, QString::fromLatin1(name))) + u','; };
    QString line = cformat(QStringLiteral("%05d,%04d,"), number("LABEL LENGTH"), number("LABEL WIDTH"));
    for (const char* name : {"RIBBON", "DOT/MM", "PRINT MODE", "SENSOR", "GRAPHIC POSITION", "PRINT SPEED"})
        line += list(name);
    line += cformat(QStringLiteral("%05d,"), number("MAXIMUM LENGTH"));
    for (const char* name : {"POWER ON CALIB", "HEAD CLOSE CALIB", "FORMAT CONVERT"})
        line += list(name);
    for (const char* name : {"CONTROL PREFIX", "FORMAT PREFIX", "DELIMITER CHAR"})
        line += maskedText(systemItem(p, QString::fromLatin1(name))).toUpper() + u',';
    for (const QString& name : kCheckBoxes)
        line += systemItem(p, name).initialText == u"CHECKED" ? QStringLiteral("0,") : QStringLiteral("1,");
    line += cformat(QStringLiteral("%02d,"), systemItem(p, QStringLiteral("TAB->SP")).initialNumber);
    line += signedField(signedMaskedValue(maskedText(systemItem(p, QStringLiteral("RFID ADJUST"))))) + u',';
    line += selectedValue(systemItem(p, QStringLiteral("OFFSET PRINT")));
    line += u',' + signedField(signedMaskedValue(maskedText(systemItem(p, QStringLiteral("LABEL SHIFT")))));
    return line;
}

QString choice(const PrinterDefinition& p, const char* name)
{
    const ItemDefinition& item = initialItem(p, QString::fromLatin1(name));
    return ValueOfText(item, item.initialText);
}

int num(const PrinterDefinition& p, const char* name) { return initialItem(p, QString::fromLatin1(name)).initialNumber; }

QString section(const QString& header, const QString& line) { return header + QStringLiteral("\r\n") + line + QStringLiteral("\r\n"); }

QString initialValuesText(const PrinterDefinition& p)
{
    const int ratio = CDecimal(maskedText(initialItem(p, QStringLiteral("Ratio"))));
    const qint64 incDec = num(p, "INC/DEC");
    QString text;
    text += section(QStringLiteral("BARCODE Default"),
                    cformat(QStringLiteral("%03d,%02d,%d.%d"), num(p, "BARCODE Height"), num(p, "Module Size"), ratio / 10, ratio % 10));
    text += section(QStringLiteral("FIELD Default"), cformat(QStringLiteral("%s,%03d"), choice(p, "Rotation"), num(p, "Char Gap")));
    text += section(QStringLiteral("Serialization Data"),
                    cformat(QStringLiteral("%c%05d%05d,%d"), incDec < 0 ? '-' : '+', int(std::llabs(incDec) / 100000),
                            int(std::llabs(incDec) % 100000), num(p, "ZeroSuppress")));
    text += section(QStringLiteral("dot/mm/inch"), choice(p, "Unit"));
    text += section(QStringLiteral("FieldBlock Data"),
                    cformat(QStringLiteral("%04d,%03d,%+04d,%s,%03d"), num(p, "Rect Width"), num(p, "Num Line"),
                            num(p, "Line Margin"), choice(p, "Align"), num(p, "AdjustXPos")));
    text += section(QStringLiteral("Line Data"), cformat(QStringLiteral("%03d"), num(p, "Line Width")));
    text += section(QStringLiteral("Adjust Data"), cformat(QStringLiteral("%+03d"), num(p, "Dens Adjust")));
    text += section(QStringLiteral("Code Page"), cformat(QStringLiteral("%02d"), num(p, "CharSet")));
    text += section(QStringLiteral("LABEL Default"),
                    cformat(QStringLiteral("%04d,%04d,%+05d,%s,%04d,%+04d"), num(p, "Home XPos"), num(p, "Home YPos"),
                            num(p, "Label Shift"), choice(p, "Rotation Mirror"), num(p, "Y Offset"), num(p, "Feed Adjust")));
    text += section(QStringLiteral("Print Default"), cformat(QStringLiteral("%04d,%03d"), num(p, "Issue Count"), num(p, "Cut Interval")));
    text += section(QStringLiteral("SAVE Area Allocate"), cformat(QStringLiteral("%02d"), num(p, "PC Save Area")));
    text += section(QStringLiteral("GETCMDZB Operation"), choice(p, "GETCMDZB"));
    return text;
}

QString driveMappingText(const PrinterDefinition& p)
{
    const DriveMappingDefinition& mapping = *p.driveMapping;
    auto rowValue = [&mapping](int row) {
        const qsizetype kirn = mapping.tList.indexOf(mapping.defaultList.value(row - 1));
        return kirn < 0 ? QString() : mapping.valueList.value(mapping.zList.size() + kirn);
    };
    return section(QStringLiteral("DRIVE Mapping"), rowValue(4) + rowValue(2) + QStringLiteral("33") + rowValue(3) +
                                                        QStringLiteral("333333333333") + rowValue(1) + QStringLiteral("33333330"));
}

QString fontLine(const PrinterDefinition& p, const FontConvertLine& row)
{
    auto value = [&p](const char* item, const QString& text) {
        const ItemDefinition* definition = FindFontItem(p, QString::fromLatin1(item));
        return definition ? ValueOfText(*definition, text) : QString();
    };
    return cformat(QStringLiteral("%-22s,%s,%05d,%05d,%-2s,%s,%05d,%05d,%05d,%04d,%04d,%03d,%03d,%+06d,%+06d,%s"), row.ZPLFontName,
                   value("ZPLFontType", row.ZPLFontType), row.MinimunWidth, row.MinimumHeight, row.KIRNFontCode,
                   value("KIRNFontType", row.KIRNFontType), row.BMPAdjustWidth, row.BMPCAPHeight, row.BMPDescender,
                   row.TrueTypeCAPHeight, row.TrueTypeDescender, row.TrueTypeAdjustWidth, row.TrueTypeAdjustHeight,
                   row.CharSpace, row.TrueTypeCaraSpace, value("Storage", row.Drive));
}

QString fontTablesText(const PrinterDefinition& p)
{
    const FontConvertDefinition& fonts = *p.fontConvert;
    QString text = QStringLiteral("Font Convert Table\r\n");
    for (int row = 0; row < fonts.lineCount; ++row) {
        if (row == 10)
            text += (kFontFiller + QStringLiteral("\r\n")).repeated(7);
        text += fontLine(p, fonts.lines[row]) + QStringLiteral("\r\n");
    }
    text += QStringLiteral("Font Change Table\r\n");
    text += (kFontEmpty + QStringLiteral("\r\n")).repeated(fonts.totalRows - fonts.lineCount);
    return text;
}

QString responsesText(const PrinterDefinition& p)
{
    QString text;
    for (const QString& name : kResponses) {
        for (const ResponseCommandDefinition& command : p.responseCommands) {
            if (command.name == name) {
                text += section(name, command.text);
                break;
            }
        }
    }
    return text;
}

TEST_F(ShippedDefinitions, LoadsWithEveryModel)
{
    ASSERT_EQ(result, 1) << error.message.toStdString() << " at line " << error.line;
    QStringList names;
    for (const PrinterDefinition& p : *definitions)
        names << p.name;
    EXPECT_EQ(names, kModels);
}

TEST_F(ShippedDefinitions, ModelsDifferWhereTheyShould)
{
    const PrinterDefinition& standard = printer(QStringLiteral("standard"));
    PrinterDefinition plain = printer(QStringLiteral("ORN Q-KA5"));
    plain.name = standard.name;
    EXPECT_EQ(plain, standard);

    const PrinterDefinition& shift = printer(QStringLiteral("Q-KA4S"));
    EXPECT_EQ(shift.labelShiftOmitted, 1);
    EXPECT_EQ(systemItem(shift, QStringLiteral("LABEL WIDTH")).max, 800);
    EXPECT_EQ(systemItem(shift, QStringLiteral("PRINT SPEED")).list.size(), 3);
    EXPECT_EQ(shift.systemItems.size(), standard.systemItems.size());

    const PrinterDefinition& kb = printer(QStringLiteral("Q-KB4"));
    EXPECT_EQ(kb.labelShiftOmitted, 0);
    EXPECT_EQ(kb.firmwareHandshake, 1);
    EXPECT_EQ(kb.variableControlCodes, 1);
    EXPECT_EQ(kb.allocation->blockSizeKb, 128);
    EXPECT_EQ(systemItem(kb, QStringLiteral("LABEL LENGTH")).mask, QStringLiteral("9999.9 mm"));
    EXPECT_EQ(kb.responseCommands.last().name, QStringLiteral("HI String"));  // moved to the end
    for (const QString& name : {QStringLiteral("standard"), QStringLiteral("ORN Q-KA5"), QStringLiteral("Q-KA4S")}) {
        const PrinterDefinition& p = printer(name);
        EXPECT_EQ(p.firmwareHandshake, 0) << name.toStdString();
        EXPECT_EQ(p.variableControlCodes, 0) << name.toStdString();
        EXPECT_EQ(p.allocation->blockSizeKb, 64) << name.toStdString();
    }
}

TEST_F(ShippedDefinitions, EveryModelHasTheItemsAndSectionsThePagesNeed)
{
    for (const QString& name : kModels) {
        SCOPED_TRACE(name.toStdString());
        const PrinterDefinition& p = printer(name);
        EXPECT_EQ(p.systemItems.size(), 24);
        for (const ItemDefinition& item : p.systemItems) {
            if (item.type == u"MaskedEdit") {
                EXPECT_EQ(item.mask.size(), item.templateText.size()) << item.name.toStdString();
                EXPECT_EQ(item.initialText.size(), item.templateText.size()) << item.name.toStdString();
            }
        }
        for (const QString& list : kSystemLists) {
            const ItemDefinition& item = systemItem(p, list);
            EXPECT_EQ(item.type, QStringLiteral("ComboBox-dropdownlist"));
            EXPECT_GE(IndexOfText(item, item.initialText), 0) << list.toStdString();
            for (const ListEntry& entry : item.list)
                EXPECT_EQ(entry.value.size(), 1) << list.toStdString();
        }
        for (const QString& box : kCheckBoxes)
            EXPECT_EQ(systemItem(p, box).type, QStringLiteral("CheckBox"));
        const ItemDefinition& tab = systemItem(p, QStringLiteral("TAB->SP"));
        EXPECT_EQ(tab.min, 0);
        EXPECT_EQ(tab.max, 99);
        EXPECT_EQ(tab.length, 2);
        for (const char* masked : {"LABEL LENGTH", "LABEL WIDTH", "MAXIMUM LENGTH", "RFID ADJUST", "LABEL SHIFT"}) {
            const ItemDefinition& item = systemItem(p, QString::fromLatin1(masked));
            const QString text = maskedText(item);
            const int value = item.mask.startsWith(u'+') ? signedMaskedValue(text) : CDecimal(text);
            EXPECT_GE(value, item.min) << masked;
            EXPECT_LE(value, item.max) << masked;
        }

        EXPECT_EQ(p.initialItems.size(), 26);
        const ItemDefinition& ratio = initialItem(p, QStringLiteral("Ratio"));
        EXPECT_EQ(ratio.type, QStringLiteral("MaskedEdit"));
        EXPECT_EQ(maskedText(ratio), QStringLiteral("30"));
        for (const char* choiceName : {"Rotation", "Unit", "Align", "Rotation Mirror", "GETCMDZB"})
            EXPECT_EQ(choice(p, choiceName).size(), 1) << choiceName;

        ASSERT_TRUE(p.fontConvert);
        EXPECT_EQ(p.fontConvert->lineCount, 36);
        EXPECT_EQ(p.fontConvert->totalRows, 66);
        for (const char* font : {"ZPLFontCode", "ZPLFontName", "ZPLFontType", "Minimun Width", "Minimum Height",
                                 "KIRNFontCode", "KIRNFontType", "BMP Adjust Width", "BMP CAP Height", "BMP Descender",
                                 "TrueType CAP Height", "TrueType Descender", "TrueType Adjust Width",
                                 "TrueType Adjust Height", "Cher Space", "TrueType Char Space", "Storage"})
            EXPECT_NE(FindFontItem(p, QString::fromLatin1(font)), nullptr) << font;
        const ItemDefinition* kirnTypes = FindFontItem(p, QStringLiteral("KIRNFontType"));
        ASSERT_NE(kirnTypes, nullptr);
        for (const QString& type : {QStringLiteral("Bitmap Font"), QStringLiteral("GAIJI Font"), QStringLiteral("Outline Font"),
                                    QStringLiteral("True Type Font")})
            EXPECT_GE(IndexOfText(*kirnTypes, type), 0);
        for (const ListEntry& code : FindFontItem(p, QStringLiteral("KIRNFontCode"))->list)
            EXPECT_GE(IndexOfText(*kirnTypes, code.type), 0) << code.text.toStdString();
        const QString codes = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        for (int i = 0; i < p.fontConvert->lines.size(); ++i)
            EXPECT_EQ(p.fontConvert->lines[i].ZPLFontCode, codes.mid(i, 1));

        ASSERT_TRUE(p.driveMapping);
        EXPECT_EQ(p.driveMapping->zList, (QStringList{QStringLiteral("R:"), QStringLiteral("B:"), QStringLiteral("E:"), QStringLiteral("A:")}));
        EXPECT_EQ(p.driveMapping->defaultList.size(), p.driveMapping->zList.size() + p.driveMapping->tList.size());
        EXPECT_EQ(p.driveMapping->valueList.size(), p.driveMapping->defaultList.size());

        ASSERT_TRUE(p.allocation);
        for (int start : {p.allocation->startBlockBasicMain, p.allocation->startBlockBasicSystem,
                          p.allocation->startBlockSystemParam, p.allocation->startBlockInitialTable}) {
            EXPECT_GE(start, p.allocation->basicMin);
            EXPECT_LE(start, p.allocation->basicMax);
        }

        ASSERT_EQ(p.responseCommands.size(), 15);
        ASSERT_EQ(p.layoutFormats.size(), 30);
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(p.layoutFormats[15 + i].name, kResponses[i]);
        EXPECT_EQ(p.layoutFormats[12].name, QStringLiteral("DRIVE Mapping"));
        EXPECT_EQ(p.layoutFormats[13].name, QStringLiteral("Font Convert Table"));
        EXPECT_EQ(p.layoutFormats[14].name, QStringLiteral("Font Change Table"));
        ASSERT_TRUE(p.systemFormat);
        EXPECT_EQ(p.systemFormat->rules.size(), 24);
    }
}

TEST_F(ShippedDefinitions, TheDefaultSystemParameterLinePassesItsFormat)
{
    for (const QString& name : kModels) {
        SCOPED_TRACE(name.toStdString());
        const PrinterDefinition& p = printer(name);
        const QString line = defaultSystemParameterLine(p);
        ASSERT_EQ(line.size(), 70) << line.toStdString();
        ParameterCheckState state;
        EXPECT_TRUE(ValidateSystemParameterText(p, line, p.labelShiftOmitted, state))
            << line.toStdString() << " code " << state.error.code << " field " << state.error.fieldIndex;
        // The line without its label shift field (as a label shift printer stores it).
        const QString shortLine = line.left(64);
        EXPECT_EQ(ValidateSystemParameterText(p, shortLine, p.labelShiftOmitted, state), p.labelShiftOmitted == 1)
            << shortLine.toStdString();
    }
    EXPECT_TRUE(defaultSystemParameterLine(printer(QStringLiteral("standard")))
                    .startsWith(QStringLiteral("00600,0800,T,A,T,W,0,4,03000,C,F,0,7E,5E,2C,0,0,0,1,0,04,+0000,0,+0000")));
}

TEST_F(ShippedDefinitions, TheDefaultInitialValueAndTableTextPassesItsFormats)
{
    for (const QString& name : kModels) {
        SCOPED_TRACE(name.toStdString());
        const PrinterDefinition& p = printer(name);
        const QString tables = initialValuesText(p) + driveMappingText(p) + fontTablesText(p);
        const QString text = tables + responsesText(p);
        EXPECT_EQ(text.count(QStringLiteral("\r\n")), 12 * 2 + 2 + 44 + 31 + 30);
        ParameterCheckState state;
        EXPECT_TRUE(ValidateSectionFile(p, text, p.labelShiftOmitted, state))
            << state.currentSectionName.toStdString() << " code " << state.error.code << " field " << state.error.fieldIndex;
        EXPECT_TRUE(ValidateSectionFile(p, tables, p.labelShiftOmitted, state));  // may end before the responses
    }
    const PrinterDefinition& standard = printer(QStringLiteral("standard"));
    EXPECT_EQ(driveMappingText(standard), QStringLiteral("DRIVE Mapping\r\n54332333333333333133333330\r\n"));
    EXPECT_TRUE(initialValuesText(standard).startsWith(QStringLiteral("BARCODE Default\r\n010,02,3.0\r\n")));
}

}  // namespace
