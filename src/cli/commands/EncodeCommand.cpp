// encode: a BASIC source into the printer's program image, as the download sends it.
#include "CliContext.h"
#include "commands/Commands.h"

#include "app/DataFiles.h"
#include "app/Language.h"
#include "base/Numbers.h"
#include "basic/BasicEncoder.h"

#include <QCommandLineParser>
#include <QFile>

namespace vormex::cli {
namespace {

const char kEncodeDescription[] =
    "Encodes the BASIC source file SOURCE into the printer's program image and writes the data area\n"
    "that a download sends: the image (main program 118016 bytes, system-mode program 20992 bytes),\n"
    "the encoded lines, and 0xFF up to whole storage blocks.\n"
    "\n"
    "Listing: one line per source line, fields separated by blanks:\n"
    "  POSITION NUMBER OFFSET : RECORD\n"
    "POSITION is the line in the source file (from 1); NUMBER and OFFSET are its line-table entry,\n"
    "the line number and the offset of its record in the encoded lines (6 hex digits), or \"-\" for a\n"
    "line that has no entry; RECORD is the record in hex: length byte, token bytes, end byte 00.\n"
    "\n"
    "On an encoding error nothing is written and the encoder's message is the last line on stderr;\n"
    "the line before it names the file, the source line's number and its text.\n";

const QCommandLineOption kProgram(QStringLiteral("program"), QStringLiteral("the program kind: main program or system-mode program"), QStringLiteral("main|system"));
const QCommandLineOption kBlockKb(QStringLiteral("block-kb"), QStringLiteral("storage block size in KB (default: the selected printer's)"), QStringLiteral("N"));
const QCommandLineOption kLanguage(QStringLiteral("language"),
                                   QStringLiteral("jpn reads the source as Shift-JIS (CP932), eng as CP1252, and takes the messages from "
                                                  "that language's table (default: the global --language, else the stored \"Language\")"),
                                   QStringLiteral("jpn|eng"));
const QCommandLineOption kOutput(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("the file to write (- for standard output)"), QStringLiteral("OUT"));
const QCommandLineOption kListing(QStringLiteral("listing"), QStringLiteral("print what each source line becomes instead of writing a file"));

struct EncodeOptions {
    QString source;
    int programKind = basic::kMainProgram;
    int blockSizeKb = 0;  // 0: the selected printer's
    QString language;     // "jpn", "eng" or empty
    QString output;
    bool listing = false;
};

// Reads the command's options; gives a usage message when they do not fit.
QString readOptions(const QCommandLineParser& parser, EncodeOptions& options)
{
    if (parser.positionalArguments().size() != 1)
        return QStringLiteral("encode takes one source file");
    options.source = parser.positionalArguments().first();

    const QString kind = parser.value(kProgram).toLower();
    if (kind == QLatin1String("main"))
        options.programKind = basic::kMainProgram;
    else if (kind == QLatin1String("system"))
        options.programKind = basic::kSystemModeProgram;
    else
        return QStringLiteral("encode needs --program main or --program system");

    if (parser.isSet(kBlockKb)) {
        const std::optional<int> blockKb = ParseWholeNumber(parser.value(kBlockKb));
        if (!blockKb || *blockKb <= 0 || *blockKb > 1024 * 1024)
            return QStringLiteral("--block-kb needs a positive number of kilobytes");
        options.blockSizeKb = *blockKb;
    }
    if (parser.isSet(kLanguage)) {
        options.language = parser.value(kLanguage).toLower();
        if (options.language != QLatin1String("jpn") && options.language != QLatin1String("eng"))
            return QStringLiteral("--language takes jpn or eng");
    }
    options.listing = parser.isSet(kListing);
    options.output = parser.value(kOutput);
    if (options.listing == !options.output.isEmpty())
        return QStringLiteral("encode needs either -o OUT or --listing");
    return {};
}

void printListing(QTextStream& out, const BasicEncoder& encoder)
{
    for (const BasicEncoder::LineRecord& record : encoder.lineRecords()) {
        const QString number = record.hasLineEntry ? QString::number(record.lineNumber) : QStringLiteral("-");
        const QString offset = record.hasLineEntry ? QStringLiteral("%1").arg(record.bodyOffset, 6, 16, QLatin1Char('0')).toUpper()
                                                   : QStringLiteral("-");
        out << record.position << ' ' << number << ' ' << offset << " : "
            << QString::fromLatin1(record.bytes.toHex(' ').toUpper()) << '\n';
    }
}

int runEncode(CliContext& context, const QCommandLineParser& parser)
{
    EncodeOptions options;
    if (const QString problem = readOptions(parser, options); !problem.isEmpty())
        return context.usage(problem);

    int blockSizeKb = options.blockSizeKb;
    if (!options.listing && blockSizeKb == 0) {
        const PrinterDefinition* printer = context.requireSelectedPrinter();
        if (!printer)
            return kExitFailure;
        if (!printer->allocation || printer->allocation->blockSizeKb <= 0)
            return context.fail(QStringLiteral("vormexctl: printer \"%1\" has no storage block size; give --block-kb")
                                    .arg(printer->name));
        blockSizeKb = printer->allocation->blockSizeKb;
    }

    // The command's --language stands for the whole language setting, as the global one does:
    // the source's code page and the table the messages come from.
    int languageValue = context.app().languageValue;
    StringTable strings = context.app().strings;
    if (!options.language.isEmpty()) {
        languageValue = options.language == QLatin1String("jpn") ? 1 : 0;
        strings = StringTable::builtIn();
        chooseLanguage(options.language.toUpper(), strings, datafiles::programDataDirs());
    }
    BasicEncoder encoder(strings, languageValue);
    if (!encoder.EncodeProgram(options.source, options.programKind)) {
        const QString message = encoder.errorMessage();
        QFile source(options.source);
        const QString where = encoder.errorPosition() > 0
                                  ? QStringLiteral("vormexctl: %1:%2: %3").arg(options.source).arg(encoder.errorPosition()).arg(encoder.errorLineText())
                              : !source.open(QIODevice::ReadOnly)
                                  ? QStringLiteral("vormexctl: %1: %2").arg(options.source, source.errorString())
                                  : QStringLiteral("vormexctl: %1: cannot be encoded").arg(options.source);
        return context.fail(where, message.isEmpty() ? QStringLiteral("error %1").arg(encoder.errorId()) : message);
    }

    if (options.listing) {
        printListing(context.out(), encoder);
        return kExitOk;
    }

    QByteArray area(encoder.downloadAreaSize(blockSizeKb), '\0');
    if (area.isEmpty())
        return context.fail(QStringLiteral("vormexctl: %1: holds no program lines").arg(options.source));
    if (!encoder.ComposeDownloadImage(blockSizeKb, area.data(), area.size()))
        return context.fail(QStringLiteral("vormexctl: the image does not fit its area"));
    if (isStandardOutput(options.output))
        return context.writeBinaryData(area);
    return context.writeFile(options.output, area);
}

}  // namespace

QList<Command> encodeCommands()
{
    return {
        {QStringLiteral("encode"), QStringLiteral("SOURCE --program main|system [--block-kb N] [--language jpn|eng] (-o OUT | --listing)"),
         QStringLiteral("encode a BASIC program into the printer's image"), QString::fromLatin1(kEncodeDescription),
         {kProgram, kBlockKb, kLanguage, kOutput, kListing}, runEncode},
    };
}

}  // namespace vormex::cli
