#include "sysparam/SystemParameterFiles.h"

#include "base/StringTable.h"
#include "codec/Codec.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterLine.h"
#include "files/UserFiles.h"
#include "sysparam/SystemParameterLine.h"
#include "sysparam/SystemParameterValues.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace vormex {

namespace {

const QString kRootName = QStringLiteral("VORMEX_SystemParameter");
constexpr int kNotSystemParameterFile = 8050;

// The names the XML file gives the list items ("DPM" stands for "DOT/MM").
QString xmlNameOf(SystemList list) { return SystemXmlNameOf(SystemListItemName(list)); }

}  // namespace

QString SystemXmlNameOf(const QString& itemName)
{
    if (itemName == QLatin1String("DOT/MM"))
        return QStringLiteral("DPM");
    if (itemName == QLatin1String("TAB->SP"))
        return QStringLiteral("TAB -> SP");
    return itemName;
}

std::optional<QString> WriteSystemParameterTextFile(const QString& path, const QString& line)
{
    return SaveFileAtomically(path, codec::toPrinterCodePage(line));
}

QString LastLineOfText(const QString& text)
{
    QString body = text;
    if (body.endsWith(QLatin1Char('\n')))
        body.chop(1);
    QString last = body.mid(body.lastIndexOf(QLatin1Char('\n')) + 1);
    if (last.endsWith(QLatin1Char('\r')))
        last.chop(1);
    return last;
}

LineResult ReadLastLineOfTextFile(const QString& path)
{
    LineResult result;
    const FileBytes file = ReadWholeFile(path);
    if (!file.ok()) {
        result.error = file.error;
        result.fileError = true;
        return result;
    }
    result.line = LastLineOfText(codec::fromPrinterCodePage(file.bytes));
    return result;
}

LineResult ReadSystemParameterTextFile(const QString& path, const PrinterDefinition& printer,
                                       ParameterCheckState& check, const StringTable& strings)
{
    LineResult result = ReadLastLineOfTextFile(path);
    if (!result.ok())
        return result;
    if (!ValidateSystemParameterText(printer, result.line, printer.labelShiftOmitted == 1, check)) {
        result.error = ParameterErrorMessage(ParameterFileKind::SystemParameters, check, strings);
        result.lineCheckFailed = true;
        result.line.clear();
    }
    return result;
}

std::optional<QString> WriteSystemParameterXml(const QString& path, const SystemParameterSet& set,
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

        auto item = [&xml](const QString& name, const QString& value) {
            xml.writeStartElement(QStringLiteral("item"));
            xml.writeAttribute(QStringLiteral("name"), name);
            xml.writeCharacters(value);  // an empty value still gets a full end tag
            xml.writeEndElement();
        };
        auto number = [](int value) { return QString::number(value); };
        auto listText = [&](SystemList list) { item(xmlNameOf(list), set.selectedText(list, printer)); };
        auto enabled = [&](SystemSwitch box) {
            item(SystemSwitchItemName(box), set.isTicked(box) ? QStringLiteral("ENABLE") : QStringLiteral("DISABLE"));
        };

        item(QStringLiteral("LABEL LENGTH"), number(CDecimal(set.labelLength.maskedText())));
        item(QStringLiteral("LABEL WIDTH"), number(CDecimal(set.labelWidth.maskedText())));
        for (SystemList list : {SystemList::Ribbon, SystemList::DotMm, SystemList::PrintMode, SystemList::Sensor,
                                SystemList::GraphicPosition, SystemList::PrintSpeed})
            listText(list);
        item(QStringLiteral("MAXIMUM LENGTH"), number(CDecimal(set.maximumLength.maskedText())));
        for (SystemList list : {SystemList::PowerOnCalib, SystemList::HeadCloseCalib, SystemList::FormatConvert})
            listText(list);
        item(QStringLiteral("CONTROL PREFIX"), set.controlPrefix.maskedText().toUpper());
        item(QStringLiteral("FORMAT PREFIX"), set.formatPrefix.maskedText().toUpper());
        item(QStringLiteral("DELIMITER CHAR"), set.delimiterChar.maskedText().toUpper());
        for (int i = 0; i < kSystemSwitchCount; ++i)
            enabled(SystemSwitch(i));
        item(QStringLiteral("TAB -> SP"), number(set.tabSpaces));
        // The signed fields keep their value: a masked text such as "-  12" is -12, not 0.
        item(QStringLiteral("RFID ADJUST"), number(SignedFieldValue(set.rfidAdjust.maskedText())));
        listText(SystemList::OffsetPrint);
        item(QStringLiteral("LABEL SHIFT"), number(SignedFieldValue(set.labelShift.maskedText())));
        xml.writeEndElement();
        return !xml.hasError();
    });
}

std::optional<SystemParameterXmlTexts> ReadSystemParameterXmlTexts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader reader(&file);
    return ReadSystemParameterXmlTexts(reader);
}

std::optional<SystemParameterXmlTexts> ReadSystemParameterXmlTexts(QXmlStreamReader& reader)
{
    // Find the root; anything before it is passed over.
    bool foundRoot = false;
    while (ReadNextXmlToken(reader)) {
        if (reader.isStartElement()) {
            if (reader.name() != kRootName)
                return std::nullopt;
            foundRoot = true;
            break;
        }
    }
    if (!foundRoot)
        return std::nullopt;

    SystemParameterXmlTexts texts;
    bool rootClosed = false;
    while (!rootClosed && ReadNextXmlToken(reader)) {
        if (reader.isEndElement() && reader.name() == kRootName) {
            rootClosed = true;
        } else if (reader.isStartElement() && reader.name() == QLatin1String("header")) {
            while (ReadNextXmlToken(reader) && !(reader.isEndElement() && reader.name() == QLatin1String("header"))) {
                if (reader.isStartElement()) {
                    const bool isPrinter = reader.name() == QLatin1String("printer");
                    const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
                    if (isPrinter)
                        texts.printerName = text;
                }
            }
        } else if (reader.isStartElement() && reader.name() == QLatin1String("item")) {
            if (reader.attributes().isEmpty())
                return std::nullopt;
            const QString name = reader.attributes().value(QLatin1String("name")).toString();
            texts.items.insert(name, reader.readElementText(QXmlStreamReader::SkipChildElements));
        } else if (reader.isStartElement()) {
            reader.skipCurrentElement();
        }
    }
    if (!rootClosed || reader.hasError())
        return std::nullopt;
    return texts;
}

std::optional<QString> SystemParameterXmlToLine(const QString& path, const PrinterDefinitions& definitions)
{
    const std::optional<SystemParameterXmlTexts> texts = ReadSystemParameterXmlTexts(path);
    return texts ? SystemParameterXmlToLine(*texts, definitions) : std::nullopt;
}

std::optional<QString> SystemParameterXmlToLine(QXmlStreamReader& reader, const PrinterDefinitions& definitions)
{
    const std::optional<SystemParameterXmlTexts> texts = ReadSystemParameterXmlTexts(reader);
    return texts ? SystemParameterXmlToLine(*texts, definitions) : std::nullopt;
}

std::optional<QString> SystemParameterXmlToLine(const SystemParameterXmlTexts& texts, const PrinterDefinitions& definitions)
{
    const PrinterDefinition* printer = FindPrinter(definitions, texts.printerName);
    if (!printer)
        return std::nullopt;

    const QHash<QString, QString>& values = texts.items;
    auto number = [&](const char* name) { return CDecimal(values.value(QString::fromLatin1(name))); };
    auto text = [&](const char* name) { return values.value(QString::fromLatin1(name)); };
    auto value = [&](SystemList list) {
        const ItemDefinition* item = FindSystemItem(*printer, SystemListItemName(list));
        return item ? ValueOfText(*item, values.value(xmlNameOf(list))) : QString();
    };
    // Absent switches read as 0, which means obeyed.
    auto flag = [&](SystemSwitch box) {
        const auto found = values.constFind(SystemSwitchItemName(box));
        return (found == values.cend() || *found == QLatin1String("ENABLE")) ? 0 : 1;
    };

    QString line = QString::asprintf("%05d,%04d,", number("LABEL LENGTH"), number("LABEL WIDTH"));
    for (SystemList list : {SystemList::Ribbon, SystemList::DotMm, SystemList::PrintMode, SystemList::Sensor,
                            SystemList::GraphicPosition, SystemList::PrintSpeed})
        line += value(list) + QLatin1Char(',');
    line += QString::asprintf("%05d,", number("MAXIMUM LENGTH"));
    for (SystemList list : {SystemList::PowerOnCalib, SystemList::HeadCloseCalib, SystemList::FormatConvert})
        line += value(list) + QLatin1Char(',');
    line += text("CONTROL PREFIX") + QLatin1Char(',') + text("FORMAT PREFIX") + QLatin1Char(',') + text("DELIMITER CHAR")
            + QLatin1Char(',');
    for (int i = 0; i < kSystemSwitchCount; ++i)
        line += QString::number(flag(SystemSwitch(i))) + QLatin1Char(',');
    // The signed fields in the printer's own width (a sign and four digits): with three digits
    // the printer's line check refuses the stored file.
    line += QString::asprintf("%02d,", number("TAB -> SP")) + SignedFieldText(number("RFID ADJUST")) + QLatin1Char(',');
    line += value(SystemList::OffsetPrint);
    line += QLatin1Char(',') + SignedFieldText(number("LABEL SHIFT"));
    return line;
}

namespace {

// An XML file's line: its texts as the file holds them, then the line they convert to, with the
// line check of a text file.
LineResult readXmlLine(const QString& path, const PrinterDefinition& printer, const PrinterDefinitions& definitions,
                       ParameterCheckState& check, const StringTable& strings)
{
    LineResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        result.fileError = true;
        return result;
    }
    QXmlStreamReader reader(&file);
    const std::optional<SystemParameterXmlTexts> texts = ReadSystemParameterXmlTexts(reader);
    const std::optional<QString> line = texts ? SystemParameterXmlToLine(*texts, definitions) : std::nullopt;
    if (!line || line->isEmpty()) {
        result.error = strings.text(kNotSystemParameterFile);
        return result;
    }
    // The file's own texts first: a list text the file's printer lacks becomes an empty field,
    // which the line check would report without naming the text.
    if (const std::optional<QString> problem = CheckSystemParameterXmlTexts(*texts, definitions, strings)) {
        result.error = *problem;
        return result;
    }
    if (!ValidateSystemParameterText(printer, *line, printer.labelShiftOmitted == 1, check)) {
        result.error = ParameterErrorMessage(ParameterFileKind::SystemParameters, check, strings);
        result.lineCheckFailed = true;
        return result;
    }
    result.line = *line;
    return result;
}

}  // namespace

LineResult ReadSystemParameterFile(const QString& path, const PrinterDefinition& printer,
                                   const PrinterDefinitions& definitions, ParameterCheckState& check,
                                   const StringTable& strings)
{
    LineResult result = IsXmlFileName(path) ? readXmlLine(path, printer, definitions, check, strings)
                                            : ReadSystemParameterTextFile(path, printer, check, strings);
    if (!result.ok())
        return result;
    if (const std::optional<QString> problem = CheckSystemParameterValues(result.line, printer, strings)) {
        result.error = *problem;
        result.line.clear();
    }
    return result;
}

std::optional<QString> WriteSystemParameterFile(const QString& path, const SystemParameterSet& set,
                                                const PrinterDefinition& printer, const XmlHeaderInfo& header)
{
    if (IsXmlFileName(path))
        return WriteSystemParameterXml(path, set, printer, header);
    return WriteSystemParameterTextFile(path, BuildSystemParameterLine(set, printer));
}

}  // namespace vormex
