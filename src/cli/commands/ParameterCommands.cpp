// check, convert, export: the user's parameter files as a download or a page's Save sees them.
#include "CliContext.h"
#include "commands/Commands.h"

#include "conversion/ParameterFileConversion.h"
#include "files/UserFiles.h"
#include "initialtable/InitialTableDocument.h"
#include "initialtable/InitialTableXml.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"

#include <QCommandLineParser>

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

std::optional<ParameterOptions> parseOptions(CliContext& context, const QString& command, const QStringList& arguments,
                                             bool withFormat, bool withEnvelope, int& exitCode)
{
    QCommandLineParser parser;
    const QCommandLineOption kindOption(QStringLiteral("kind"), QStringLiteral("system or initial"), QStringLiteral("KIND"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QStringLiteral("txt or xml"), QStringLiteral("FORMAT"));
    const QCommandLineOption outputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("output file"), QStringLiteral("OUT"));
    const QCommandLineOption envelopeOption(QStringLiteral("envelope"), QStringLiteral("write the whole store-file envelope"));
    parser.addOption(kindOption);
    if (withFormat)
        parser.addOption(formatOption);
    if (withFormat || withEnvelope)
        parser.addOption(outputOption);
    if (withEnvelope)
        parser.addOption(envelopeOption);
    if (!parser.parse(QStringList{command} + arguments)) {
        exitCode = context.usage(parser.errorText());
        return std::nullopt;
    }
    ParameterOptions options;
    const QString kind = parser.value(kindOption);
    if (kind == QLatin1String("system")) {
        options.kind = ParameterFileKind::SystemParameters;
    } else if (kind == QLatin1String("initial")) {
        options.kind = ParameterFileKind::InitialTable;
    } else {
        exitCode = context.usage(QStringLiteral("%1: --kind must be system or initial").arg(command));
        return std::nullopt;
    }
    if (withFormat) {
        options.format = parser.value(formatOption);
        if (options.format != QLatin1String("txt") && options.format != QLatin1String("xml")) {
            exitCode = context.usage(QStringLiteral("%1: --format must be txt or xml").arg(command));
            return std::nullopt;
        }
    }
    if (withFormat || withEnvelope) {
        options.output = parser.value(outputOption);
        if (options.output.isEmpty()) {
            exitCode = context.usage(QStringLiteral("%1: -o OUT is required").arg(command));
            return std::nullopt;
        }
    }
    options.envelope = withEnvelope && parser.isSet(envelopeOption);
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

int exportSystem(CliContext& context, const PrinterDefinition& printer, const ParameterOptions& options)
{
    Application& app = context.app();
    SystemParameterSet set = DefaultSystemParameters(printer);
    if (!options.files.isEmpty()) {
        const QString& from = options.files.first();
        const LineResult read = ReadSystemParameterFile(from, printer, app.printerDefinitions, app.parameterCheck, app.strings);
        if (!read.ok())
            return read.fileError ? fileFailure(context, from, read.error) : context.fail(read.error);
        ParseSystemParameterLine(read.line, printer, set);
    }
    if (const std::optional<RangeFailure> failure = ValidateRanges(set, printer, app.strings)) {
        return context.fail(failure->message.isEmpty()
                                ? QStringLiteral("vormexctl: the printer's definitions lack the item \"%1\"").arg(failure->itemName)
                                : failure->message);
    }
    const std::optional<QString> error = options.format == QLatin1String("xml")
                                             ? WriteSystemParameterXml(options.output, set, printer, headerOf(app))
                                             : WriteSystemParameterTextFile(options.output, BuildSystemParameterLine(set, printer));
    return error ? fileFailure(context, options.output, *error) : kExitOk;
}

int exportInitial(CliContext& context, const PrinterDefinition& printer, const ParameterOptions& options)
{
    Application& app = context.app();
    InitialTableDocument document = DefaultInitialTableDocument(printer);
    if (!options.files.isEmpty()) {
        const QString& from = options.files.first();
        QString text;
        if (IsXmlFileName(from)) {
            const std::optional<QString> converted = ReadInitialTableXml(from, app.printerDefinitions);
            if (!converted || converted->isEmpty())
                return context.fail(app.strings.text(kNotInitialTableFile));
            text = *converted;
        } else {
            const TextResult read = ReadInitialTableTextFile(from, printer, app.parameterCheck, app.strings);
            if (!read.ok())
                return context.fail(read.error);
            text = read.text;
        }
        if (!ApplyInitialTableText(text, printer, document))
            return context.fail(app.strings.text(kNotInitialTableFile));
    }
    if (const auto failure = ValidateInitialValues(document.values, printer, app.strings))
        return context.fail(failure->message);
    if (const auto failure = ValidateResponseCommands(document.responses, printer, app.parameterCheck, app.strings))
        return context.fail(failure->message);
    const std::optional<QString> error =
        options.format == QLatin1String("xml")
            ? WriteInitialTableXml(options.output, document, printer, headerOf(app))
            : WriteInitialTableTextFile(options.output, ComposeInitialTableText(document, printer));
    return error ? fileFailure(context, options.output, *error) : kExitOk;
}

}  // namespace

int runCheck(CliContext& context, const QStringList& arguments)
{
    int exitCode = kExitOk;
    const auto options = parseOptions(context, QStringLiteral("check"), arguments, false, false, exitCode);
    if (!options)
        return exitCode;
    if (options->files.size() != 1)
        return context.usage(QStringLiteral("check: one FILE is required"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;
    if (const std::optional<QString> failure = CheckParameterFile(options->files.first(), options->kind, contextFor(context, *printer)))
        return context.fail(*failure);
    return kExitOk;
}

int runConvert(CliContext& context, const QStringList& arguments)
{
    int exitCode = kExitOk;
    const auto options = parseOptions(context, QStringLiteral("convert"), arguments, false, true, exitCode);
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
        return context.fail(prepared.message);
    if (const std::optional<QString> error =
            SaveFileAtomically(options->output, options->envelope ? prepared.envelope : prepared.area))
        return fileFailure(context, options->output, *error);
    return kExitOk;
}

int runExport(CliContext& context, const QStringList& arguments)
{
    int exitCode = kExitOk;
    const auto options = parseOptions(context, QStringLiteral("export"), arguments, true, false, exitCode);
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

}  // namespace vormex::cli
