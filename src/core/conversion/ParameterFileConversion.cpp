#include "conversion/ParameterFileConversion.h"

#include "base/PrinterFileArea.h"
#include "base/StringTable.h"
#include "codec/Codec.h"
#include "comm/StoreFileEnvelope.h"
#include "files/UserFiles.h"
#include "initialtable/InitialTableDocument.h"
#include "initialtable/InitialTableValues.h"
#include "initialtable/InitialTableXml.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"
#include "sysparam/SystemParameterValues.h"

namespace vormex {

namespace {

constexpr int kNotSystemFile = 8050;
constexpr int kNotInitialTableFile = 8051;
// A system parameter text longer than this carries the label shift field.
constexpr int kLineWithoutLabelShift = 66;
constexpr int kKeptBeforeLabelShift = 64;

QString notThisKindMessage(ParameterFileKind kind, const StringTable& strings)
{
    return strings.text(kind == ParameterFileKind::SystemParameters ? kNotSystemFile : kNotInitialTableFile);
}

// The text an XML file of the kind converts into; nothing when it yields none.
std::optional<QString> xmlText(const QString& path, ParameterFileKind kind, const ParameterFileContext& context)
{
    std::optional<QString> text = kind == ParameterFileKind::SystemParameters
                                      ? SystemParameterXmlToLine(path, context.definitions)
                                      : ReadInitialTableXml(path, context.definitions);
    if (!text || text->isEmpty())
        return std::nullopt;
    return text;
}

// A file error names the file.
QString fileError(const QString& path, const QString& error) { return QStringLiteral("%1: %2").arg(path, error); }

}  // namespace

QString ParameterCheckContext(ParameterFileKind kind, const ParameterCheckState& state)
{
    switch (state.error.code) {
    case 2:
    case 4:
    case 5:
    case 6:
        break;
    default:
        return {};
    }
    const int field = state.error.fieldIndex;
    const QString item = kind == ParameterFileKind::SystemParameters
                             ? SystemFieldItemName(field)
                             : InitialTableFieldItemName(state.currentSectionName, field);
    const QString number = QStringLiteral("field %1").arg(field + 1);
    return item.isEmpty() ? number : QStringLiteral("%1, %2").arg(number, item);
}

namespace {

// The section check of an initial value & table text (or the text an XML file converts into).
std::optional<QString> checkFormat(const QString& text, const ParameterFileContext& context, QString* detail)
{
    const PrinterDefinition& printer = context.printer;
    if (ValidateSectionFile(printer, text, printer.labelShiftOmitted == 1, context.check))
        return std::nullopt;
    if (detail)
        *detail = ParameterCheckContext(ParameterFileKind::InitialTable, context.check);
    return ParameterErrorMessage(ParameterFileKind::InitialTable, context.check, context.strings);
}

// The texts an initial value & table XML file holds, before they are turned into the printer's values.
std::optional<QString> checkXmlTexts(const QString& path, const ParameterFileContext& context)
{
    const std::optional<InitialValueXmlTexts> texts = ReadInitialValueXmlTexts(path);
    return texts ? CheckInitialValueXmlTexts(*texts, context.definitions, context.strings) : std::nullopt;
}

// A system parameter file is read as its page reads it, with the same checks.
std::optional<QString> checkSystemFile(const QString& path, const ParameterFileContext& context, QString* detail)
{
    const LineResult read =
        ReadSystemParameterFile(path, context.printer, context.definitions, context.check, context.strings);
    if (read.ok())
        return std::nullopt;
    if (read.fileError)
        return fileError(path, read.error);
    if (read.lineCheckFailed && detail)
        *detail = ParameterCheckContext(ParameterFileKind::SystemParameters, context.check);
    return read.error;
}

}  // namespace

QByteArray PrinterFileNameOf(ParameterFileKind kind)
{
    return QByteArray(kind == ParameterFileKind::SystemParameters ? kSystemParameterFileName : kInitialTableFileName);
}

ConversionResult ConvertParameterFile(const QString& path, ParameterFileKind kind, const ParameterFileContext& context,
                                      QByteArray& area)
{
    const FileBytes file = ReadWholeFile(path);
    if (!file.ok())
        return {false, fileError(path, file.error)};
    if (file.bytes.isEmpty())
        return {false, QStringLiteral("%1: the file is empty").arg(path)};

    const QByteArray fileName = PrinterFileNameOf(kind);
    if (area.size() < file.bytes.size() + kPrinterFileHeaderSize)
        return {false, AreaTooSmallMessage(fileName, file.bytes.size(), area.size())};
    QByteArray text;
    bool terminated = false;
    if (IsXmlFileName(path)) {
        const std::optional<QString> converted = xmlText(path, kind, context);
        if (!converted)
            return {false, notThisKindMessage(kind, context.strings)};
        if (kind == ParameterFileKind::InitialTable && converted->size() >= kInitialTableDownloadLimit)
            return {false, AreaTooSmallMessage(fileName, converted->size(), kInitialTableDownloadLimit)};
        text = codec::toPrinterCodePage(*converted);
        terminated = true;
    } else {
        text = file.bytes;
    }
    // Room for the header, the text and (after an XML file) its terminator; the length field has
    // 16 bits.
    const qsizetype needed = kPrinterFileHeaderSize + text.size() + (terminated ? 1 : 0);
    if (needed > area.size() || text.size() > kPrinterFileMaxText)
        return {false, AreaTooSmallMessage(fileName, text.size(), area.size())};

    area.fill(char(0xFF));
    std::copy(text.begin(), text.end(), area.begin() + kPrinterFileHeaderSize);
    int length = int(text.size());
    if (terminated)
        area[kPrinterFileHeaderSize + length] = 0x00;

    if (kind == ParameterFileKind::SystemParameters && context.printer.labelShiftOmitted != 0
        && length > kLineWithoutLabelShift) {
        const int end = kPrinterFileHeaderSize + kKeptBeforeLabelShift;
        area[end] = '\r';
        area[end + 1] = '\n';
        for (int i = end + 2; i < end + 8 && i < area.size(); ++i)
            area[i] = char(0xFF);
        length = kLineWithoutLabelShift;
    }
    WritePrinterFileHeader(area, fileName, length);
    return {true, QString()};
}

std::optional<QString> CheckParameterFile(const QString& path, ParameterFileKind kind, const ParameterFileContext& context,
                                          QString* detail)
{
    if (kind == ParameterFileKind::SystemParameters)
        return checkSystemFile(path, context, detail);
    const FileBytes file = ReadWholeFile(path);
    if (!file.ok())
        return fileError(path, file.error);
    QString text;
    if (IsXmlFileName(path)) {
        const std::optional<QString> converted = xmlText(path, kind, context);
        if (!converted)
            return notThisKindMessage(kind, context.strings);
        // The file's own texts first: a list text the file's printer lacks becomes an empty
        // field, which the format check would report without naming the text.
        if (std::optional<QString> problem = checkXmlTexts(path, context))
            return problem;
        text = *converted;
    } else {
        text = codec::fromPrinterCodePage(file.bytes, codec::StopAtNul::Yes);
    }
    if (std::optional<QString> problem = checkFormat(text, context, detail))
        return problem;
    return CheckInitialTableValues(text, context.printer, context.strings);
}

PreparedParameterFile PrepareParameterFileItem(const QString& path, ParameterFileKind kind,
                                               const ParameterFileContext& context, const ControlCodes& codes)
{
    PreparedParameterFile prepared;
    if (const std::optional<QString> failure = CheckParameterFile(path, kind, context, &prepared.detail)) {
        prepared.message = *failure;
        return prepared;
    }
    const qsizetype blockBytes = StorageBlockBytes(context.printer);
    if (blockBytes <= 0) {
        prepared.message = QStringLiteral("the printer's definitions give no storage block size");
        return prepared;
    }
    QByteArray area(blockBytes, '\0');
    const ConversionResult converted = ConvertParameterFile(path, kind, context, area);
    if (!converted.ok) {
        prepared.message = converted.message;
        return prepared;
    }
    prepared.envelope = BuildStoreFileEnvelope(area, codes, context.printer.variableControlCodes != 0);
    prepared.area = std::move(area);
    return prepared;
}

}  // namespace vormex
