// encode: a BASIC source into the printer's program image, as the download sends it.
#include "CliContext.h"
#include "commands/Commands.h"

#include "app/DataFiles.h"
#include "app/Language.h"
#include "basic/BasicEncoder.h"

#include <QCommandLineParser>
#include <QSaveFile>

namespace vormex::cli {
namespace {

const char kEncodeHelp[] =
    "Usage: vormexctl encode SOURCE --program main|system [--block-kb N] [--language jpn|eng] (-o OUT | --listing)\n"
    "\n"
    "Encodes the BASIC source file SOURCE into the printer's program image and writes the data area\n"
    "that a download sends: the image (main program 118016 bytes, system-mode program 20992 bytes),\n"
    "the encoded lines, and 0xFF up to whole storage blocks.\n"
    "\n"
    "  --program main|system  the program kind: main program or system-mode program\n"
    "  --block-kb N           storage block size in KB (default: the selected printer's)\n"
    "  --language jpn|eng     jpn reads the source as Shift-JIS (CP932), eng as CP1252, and\n"
    "                         takes the messages from that language's table (default: the\n"
    "                         global --language, else the stored \"Language\")\n"
    "  -o OUT                 the file to write\n"
    "  --listing              print what each source line becomes instead of writing a file\n"
    "\n"
    "Listing: one line per source line, fields separated by blanks:\n"
    "  POSITION NUMBER OFFSET : RECORD\n"
    "POSITION is the line in the source file (from 1); NUMBER and OFFSET are its line-table entry,\n"
    "the line number and the offset of its record in the encoded lines (6 hex digits), or \"-\" for a\n"
    "line that has no entry; RECORD is the record in hex: length byte, token bytes, end byte 00.\n"
    "\n"
    "On an encoding error nothing is written and the encoder's message is the last line on stderr.\n";

struct EncodeOptions {
    QString source;
    int programKind = basic::kMainProgram;
    int blockSizeKb = 0;  // 0: the selected printer's
    QString language;     // "jpn", "eng" or empty
    QString output;
    bool listing = false;
    bool help = false;
};

// Reads the command's options; gives a usage message when they do not fit.
QString parseOptions(const QStringList& arguments, EncodeOptions& options)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption program(QStringLiteral("program"), QString(), QStringLiteral("kind"));
    const QCommandLineOption blockKb(QStringLiteral("block-kb"), QString(), QStringLiteral("N"));
    const QCommandLineOption language(QStringLiteral("language"), QString(), QStringLiteral("jpn|eng"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("OUT"));
    const QCommandLineOption listing(QStringLiteral("listing"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({program, blockKb, language, output, listing, help});
    if (!parser.parse(QStringList{QStringLiteral("encode")} + arguments))
        return parser.errorText();
    if (parser.isSet(help)) {
        options.help = true;
        return {};
    }
    if (parser.positionalArguments().size() != 1)
        return QStringLiteral("encode takes one source file");
    options.source = parser.positionalArguments().first();

    const QString kind = parser.value(program).toLower();
    if (kind == QLatin1String("main"))
        options.programKind = basic::kMainProgram;
    else if (kind == QLatin1String("system"))
        options.programKind = basic::kSystemModeProgram;
    else
        return QStringLiteral("encode needs --program main or --program system");

    if (parser.isSet(blockKb)) {
        bool ok = false;
        options.blockSizeKb = parser.value(blockKb).toInt(&ok);
        if (!ok || options.blockSizeKb <= 0 || options.blockSizeKb > 1024 * 1024)
            return QStringLiteral("--block-kb needs a positive number of kilobytes");
    }
    if (parser.isSet(language)) {
        options.language = parser.value(language).toLower();
        if (options.language != QLatin1String("jpn") && options.language != QLatin1String("eng"))
            return QStringLiteral("--language takes jpn or eng");
    }
    options.listing = parser.isSet(listing);
    options.output = parser.value(output);
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

}  // namespace

int runEncode(CliContext& context, const QStringList& arguments)
{
    EncodeOptions options;
    if (const QString problem = parseOptions(arguments, options); !problem.isEmpty())
        return context.usage(problem);
    if (options.help) {
        context.out() << kEncodeHelp;
        return kExitOk;
    }

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
        context.err() << "vormexctl: " << options.source << ": cannot be encoded\n";
        return context.fail(message.isEmpty() ? QStringLiteral("error %1").arg(encoder.errorId()) : message);
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
    QSaveFile file(options.output);
    if (!file.open(QIODevice::WriteOnly) || file.write(area) != area.size() || !file.commit())
        return context.fail(QStringLiteral("vormexctl: %1: %2").arg(options.output, file.errorString()));
    return kExitOk;
}

}  // namespace vormex::cli
