#include "initialtable/InitialTableXml.h"

#include "definitions/Lookups.h"
#include "definitions/ParameterLine.h"
#include "files/UserFiles.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace vormex {

namespace {

const QString kRootName = QStringLiteral("VORMEX_InitialValueAndTable");

// The twelve groups of the "InitialValues" element and the values each holds.
struct XmlGroup {
    const char* element;
    std::initializer_list<InitialValue> values;
};
const XmlGroup kGroups[] = {
    {"BARCODEDefault", {InitialValue::BarcodeHeight, InitialValue::ModuleSize, InitialValue::Ratio}},
    {"FIELDDefault", {InitialValue::Rotation, InitialValue::CharGap}},
    {"SerializationData", {InitialValue::IncDec, InitialValue::ZeroSuppress}},
    {"DotMmInch", {InitialValue::Unit}},
    {"FieldBlockData",
     {InitialValue::RectWidth, InitialValue::NumLine, InitialValue::LineMargin, InitialValue::Align,
      InitialValue::AdjustXPos}},
    {"LineData", {InitialValue::LineWidth}},
    {"AdjustData", {InitialValue::DensAdjust}},
    {"CodePage", {InitialValue::CharSet}},
    {"LABELDefault",
     {InitialValue::HomeXPos, InitialValue::HomeYPos, InitialValue::LabelShift, InitialValue::RotationMirror,
      InitialValue::YOffset, InitialValue::FeedAdjust}},
    {"PrintDefault", {InitialValue::IssueCount, InitialValue::CutInterval}},
    {"SAVEAreaAllocate", {InitialValue::PcSaveArea}},
    {"GETCMDZBOperation", {InitialValue::Getcmdzb}},
};

bool isGroupElement(QStringView name)
{
    return std::any_of(std::begin(kGroups), std::end(kGroups),
                       [name](const XmlGroup& group) { return name == QLatin1String(group.element); });
}

// The value of an initial value as the XML file writes it.
QString xmlValue(const InitialValueSet& set, InitialValue value, const PrinterDefinition& printer)
{
    switch (InitialValueKindOf(value)) {
    case InitialValueKind::Number: return QString::number(int(set.number(value)));
    case InitialValueKind::Ratio: return QString::number(set.ratioTenths());
    case InitialValueKind::LongNumber: return IncDecText(set.number(value));
    case InitialValueKind::Flag: return set.number(value) == 0 ? QStringLiteral("ON") : QStringLiteral("OFF");
    case InitialValueKind::Choice: return set.choiceText(value, printer);
    }
    return {};
}

void writeFontRow(QXmlStreamWriter& xml, const FontTableRow& row)
{
    xml.writeStartElement(QStringLiteral("line"));
    auto attribute = [&xml](const char* name, const QString& value) { xml.writeAttribute(QString::fromLatin1(name), value); };
    auto number = [&attribute](const char* name, int value) { attribute(name, QString::number(value)); };
    attribute("ZPLFontCode", row.ZPLFontCode);
    attribute("ZPLFontName", row.ZPLFontName);
    attribute("ZPLFontType", row.ZPLFontType);
    number("MinimunWidth", row.MinimunWidth);
    number("MinimumHeight", row.MinimumHeight);
    attribute("KIRNFontCode", row.KIRNFontCode);
    attribute("KIRNFontType", row.KIRNFontType);
    number("BMPAdjustWidth", row.BMPAdjustWidth);
    number("BMPCAPHeight", row.BMPCAPHeight);
    number("BMPDescender", row.BMPDescender);
    number("TrueTypeCAPHeight", row.TrueTypeCAPHeight);
    number("TrueTypeDescender", row.TrueTypeDescender);
    number("TrueTypeAdjustWidth", row.TrueTypeAdjustWidth);
    number("TrueTypeAdjustHeight", row.TrueTypeAdjustHeight);
    number("CharSpace", row.CharSpace);
    number("TrueTypeCaraSpace", row.TrueTypeCaraSpace);
    attribute("Drive", row.Drive);
    xml.writeCharacters(QStringLiteral("0"));
    xml.writeEndElement();
}

FontTableRow readFontRow(const QXmlStreamAttributes& attributes)
{
    FontTableRow row;
    auto text = [&attributes](const char* name) { return attributes.value(QLatin1String(name)).toString(); };
    auto number = [&attributes](const char* name) { return CDecimal(attributes.value(QLatin1String(name))); };
    row.ZPLFontCode = text("ZPLFontCode");
    row.ZPLFontName = text("ZPLFontName");
    row.ZPLFontType = text("ZPLFontType");
    row.MinimunWidth = number("MinimunWidth");
    row.MinimumHeight = number("MinimumHeight");
    row.KIRNFontCode = text("KIRNFontCode");
    row.KIRNFontType = text("KIRNFontType");
    row.BMPAdjustWidth = number("BMPAdjustWidth");
    row.BMPCAPHeight = number("BMPCAPHeight");
    row.BMPDescender = number("BMPDescender");
    row.TrueTypeCAPHeight = number("TrueTypeCAPHeight");
    row.TrueTypeDescender = number("TrueTypeDescender");
    row.TrueTypeAdjustWidth = number("TrueTypeAdjustWidth");
    row.TrueTypeAdjustHeight = number("TrueTypeAdjustHeight");
    row.CharSpace = number("CharSpace");
    row.TrueTypeCaraSpace = number("TrueTypeCaraSpace");
    row.Drive = text("Drive");
    return row;
}

// What the reader has gathered from a file.
struct XmlReaderState {
    QString printerName;
    std::array<qint64, kInitialValueCount> numbers{};
    std::array<QString, kInitialValueCount> choiceTexts;
    std::array<QString, kInitialValueCount> valueTexts;  // every value's text as the file holds it
    QStringList driveEntries;
    QList<FontTableRow> fontRows;
    QString responseText;
};

std::optional<InitialValue> valueNamed(const QString& name)
{
    for (int i = 0; i < kInitialValueCount; ++i) {
        if (InitialValueItemName(InitialValue(i)) == name)
            return InitialValue(i);
    }
    return std::nullopt;
}

// Reads the element's own text; false at a reader error.
bool readText(QXmlStreamReader& reader, QString& text)
{
    text = reader.readElementText(QXmlStreamReader::SkipChildElements);
    return !reader.hasError();
}

bool readInitialValues(QXmlStreamReader& reader, XmlReaderState& state)
{
    while (ReadNextXmlToken(reader)) {
        if (reader.isEndElement() && reader.name() == QLatin1String("InitialValues"))
            return true;
        if (!reader.isStartElement())
            continue;
        if (!isGroupElement(reader.name())) {
            reader.skipCurrentElement();
            continue;
        }
        const QString group = reader.name().toString();
        while (ReadNextXmlToken(reader) && !(reader.isEndElement() && reader.name() == group)) {
            if (!reader.isStartElement())
                continue;
            if (reader.name() != QLatin1String("item")) {
                reader.skipCurrentElement();
                continue;
            }
            if (reader.attributes().isEmpty())
                return false;
            const std::optional<InitialValue> value = valueNamed(reader.attributes().value(QLatin1String("name")).toString());
            QString text;
            if (!readText(reader, text))
                return true;
            if (!value || text.isEmpty())
                continue;
            state.valueTexts[size_t(*value)] = text;
            switch (InitialValueKindOf(*value)) {
            case InitialValueKind::Number:
            case InitialValueKind::Ratio: state.numbers[size_t(*value)] = CDecimal(text); break;
            case InitialValueKind::LongNumber: state.numbers[size_t(*value)] = CDecimal64(text); break;
            case InitialValueKind::Flag: state.numbers[size_t(*value)] = text == QLatin1String("ON") ? 0 : 1; break;
            case InitialValueKind::Choice: state.choiceTexts[size_t(*value)] = text; break;
            }
        }
    }
    return true;
}

// Reads the children of a section element with `handle`; gives false when a child lacks
// attributes (the whole reading then fails).
template <typename Handle>
bool readSection(QXmlStreamReader& reader, const QString& section, Handle handle)
{
    while (ReadNextXmlToken(reader)) {
        if (reader.isEndElement() && reader.name() == section)
            return true;
        if (!reader.isStartElement())
            continue;
        if (!handle())
            return false;
    }
    return true;
}

QString responseBlock(const QString& element, const QString& length, const QString& text)
{
    for (int row = 0; row < kResponseCount; ++row) {
        if (ResponseElementName(row) == element)
            return ResponseLabel(row) + QStringLiteral("\r\n") + (CDecimal(length) != 0 ? text : QString())
                   + QStringLiteral("\r\n");
    }
    return {};
}

// Reads the file into the state; false when the file must be refused.
bool readDocument(QXmlStreamReader& reader, XmlReaderState& state)
{
    bool foundRoot = false;
    while (ReadNextXmlToken(reader)) {
        if (reader.isStartElement()) {
            if (reader.name() != kRootName)
                return false;
            foundRoot = true;
            break;
        }
    }
    if (!foundRoot)
        return false;

    while (ReadNextXmlToken(reader)) {
        if (reader.isEndElement() && reader.name() == kRootName)
            break;
        if (!reader.isStartElement())
            continue;
        const QString section = reader.name().toString();
        bool ok = true;
        if (section == QLatin1String("header")) {
            ok = readSection(reader, section, [&] {
                if (reader.name() == QLatin1String("printer"))
                    readText(reader, state.printerName);
                else
                    reader.skipCurrentElement();
                return true;
            });
        } else if (section == QLatin1String("InitialValues")) {
            ok = readInitialValues(reader, state);
        } else if (section == QLatin1String("DriverMapping")) {
            ok = readSection(reader, section, [&] {
                if (reader.name() != QLatin1String("map")) {
                    reader.skipCurrentElement();
                    return true;
                }
                if (reader.attributes().isEmpty())
                    return false;
                const QString drive = reader.attributes().value(QLatin1String("Z-Drive")).toString();
                QString text;
                if (readText(reader, text) && !text.isEmpty())
                    state.driveEntries.append(drive + text);
                return true;
            });
        } else if (section == QLatin1String("FontConvertTable") || section == QLatin1String("FontChangeTable")) {
            ok = readSection(reader, section, [&] {
                if (reader.name() != QLatin1String("line")) {
                    reader.skipCurrentElement();
                    return true;
                }
                if (reader.attributes().isEmpty())
                    return false;
                state.fontRows.append(readFontRow(reader.attributes()));
                reader.skipCurrentElement();
                return true;
            });
        } else if (section == QLatin1String("ResponseCommand")) {
            ok = readSection(reader, section, [&] {
                if (reader.attributes().isEmpty())
                    return false;
                const QString element = reader.name().toString();
                const QString length = reader.attributes().value(QLatin1String("length")).toString();
                QString text;
                if (readText(reader, text) && !text.isEmpty())
                    state.responseText += responseBlock(element, length, text);
                return true;
            });
        } else {
            reader.skipCurrentElement();
        }
        if (!ok)
            return false;
    }
    // A document type declaration refuses the file; other damage ends the reading, and what was
    // read until then is used.
    return reader.error() != QXmlStreamReader::CustomError;
}

}  // namespace

std::optional<QString> WriteInitialTableXml(const QString& path, const InitialTableDocument& document,
                                            const PrinterDefinition& printer, const XmlHeaderInfo& header)
{
    return SaveXmlDocument(path, [&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kRootName);
        xml.writeStartElement(QStringLiteral("header"));
        xml.writeTextElement(QStringLiteral("title"), kRootName);
        xml.writeTextElement(QStringLiteral("version"), QStringLiteral("1.1"));
        xml.writeTextElement(QStringLiteral("lunguage"), header.japanese ? QStringLiteral("japanese") : QStringLiteral("english"));
        xml.writeTextElement(QStringLiteral("printer"), header.printerName);
        xml.writeTextElement(QStringLiteral("date"), HeaderDateText());
        xml.writeEndElement();

        xml.writeStartElement(QStringLiteral("InitialValues"));
        for (const XmlGroup& group : kGroups) {
            xml.writeStartElement(QString::fromLatin1(group.element));
            for (InitialValue value : group.values) {
                xml.writeStartElement(QStringLiteral("item"));
                xml.writeAttribute(QStringLiteral("name"), InitialValueItemName(value));
                xml.writeCharacters(xmlValue(document.values, value, printer));
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();

        const DriveMappingDefinition* drives = printer.driveMapping ? &*printer.driveMapping : nullptr;
        xml.writeStartElement(QStringLiteral("DriverMapping"));
        for (int row = 0; row < kDriveRows; ++row) {
            xml.writeStartElement(QStringLiteral("map"));
            xml.writeAttribute(QStringLiteral("Z-Drive"), document.drives.vormexNames.value(row));
            xml.writeCharacters(document.drives.selectedName(row, drives));
            xml.writeEndElement();
        }
        xml.writeEndElement();

        const FontTableSet& fonts = document.fonts;
        const int convertRows = std::min<int>(fonts.convertRows, int(fonts.rows.size()));
        xml.writeStartElement(QStringLiteral("FontConvertTable"));
        for (int i = 0; i < convertRows; ++i)
            writeFontRow(xml, fonts.rows[i]);
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("FontChangeTable"));
        for (int i = convertRows; i < fonts.rows.size(); ++i)
            writeFontRow(xml, fonts.rows[i]);
        xml.writeCharacters(QString::number(fonts.rows.size() - convertRows));
        xml.writeEndElement();

        xml.writeStartElement(QStringLiteral("ResponseCommand"));
        for (int row = 0; row < kResponseCount; ++row) {
            const QString& answer = document.responses.answers[row];
            xml.writeStartElement(ResponseElementName(row));
            xml.writeAttribute(QStringLiteral("length"), QString::number(answer.size()));
            xml.writeCharacters(answer.isEmpty() ? QStringLiteral("0") : answer);
            xml.writeEndElement();
        }
        xml.writeEndElement();

        xml.writeEndElement();
        return !xml.hasError();
    });
}

std::optional<QString> ReadInitialTableXml(const QString& path, const PrinterDefinitions& definitions)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader reader(&file);
    return ReadInitialTableXml(reader, definitions);
}

std::optional<InitialValueXmlTexts> ReadInitialValueXmlTexts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader reader(&file);
    XmlReaderState state;
    if (!readDocument(reader, state))
        return std::nullopt;
    return InitialValueXmlTexts{state.printerName, state.valueTexts};
}

std::optional<QString> ReadInitialTableXml(QXmlStreamReader& reader, const PrinterDefinitions& definitions)
{
    XmlReaderState state;
    if (!readDocument(reader, state))
        return std::nullopt;
    const PrinterDefinition* printer = FindPrinter(definitions, state.printerName);
    if (!printer || !printer->fontConvert || state.fontRows.size() < printer->fontConvert->lineCount)
        return std::nullopt;

    // Initial values: the choices' display texts become values through this printer's lists.
    std::array<QString, kInitialValueCount> choiceValues;
    for (int i = 0; i < kInitialValueCount; ++i) {
        if (InitialValueKindOf(InitialValue(i)) != InitialValueKind::Choice)
            continue;
        const ItemDefinition* item = FindInitialItem(*printer, InitialValueItemName(InitialValue(i)));
        choiceValues[i] = item ? ValueOfText(*item, state.choiceTexts[i]) : QString();
    }
    QString text = InitialValuesTextFrom(state.numbers, int(state.numbers[size_t(InitialValue::Ratio)]), choiceValues);

    // Drive mapping: each entry's letter chooses its place, the rest names the KIRN drive.
    QString letterValues[4];  // A, B, E, R
    for (const QString& entry : state.driveEntries) {
        const QString value = printer->driveMapping ? KirnValueOfName(*printer->driveMapping, entry.mid(2)) : QString();
        const int place = QStringLiteral("ABER").indexOf(entry.left(1));
        if (!entry.isEmpty() && place >= 0)
            letterValues[place] = value;
    }
    text += QStringLiteral("DRIVE Mapping\r\n")
            + DriveString(letterValues[3], letterValues[1], letterValues[2], letterValues[0]) + QStringLiteral("\r\n");

    FontTableSet fonts;
    fonts.rows = state.fontRows;
    fonts.convertRows = printer->fontConvert->lineCount;
    fonts.totalRows = printer->fontConvert->totalRows;
    text += FontTablesText(fonts, *printer);

    text += state.responseText;
    return text;
}

}  // namespace vormex
