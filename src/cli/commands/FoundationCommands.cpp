// printers, show-printer, info: what the definition file and the settings hold.
#include "CliContext.h"
#include "commands/Commands.h"

#include "app/Version.h"

#include "app/DataFiles.h"
#include "codec/Codec.h"
#include "definitions/Lookups.h"
#include "files/WorkFiles.h"

#include <QCoreApplication>
#include <QDir>

namespace vormex::cli {
namespace {

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

void printItem(QTextStream& out, const ItemDefinition& item, const QString& indent)
{
    out << indent << quoted(item.name) << "  type=" << item.type << " min=" << item.min << " max=" << item.max
        << " length=" << item.length;
    if (!item.mask.isEmpty())
        out << " mask=" << quoted(item.mask);
    if (!item.templateText.isEmpty())
        out << " template=" << quoted(item.templateText);
    if (!item.validChars.isEmpty())
        out << " validchars=" << quoted(item.validChars);
    if (!item.initialText.isEmpty() || item.initialNumber == 0)
        out << " initial=" << quoted(item.initialText);
    if (item.initialNumber != 0)
        out << " initial=" << item.initialNumber;
    out << "\n";
    for (const ListEntry& entry : item.list) {
        out << indent << "    - " << quoted(entry.text) << " value=" << quoted(entry.value);
        if (!entry.type.isEmpty())
            out << " type=" << quoted(entry.type);
        out << "\n";
    }
}

void printItems(QTextStream& out, const QString& title, const QList<ItemDefinition>& items)
{
    out << title << " (" << items.size() << " items)\n";
    for (const ItemDefinition& item : items)
        printItem(out, item, QStringLiteral("  "));
}

QString ruleText(const FieldRule& rule)
{
    static const char kinds[] = {'?', 'S', 'D', 'U'};
    const char kind = rule.kind >= 1 && rule.kind <= 3 ? kinds[rule.kind] : '?';
    return QStringLiteral("%1%2%3-%4").arg(rule.omissible ? QStringLiteral("O") : QString()).arg(QLatin1Char(kind)).arg(rule.minLength).arg(rule.maxLength);
}

void printFormat(QTextStream& out, const LayoutFormat& format)
{
    QStringList rules;
    for (const FieldRule& rule : format.rules)
        rules << ruleText(rule);
    out << "  " << quoted(format.name) << " length " << format.minLength << ".." << format.maxLength << ": "
        << rules.join(QLatin1Char(',')) << "\n";
}

void printAllocation(QTextStream& out, const AllocationDefinition& a)
{
    out << "Allocation\n"
        << "  block size " << a.blockSizeKb << " KB, " << a.totalBlocks << " blocks (kanji 1: " << a.totalBlocksKanji1
        << ", kanji 2: " << a.totalBlocksKanji2 << ", variants " << a.kanjiVariants << ")\n"
        << "  TrueType " << a.trueTypeMin << ".." << a.trueTypeMax << " default " << a.trueTypeDefault << " (kanji max "
        << a.trueTypeMaxKanji1 << ", " << a.trueTypeMaxKanji2 << ")\n"
        << "  Bitmap " << a.bitmapMin << ".." << a.bitmapMax << " default " << a.bitmapDefault << " (kanji max "
        << a.bitmapMaxKanji1 << ", " << a.bitmapMaxKanji2 << ")\n"
        << "  BASIC " << a.basicMin << ".." << a.basicMax << " default " << a.basicDefault << "\n"
        << "  start blocks: BasicMain " << a.startBlockBasicMain << ", BasicSystem " << a.startBlockBasicSystem
        << ", SystemParam " << a.startBlockSystemParam << ", InitialTable " << a.startBlockInitialTable << "\n";
}

void printPrinter(QTextStream& out, const PrinterDefinition& p)
{
    out << "Printer " << quoted(p.name) << "\n"
        << "Flags: LABELSHIFT " << p.labelShiftOmitted << ", firmware handshake " << p.firmwareHandshake
        << ", variable control codes " << p.variableControlCodes << "\n";
    printItems(out, QStringLiteral("System parameters"), p.systemItems);
    printItems(out, QStringLiteral("Initial values"), p.initialItems);
    if (p.fontConvert) {
        printItems(out, QStringLiteral("Font convert items"), p.fontConvert->items);
        out << "Font convert rows: " << p.fontConvert->lineCount << " initial, " << p.fontConvert->totalRows << " in all\n";
        for (const FontConvertLine& l : p.fontConvert->lines)
            out << "  " << quoted(l.ZPLFontCode) << " " << quoted(l.ZPLFontName) << " " << l.ZPLFontType << " -> "
                << quoted(l.KIRNFontCode) << " " << l.KIRNFontType << " on " << l.Drive << "\n";
    }
    if (p.driveMapping) {
        out << "Drive mapping\n  VORMEX drives: " << p.driveMapping->zList.join(QStringLiteral(", "))
            << "\n  KIRN drives: " << p.driveMapping->tList.join(QStringLiteral(", "))
            << "\n  defaults: " << p.driveMapping->defaultList.join(QStringLiteral(", "))
            << "\n  values: " << p.driveMapping->valueList.join(QStringLiteral(", ")) << "\n";
    }
    if (p.allocation)
        printAllocation(out, *p.allocation);
    out << "Status responses (" << p.responseCommands.size() << ")\n";
    for (const ResponseCommandDefinition& c : p.responseCommands)
        out << "  " << quoted(c.name) << " max " << c.max << " (" << c.parameters.size() << " parameters): " << quoted(c.text) << "\n";
    out << "Formats\n";
    if (p.systemFormat)
        printFormat(out, *p.systemFormat);
    for (const LayoutFormat& format : p.layoutFormats)
        printFormat(out, format);
}

int runPrinters(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("printers takes no arguments"));
    const Application& app = context.app();
    for (const PrinterDefinition& entry : app.printerDefinitions) {
        if (IsPrinterModel(entry))
            context.out() << entry.name << "\n";
    }
    if (const QString problem = context.definitionsProblem(); !problem.isEmpty())
        return context.fail(problem);
    return kExitOk;
}

int runShowPrinter(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1)
        return context.usage(QStringLiteral("show-printer takes one printer name"));
    const Application& app = context.app();
    const PrinterDefinition* printer = FindPrinter(app.printerDefinitions, arguments.first());
    if (!printer) {
        if (const QString problem = context.definitionsProblem(); !problem.isEmpty())
            return context.fail(problem);
        return context.fail(QStringLiteral("vormexctl: no printer named \"%1\"").arg(arguments.first()));
    }
    printPrinter(context.out(), *printer);
    return kExitOk;
}

int runInfo(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("info takes no arguments"));
    const Application& app = context.app();
    int models = 0;
    for (const PrinterDefinition& entry : app.printerDefinitions)
        models += IsPrinterModel(entry);
    QTextStream& out = context.out();
    out << "vormexctl " << ProgramVersion() << "\n"
        << "definition file: " << QDir::toNativeSeparators(app.definitionFilePath)
        << (context.definitionsProblem().isEmpty() ? QString() : QStringLiteral(" (failed: %1)").arg(context.definitionsProblem())) << "\n"
        << "printer models: " << models << "\n"
        << "selected printer: " << app.selectedPrinterName << (app.selectedPrinter() ? "" : " (not defined)") << "\n"
        << "device info: " << app.deviceInfo << "\n"
        << "settings file: " << QDir::toNativeSeparators(context.store().filePath()) << "\n"
        << "documents folder: " << QDir::toNativeSeparators(documentsFolder()) << "\n"
        << "language: " << (app.languageValue ? "JPN" : "ENG") << ", English resources "
        << (app.languageChoice.englishLoaded ? QStringLiteral("loaded from %1").arg(QDir::toNativeSeparators(app.languageChoice.englishFilePath))
                                             : app.japaneseUi ? QStringLiteral("not used")
                                                              : QStringLiteral("not found (%1)").arg(app.languageChoice.englishFilePath))
        << "\n"
        << "printer code page: " << codec::printerCodePageName() << "\n"
        << "time scale: " << (qEnvironmentVariableIsSet("VORMEX_TIME_SCALE") ? qEnvironmentVariable("VORMEX_TIME_SCALE") : QStringLiteral("1")) << "\n";
    return kExitOk;
}

}  // namespace

QList<Command> foundationCommands()
{
    return {
        {QStringLiteral("printers"), QString(), QStringLiteral("list the printer models of the definition file"), QString(), {}, runPrinters},
        {QStringLiteral("show-printer"), QStringLiteral("NAME"), QStringLiteral("show a printer entry's items and sections"),
         QStringLiteral("Shows the entry's items, lists and sections with the \"standard\" entry's inherited.\n"), {}, runShowPrinter},
        {QStringLiteral("info"), QString(), QStringLiteral("version, files and settings in use (for bug reports)"), QString(), {}, runInfo},
    };
}

}  // namespace vormex::cli
