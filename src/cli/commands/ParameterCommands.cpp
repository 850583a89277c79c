// check, convert, export: the user's parameter files as a download or a page's Save sees them.
#include "CliContext.h"
#include "commands/Commands.h"

#include "conversion/ParameterFileConversion.h"
#include "files/UserFiles.h"
#include "initialtable/DriveMapping.h"
#include "initialtable/InitialTableDocument.h"
#include "initialtable/InitialTableFiles.h"
#include "initialtable/InitialTableXml.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"

#include "codec/Codec.h"

#include <QCommandLineParser>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace vormex::cli {
namespace {

constexpr int kNotInitialTableFile = 8051;

// The options every parameter command shares, parsed.
struct ParameterOptions {
    ParameterFileKind kind = ParameterFileKind::SystemParameters;
    QString format;  // export only
    QString output;
    bool envelope = false;
    QStringList files;
};

const QCommandLineOption kKindOption(QStringLiteral("kind"), QStringLiteral("system (system parameters) or initial (initial values and tables)"), QStringLiteral("KIND"));
const QCommandLineOption kFormatOption(QStringLiteral("format"), QStringLiteral("txt or xml: the form of the file written"), QStringLiteral("FORMAT"));
const QCommandLineOption kOutputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("the file to write (- for standard output)"), QStringLiteral("OUT"));
const QCommandLineOption kEnvelopeOption(QStringLiteral("envelope"), QStringLiteral("write the whole store-file envelope with its checksum, not only the file image"));

// Reads the options the parameter commands share.
std::optional<ParameterOptions> readOptions(CliContext& context, const QString& command, const QCommandLineParser& parser,
                                            bool withFormat, bool withOutput, int& exitCode)
{
    ParameterOptions options;
    const QString kind = parser.value(kKindOption);
    if (kind == QLatin1String("system")) {
        options.kind = ParameterFileKind::SystemParameters;
    } else if (kind == QLatin1String("initial")) {
        options.kind = ParameterFileKind::InitialTable;
    } else {
        exitCode = context.usage(QStringLiteral("%1: --kind must be system or initial").arg(command));
        return std::nullopt;
    }
    if (withFormat) {
        options.format = parser.value(kFormatOption);
        if (options.format != QLatin1String("txt") && options.format != QLatin1String("xml")) {
            exitCode = context.usage(QStringLiteral("%1: --format must be txt or xml").arg(command));
            return std::nullopt;
        }
    }
    if (withOutput) {
        options.output = parser.value(kOutputOption);
        if (options.output.isEmpty()) {
            exitCode = context.usage(QStringLiteral("%1: -o OUT is required").arg(command));
            return std::nullopt;
        }
    }
    options.envelope = parser.optionNames().contains(QStringLiteral("envelope"));
    options.files = parser.positionalArguments();
    return options;
}

ParameterFileContext contextFor(CliContext& context, const PrinterDefinition& printer)
{
    Application& app = context.app();
    return ParameterFileContext{app.printerDefinitions, printer, app.parameterCheck, app.strings};
}

XmlHeaderInfo headerOf(const Application& app) { return XmlHeaderInfo{app.selectedPrinterName, app.japaneseUi == 1}; }

int fileFailure(CliContext& context, const QString& path, const QString& message)
{
    return context.fail(QStringLiteral("vormexctl: %1: %2").arg(path, message));
}

// The lines before a check's message: the file, and where in it the check failed.
QString fileContext(const QString& path, const QString& detail)
{
    return QStringLiteral("vormexctl: %1").arg(path) + (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail);
}

// A refused parameter file: a file error names the file itself; a check's message gets the file
// and where in it the check failed on a line before it.
int refusedFile(CliContext& context, const QString& path, const QString& detail, const QString& message)
{
    if (message.startsWith(path + QLatin1Char(':')))
        return context.fail(QStringLiteral("vormexctl: ") + message);
    return context.fail(fileContext(path, detail), message);
}

// Writes what a page's Save writes: into `path` through `save`, or for "-o -" as text on
// standard output (an XML file is UTF-8, a text file the printer code page).
int saveOrPrint(CliContext& context, const QString& path, bool xml,
                const std::function<std::optional<QString>(const QString&)>& save)
{
    if (!isStandardOutput(path)) {
        const std::optional<QString> error = save(path);
        return error ? fileFailure(context, path, *error) : kExitOk;
    }
    QTemporaryDir folder;
    const QString temporary = folder.filePath(QStringLiteral("data"));
    if (const std::optional<QString> error = save(temporary))
        return fileFailure(context, QStringLiteral("standard output"), *error);
    const FileBytes written = ReadWholeFile(temporary);
    if (!written.ok())
        return fileFailure(context, QStringLiteral("standard output"), written.error);
    return context.printData(xml ? QString::fromUtf8(written.bytes) : codec::fromPrinterCodePage(written.bytes));
}

int exportSystem(CliContext& context, const PrinterDefinition& printer, const ParameterOptions& options)
{
    Application& app = context.app();
    SystemParameterSet set = DefaultSystemParameters(printer);
    if (!options.files.isEmpty()) {
        const QString& from = options.files.first();
        const LineResult read = ReadSystemParameterFile(from, printer, app.printerDefinitions, app.parameterCheck, app.strings);
        if (!read.ok()) {
            if (read.fileError)
                return fileFailure(context, from, read.error);
            const QString detail = read.lineCheckFailed ? ParameterCheckContext(ParameterFileKind::SystemParameters, app.parameterCheck)
                                                        : QString();
            return context.fail(fileContext(from, detail), read.error);
        }
        ParseSystemParameterLine(read.line, printer, set);
    }
    if (const std::optional<RangeFailure> failure = ValidateRanges(set, printer, app.strings)) {
        return context.fail(failure->message.isEmpty()
                                ? QStringLiteral("vormexctl: the printer's definitions lack the item \"%1\"").arg(failure->itemName)
                                : failure->message);
    }
    const bool xml = options.format == QLatin1String("xml");
    return saveOrPrint(context, options.output, xml, [&](const QString& path) {
        return xml ? WriteSystemParameterXml(path, set, printer, headerOf(app))
                   : WriteSystemParameterTextFile(path, BuildSystemParameterLine(set, printer));
    });
}

int exportInitial(CliContext& context, const PrinterDefinition& printer, const ParameterOptions& options)
{
    Application& app = context.app();
    InitialTableDocument document = DefaultInitialTableDocument(printer);
    if (!options.files.isEmpty()) {
        const QString& from = options.files.first();
        const TextResult read = ReadInitialTableFile(from, printer, app.printerDefinitions, app.parameterCheck, app.strings);
        if (!read.ok())
            return read.fileError ? fileFailure(context, from, read.error) : context.fail(fileContext(from, {}), read.error);
        // The page would take the first KIRN drive for an unknown one: refused, not rewritten.
        if (const std::optional<QString> problem = CheckDriveMappingValues(read.text, printer, app.strings))
            return context.fail(fileContext(from, {}), *problem);
        if (!ApplyInitialTableText(read.text, printer, document))
            return context.fail(app.strings.text(kNotInitialTableFile));
    }
    if (const auto failure = ValidateInitialValues(document.values, printer, app.strings))
        return context.fail(failure->message);
    if (const auto failure = ValidateResponseCommands(document.responses, printer, app.parameterCheck, app.strings))
        return context.fail(failure->message);
    const bool xml = options.format == QLatin1String("xml");
    return saveOrPrint(context, options.output, xml, [&](const QString& path) {
        return xml ? WriteInitialTableXml(path, document, printer, headerOf(app))
                   : WriteInitialTableTextFile(path, ComposeInitialTableText(document, printer));
    });
}

int runCheck(CliContext& context, const QCommandLineParser& parser)
{
    int exitCode = kExitOk;
    const auto options = readOptions(context, QStringLiteral("check"), parser, false, false, exitCode);
    if (!options)
        return exitCode;
    if (options->files.size() != 1)
        return context.usage(QStringLiteral("check: one FILE is required"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;
    QString detail;
    if (const std::optional<QString> failure =
            CheckParameterFile(options->files.first(), options->kind, contextFor(context, *printer), &detail))
        return refusedFile(context, options->files.first(), detail, *failure);
    return kExitOk;
}

int runConvert(CliContext& context, const QCommandLineParser& parser)
{
    int exitCode = kExitOk;
    const auto options = readOptions(context, QStringLiteral("convert"), parser, false, true, exitCode);
    if (!options)
        return exitCode;
    if (options->files.size() != 1)
        return context.usage(QStringLiteral("convert: one FILE is required"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;
    const PreparedParameterFile prepared = PrepareParameterFileItem(options->files.first(), options->kind,
                                                                    contextFor(context, *printer), context.app().controlCodes);
    if (!prepared.ok())
        return refusedFile(context, options->files.first(), prepared.detail, prepared.message);
    const QByteArray& bytes = options->envelope ? prepared.envelope : prepared.area;
    if (isStandardOutput(options->output))
        return context.writeBinaryData(bytes);
    return context.writeFile(options->output, bytes);
}

int runExport(CliContext& context, const QCommandLineParser& parser)
{
    int exitCode = kExitOk;
    const auto options = readOptions(context, QStringLiteral("export"), parser, true, true, exitCode);
    if (!options)
        return exitCode;
    if (options->files.size() > 1)
        return context.usage(QStringLiteral("export: at most one FROM file"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;
    return options->kind == ParameterFileKind::SystemParameters ? exportSystem(context, *printer, *options)
                                                                 : exportInitial(context, *printer, *options);
}

}  // namespace

QList<Command> parameterCommands()
{
    return {
        {QStringLiteral("check"), QStringLiteral("FILE --kind system|initial"), QStringLiteral("check a parameter file as a download would"),
         QStringLiteral("The file (text or XML) must pass the line or section check of its text (an XML file is\n"
                        "converted first), and its values must fit the selected printer's items as the pages check\n"
                        "them: ranges, list values, prefixes and flags. On a failure the check's message is the last\n"
                        "line on stderr (the file, and the field or item, on a line before it); exit status 1.\n"),
         {kKindOption}, runCheck},
        {QStringLiteral("convert"), QStringLiteral("FILE --kind system|initial -o OUT [--envelope]"),
         QStringLiteral("write the printer file image of a parameter file"),
         QStringLiteral("Writes the one-block printer file image (\"QUILLPRM.TXT\" or \"ZDEFAULT.TXT\") that a download\n"
                        "sends, after the same check.\n"),
         {kKindOption, kOutputOption, kEnvelopeOption}, runConvert},
        {QStringLiteral("export"), QStringLiteral("--kind system|initial --format txt|xml -o OUT [FROM]"),
         QStringLiteral("write defaults or FROM as a text or XML file"),
         QStringLiteral("Writes the selected printer's defaults, or the file FROM (text or XML), as the pages save it.\n"),
         {kKindOption, kFormatOption, kOutputOption}, runExport},
    };
}

}  // namespace vormex::cli
