// Readers of the printer sections: allocation, drive mapping, font convert table, status
// responses, line formats and the three flags.
#include "definitions/DefinitionReaderContext.h"
#include "definitions/FieldRules.h"
#include "definitions/ParameterLine.h"

namespace vormex::reader {
namespace {

QString attributeText(const QXmlStreamAttribute& attribute) { return attribute.value().toString(); }
int attributeNumber(const QXmlStreamAttribute& attribute) { return CDecimal(attribute.value()); }

// The storage areas of an Allocate "range" element.
struct AreaFields {
    int* min = nullptr;
    int* max = nullptr;
    int* kanji1Max = nullptr;  // none for BASIC
    int* kanji2Max = nullptr;
    int* defaultBlocks = nullptr;
};

AreaFields areaNamed(AllocationDefinition& allocation, QStringView name)
{
    if (name == u"TrueType")
        return {&allocation.trueTypeMin, &allocation.trueTypeMax, &allocation.trueTypeMaxKanji1,
                &allocation.trueTypeMaxKanji2, &allocation.trueTypeDefault};
    if (name == u"Bitmap")
        return {&allocation.bitmapMin, &allocation.bitmapMax, &allocation.bitmapMaxKanji1, &allocation.bitmapMaxKanji2,
                &allocation.bitmapDefault};
    if (name == u"BASIC")
        return {&allocation.basicMin, &allocation.basicMax, nullptr, nullptr, &allocation.basicDefault};
    return {};
}

void setIfPresent(int* field, int value)
{
    if (field)
        *field = value;
}

// Attributes apply in document order; one before "name" has no area to go to.
bool readRange(Context& context, AllocationDefinition& allocation)
{
    if (!context.requireAttributes())
        return false;
    AreaFields area;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        const QStringView name = attribute.qualifiedName();
        if (name == u"name")
            area = areaNamed(allocation, attribute.value());
        else if (name == u"min")
            setIfPresent(area.min, attributeNumber(attribute));
        else if (name == u"max")
            setIfPresent(area.max, attributeNumber(attribute));
        else if (name == u"kanji1max")
            setIfPresent(area.kanji1Max, attributeNumber(attribute));
        else if (name == u"kanji2max")
            setIfPresent(area.kanji2Max, attributeNumber(attribute));
    }
    return context.readUntilEnd(
        QLatin1StringView("range"), [](QStringView) { return true; },
        [&area](const QString& text) { setIfPresent(area.defaultBlocks, CDecimal(text)); });
}

int* startBlockNamed(AllocationDefinition& allocation, QStringView name)
{
    if (name == u"BasicMain")
        return &allocation.startBlockBasicMain;
    if (name == u"BasicSystem")
        return &allocation.startBlockBasicSystem;
    if (name == u"SystemParam")
        return &allocation.startBlockSystemParam;
    if (name == u"InitialTable")
        return &allocation.startBlockInitialTable;
    return nullptr;
}

bool readStartBlock(Context& context, AllocationDefinition& allocation)
{
    if (!context.requireAttributes())
        return false;
    int* field = nullptr;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        if (attribute.qualifiedName() == u"name")
            field = startBlockNamed(allocation, attribute.value());
    }
    return context.readUntilEnd(
        QLatin1StringView("StartBlock"), [](QStringView) { return true; },
        [field](const QString& text) { setIfPresent(field, CDecimal(text)); });
}

bool readDriveItem(Context& context, DriveMappingDefinition& mapping, QStringList& texts)
{
    if (!context.requireAttributes())
        return false;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        if (attribute.qualifiedName() == u"default")
            mapping.defaultList.append(attributeText(attribute));
        else if (attribute.qualifiedName() == u"value")
            mapping.valueList.append(attributeText(attribute));
    }
    QString text;
    if (!context.readUntilEnd(QLatin1StringView("item"), [](QStringView) { return true; },
                              [&text](const QString& value) { text = value; }))
        return false;
    texts.append(text);
    return true;
}

bool readDriveGroup(Context& context, QLatin1StringView groupName, DriveMappingDefinition& mapping, QStringList& texts)
{
    return context.readUntilEnd(groupName, [&](QStringView name) {
        return name != u"item" || readDriveItem(context, mapping, texts);
    });
}

FontConvertLine fontLineFrom(const QXmlStreamAttributes& attributes)
{
    FontConvertLine line;
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView name = attribute.qualifiedName();
        const QString text = attributeText(attribute);
        const int number = CDecimal(text);
        if (name == u"ZPLFontCode") line.ZPLFontCode = text;
        else if (name == u"ZPLFontName") line.ZPLFontName = text;
        else if (name == u"ZPLFontType") line.ZPLFontType = text;
        else if (name == u"MinimunWidth") line.MinimunWidth = number;
        else if (name == u"MinimumHeight") line.MinimumHeight = number;
        else if (name == u"KIRNFontCode") line.KIRNFontCode = text;
        else if (name == u"KIRNFontType") line.KIRNFontType = text;
        else if (name == u"BMPAdjustWidth") line.BMPAdjustWidth = number;
        else if (name == u"BMPCAPHeight") line.BMPCAPHeight = number;
        else if (name == u"BMPDescender") line.BMPDescender = number;
        else if (name == u"TrueTypeCAPHeight") line.TrueTypeCAPHeight = number;
        else if (name == u"TrueTypeDescender") line.TrueTypeDescender = number;
        else if (name == u"TrueTypeAdjustWidth") line.TrueTypeAdjustWidth = number;
        else if (name == u"TrueTypeAdjustHeight") line.TrueTypeAdjustHeight = number;
        else if (name == u"CharSpace") line.CharSpace = number;
        else if (name == u"TrueTypeCaraSpace") line.TrueTypeCaraSpace = number;
        else if (name == u"Drive") line.Drive = text;
    }
    return line;
}

// "initial": the rows replace the inherited ones; each "line" (which may be an empty element)
// adds a row and counts towards both totals.
bool readInitialRows(Context& context, FontConvertDefinition* fonts)
{
    if (!context.requireAttributes())
        return false;
    FontConvertDefinition discarded;  // where rows go when there is no font convert data
    FontConvertDefinition& target = fonts ? *fonts : discarded;
    target.lines.clear();
    target.lineCount = 0;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        if (attribute.qualifiedName() == u"max")
            target.totalRows = attributeNumber(attribute);
    }
    return context.readUntilEnd(QLatin1StringView("initial"), [&](QStringView name) {
        if (name != u"line")
            return true;
        if (!context.requireAttributes())
            return false;
        target.lines.append(fontLineFrom(context.xml.attributes()));
        ++target.totalRows;
        ++target.lineCount;
        return true;
    });
}

ResponseParameterDefinition responseParameterFrom(const QXmlStreamAttributes& attributes)
{
    ResponseParameterDefinition parameter;
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView name = attribute.qualifiedName();
        if (name == u"name")
            parameter.name = attributeText(attribute);
        else if (name == u"type")
            parameter.type = attributeText(attribute);
        else if (name == u"min")
            parameter.min = attributeNumber(attribute);
        else if (name == u"max")
            parameter.max = attributeNumber(attribute);
        else if (name == u"omission")
            parameter.omissible = attributeNumber(attribute) == 1 ? 1 : 0;
    }
    return parameter;
}

// A command of the same name (inherited or earlier) is removed; the new one goes to the end.
bool readCommand(Context& context)
{
    if (!context.requireAttributes())
        return false;
    ResponseCommandDefinition command;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        const QStringView name = attribute.qualifiedName();
        if (name == u"name")
            command.name = attributeText(attribute);
        else if (name == u"min")
            command.min = attributeNumber(attribute);
        else if (name == u"max")
            command.max = attributeNumber(attribute);
    }
    const bool read = context.readUntilEnd(
        QLatin1StringView("command"),
        [&](QStringView name) {
            if (name != u"item")
                return true;
            if (!context.requireAttributes())
                return false;
            command.parameters.append(responseParameterFrom(context.xml.attributes()));
            return true;
        },
        [&command](const QString& text) { command.text = text; });
    if (!read)
        return false;
    QList<ResponseCommandDefinition>& commands = context.entry().responseCommands;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        if (commands[i].name == command.name) {
            commands.removeAt(i);
            break;
        }
    }
    commands.append(command);
    return true;
}

bool readFormat(Context& context)
{
    if (!context.requireAttributes())
        return false;
    LayoutFormat format;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        const QStringView name = attribute.qualifiedName();
        if (name == u"name")
            format.name = attributeText(attribute);
        else if (name == u"min")
            format.minLength = attributeNumber(attribute);
        else if (name == u"max")
            format.maxLength = attributeNumber(attribute);
    }
    const bool read = context.readUntilEnd(
        QLatin1StringView("format"), [](QStringView) { return true; },
        [&format](const QString& text) { ParseFieldRules(text, format.rules); });
    if (!read)
        return false;
    PrinterDefinition& entry = context.entry();
    if (format.name == u"System Parameter") {
        entry.systemFormat = format;
        return true;
    }
    for (LayoutFormat& existing : entry.layoutFormats) {
        if (existing.name == format.name) {
            existing = format;
            return true;
        }
    }
    entry.layoutFormats.append(format);
    return true;
}

// The flags read their element's text up to its own end tag; with no text they stay as they were.
template <typename SetFromText>
bool readFlag(Context& context, QLatin1StringView elementName, SetFromText setFromText)
{
    return context.readUntilEnd(elementName, [](QStringView) { return true; }, setFromText);
}

}  // namespace

bool readAllocate(Context& context)
{
    if (!context.requireAttributes())
        return false;
    PrinterDefinition& entry = context.entry();
    entry.allocation = AllocationDefinition{};
    AllocationDefinition& allocation = *entry.allocation;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        const QStringView name = attribute.qualifiedName();
        if (name == u"blocksize")
            allocation.blockSizeKb = attributeNumber(attribute);
        else if (name == u"max")
            allocation.totalBlocks = attributeNumber(attribute);
        else if (name == u"kanji")
            allocation.kanjiVariants = attributeNumber(attribute) != 0 ? 1 : 0;
        else if (name == u"kanji1max")
            allocation.totalBlocksKanji1 = attributeNumber(attribute);
        else if (name == u"kanji2max")
            allocation.totalBlocksKanji2 = attributeNumber(attribute);
    }
    return context.readUntilEnd(QLatin1StringView("Allocate"), [&](QStringView name) {
        if (name == u"range")
            return readRange(context, allocation);
        if (name == u"StartBlock")
            return readStartBlock(context, allocation);
        return true;
    });
}

bool readDriveMapping(Context& context)
{
    PrinterDefinition& entry = context.entry();
    entry.driveMapping = DriveMappingDefinition{};
    DriveMappingDefinition& mapping = *entry.driveMapping;
    return context.readUntilEnd(QLatin1StringView("DriveMapping"), [&](QStringView name) {
        if (name == u"Z")
            return readDriveGroup(context, QLatin1StringView("Z"), mapping, mapping.zList);
        if (name == u"T")
            return readDriveGroup(context, QLatin1StringView("T"), mapping, mapping.tList);
        return true;
    });
}

// A printer other than "standard" refines the inherited font convert data; without any (no
// "standard" before it) its items and rows are read and dropped.
bool readFontConvert(Context& context)
{
    PrinterDefinition& entry = context.entry();
    if (context.readingStandard())
        entry.fontConvert = FontConvertDefinition{};
    FontConvertDefinition* fonts = entry.fontConvert ? &*entry.fontConvert : nullptr;
    return context.readUntilEnd(QLatin1StringView("FontConvert"), [&](QStringView name) {
        if (name == u"item")
            return readItem(context, fonts ? &fonts->items : nullptr);
        if (name == u"initial")
            return readInitialRows(context, fonts);
        return true;
    });
}

bool readStatusResponse(Context& context)
{
    return context.readUntilEnd(QLatin1StringView("StatusResponse"),
                                [&context](QStringView name) { return name != u"command" || readCommand(context); });
}

bool readLayout(Context& context)
{
    return context.readUntilEnd(QLatin1StringView("Layout"),
                                [&context](QStringView name) { return name != u"format" || readFormat(context); });
}

bool readLabelShift(Context& context)
{
    PrinterDefinition& entry = context.entry();
    return readFlag(context, QLatin1StringView("LABELSHIFT"),
                    [&entry](const QString& text) { entry.labelShiftOmitted = CDecimal(text) != 0 ? 1 : 0; });
}

bool readFarmDownload(Context& context)
{
    PrinterDefinition& entry = context.entry();
    return readFlag(context, QLatin1StringView("FarmDownload"),
                    [&entry](const QString& text) { entry.firmwareHandshake = text == u"handshake" ? 1 : 0; });
}

bool readCommandControlCode(Context& context)
{
    PrinterDefinition& entry = context.entry();
    return readFlag(context, QLatin1StringView("CommandControlCode"),
                    [&entry](const QString& text) { entry.variableControlCodes = text == u"variable" ? 1 : 0; });
}

}  // namespace vormex::reader
