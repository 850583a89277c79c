#include "initialtable/InitialTableDocument.h"

#include "codec/Codec.h"
#include "files/UserFiles.h"
#include "sysparam/SystemParameterLine.h"

namespace vormex {

namespace {
QString tooLongMessage(qsizetype size, int limit, const char* unit)
{
    return QStringLiteral("the initial value & table text is too long (%1 %2; it must stay below %3)")
        .arg(size)
        .arg(QLatin1String(unit))
        .arg(limit);
}
}  // namespace

InitialTableDocument DefaultInitialTableDocument(const PrinterDefinition& printer)
{
    InitialTableDocument document;
    document.values = DefaultInitialValues(printer);
    document.fonts = DefaultFontTables(printer);
    document.drives = DefaultDriveMapping(printer);
    document.responses = DefaultResponses(printer);
    return document;
}

QString ComposeInitialTableText(const InitialTableDocument& document, const PrinterDefinition& printer)
{
    return InitialValuesText(document.values, printer) + DriveMappingText(document.drives, printer)
           + FontTablesText(document.fonts, printer) + ResponseCommandsText(document.responses);
}

bool ApplyInitialTableText(const QString& text, const PrinterDefinition& printer, InitialTableDocument& document)
{
    return ParseInitialValues(text, printer, document.values) && ParseDriveMapping(text, printer, document.drives)
           && ParseFontTables(text, printer, document.fonts)
           && ParseResponseCommands(text, printer, document.responses);
}

AreaResult BuildInitialTableArea(const QString& text, const PrinterDefinition& printer)
{
    if (text.size() >= kInitialTableDownloadLimit)
        return AreaResult{{}, tooLongMessage(text.size(), kInitialTableDownloadLimit, "characters")};
    return BuildPrinterFileArea(QByteArray(kInitialTableFileName), codec::toPrinterCodePage(text),
                                StorageBlockBytes(printer));
}

std::optional<QString> WriteInitialTableTextFile(const QString& path, const QString& text)
{
    if (text.size() >= kInitialTableSaveLimit)
        return tooLongMessage(text.size(), kInitialTableSaveLimit, "characters");
    const QByteArray bytes = codec::toPrinterCodePage(text);
    if (bytes.size() >= kInitialTableSaveLimit)
        return tooLongMessage(bytes.size(), kInitialTableSaveLimit, "bytes");
    return SaveFileAtomically(path, bytes);
}

TextResult ReadInitialTableTextFile(const QString& path, const PrinterDefinition& printer, ParameterCheckState& check,
                                    const StringTable& strings)
{
    TextResult result;
    const FileBytes file = ReadWholeFile(path);
    if (!file.ok()) {
        result.error = file.error;
        result.fileError = true;
        return result;
    }
    const QString text = codec::fromPrinterCodePage(file.bytes, codec::StopAtNul::Yes);
    if (!ValidateSectionFile(printer, text, printer.labelShiftOmitted == 1, check)) {
        result.error = ParameterErrorMessage(ParameterFileKind::InitialTable, check, strings);
        return result;
    }
    result.text = text;
    return result;
}

}  // namespace vormex
