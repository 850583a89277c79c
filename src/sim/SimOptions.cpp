#include "SimOptions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>

namespace vormex::sim {
namespace {

bool parseCodes(const QString& text, ControlCodes& codes)
{
    if (text == QLatin1String("esc")) {
        codes = ControlCodes::forType(1);
        return true;
    }
    if (text == QLatin1String("brace")) {
        codes = ControlCodes::forType(2);
        return true;
    }
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return false;
    int values[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok, 0);
        if (!ok || values[i] < 0 || values[i] > 255)
            return false;
    }
    codes = ControlCodes::forType(3, values[0], values[1], values[2]);
    return true;
}

bool parseFaultName(const QString& text, Fault& fault)
{
    static const QMap<QString, Fault> names = {
        {QStringLiteral("none"), Fault::None},           {QStringLiteral("silence"), Fault::Silence},
        {QStringLiteral("garbage"), Fault::Garbage},     {QStringLiteral("noise"), Fault::Noise},
        {QStringLiteral("split"), Fault::Split},
        {QStringLiteral("wrong-status"), Fault::WrongStatus}, {QStringLiteral("bad-checksum"), Fault::BadChecksum},
        {QStringLiteral("drop"), Fault::Drop},           {QStringLiteral("alter"), Fault::Alter},
        {QStringLiteral("forget"), Fault::Forget},
    };
    if (!names.contains(text))
        return false;
    fault = names.value(text);
    return true;
}

// "FAULT" for every printer or "K:FAULT" for printer K alone.
bool parseFaultChoice(const QString& text, int count, FaultChoice& choice)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    choice.printer = 0;
    if (colon >= 0) {
        bool ok = false;
        choice.printer = text.left(colon).toInt(&ok);
        if (!ok || choice.printer < 1 || choice.printer > count)
            return false;
    }
    return parseFaultName(text.mid(colon + 1), choice.fault);
}

// Every printer has at most one fault of its own and there is at most one fault for all.
bool faultsAreDistinct(const QList<FaultChoice>& faults, QString& message)
{
    for (qsizetype i = 0; i < faults.size(); ++i)
        for (qsizetype j = 0; j < i; ++j)
            if (faults[i].printer == faults[j].printer) {
                message = faults[i].printer == 0
                    ? QStringLiteral("--fault given twice for every printer")
                    : QStringLiteral("--fault given twice for printer %1").arg(faults[i].printer);
                return false;
            }
    return true;
}

const char* kDescription =
    "Printers for tests and for trying the tool without hardware.\n"
    "Each printer serves one connection at a time on TCP (loopback by default) or on a\n"
    "pseudo-terminal (for COM, LPT and USB through the port map or a device path), answers status\n"
    "and mode requests, stores files and BASIC programs sent in the store-file envelope, sends the\n"
    "parameter files back on \"!B\"/\"!D\", receives firmware, and logs every command it receives\n"
    "and every answer it sends on standard error.\n"
    "Standard output holds one line per printer, the device text to reach it: \"LAN:127.0.0.1:PORT\"\n"
    "or \"PTY:/dev/pts/N\", printer 1 first. With --count N, printer K's log lines begin with \"[K] \".\n"
    "Pauses follow VORMEX_TIME_SCALE.";

// "VALUE" for every printer or "K:VALUE" for printer K alone, each printer (and "every printer")
// given at most once; `parseValue` reads the value.
template <typename T, typename Parse>
bool parsePerPrinter(const QStringList& texts, const QString& option, int count, QMap<int, T>& values, QString& message,
                     Parse parseValue)
{
    for (const QString& text : texts) {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        int printer = 0;
        bool ok = true;
        if (colon >= 0)
            printer = text.left(colon).toInt(&ok);
        T value{};
        if (!ok || (colon >= 0 && (printer < 1 || printer > count)) || !parseValue(text.mid(colon + 1), value)) {
            message = QStringLiteral("invalid value for --%1: %2").arg(option, text);
            return false;
        }
        if (values.contains(printer)) {
            message = printer == 0 ? QStringLiteral("--%1 given twice for every printer").arg(option)
                                   : QStringLiteral("--%1 given twice for printer %2").arg(option).arg(printer);
            return false;
        }
        values.insert(printer, value);
    }
    return true;
}

bool parseMode(const QString& text, bool& vormex)
{
    vormex = text == QLatin1String("vormex");
    return vormex || text == QLatin1String("kirn");
}

bool parseStatusCode(const QString& text, int& code)
{
    bool ok = false;
    code = text.toInt(&ok);
    return ok && code >= 0 && code <= 99;
}

// The value for printer `number`: its own, else the one for every printer, else `fallback`.
template <typename T>
T valueFor(const QMap<int, T>& values, int number, T fallback)
{
    return values.value(number, values.value(0, fallback));
}

bool parseIpv4(const QString& text, quint32& address)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    address = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const int byte = part.toInt(&ok);
        if (!ok || byte < 0 || byte > 255)
            return false;
        address = address << 8 | quint32(byte);
    }
    return true;
}

QString ipv4Text(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4").arg(address >> 24).arg((address >> 16) & 0xFF).arg((address >> 8) & 0xFF).arg(address & 0xFF);
}

}  // namespace

bool parseSimOptions(const QStringList& arguments, SimOptions& options, QString& message, int& exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Number of printers to serve, 1 to 256 (default 1); each has its own port or pseudo-terminal, files and state."), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port to listen on (0: any free port; default 0); with --count, printer K listens on PORT+K-1 (or on PORT itself with --same-port)."), QStringLiteral("PORT"), QStringLiteral("0"));
    const QCommandLineOption bind(QStringLiteral("bind"), QStringLiteral("Address to listen on (default 127.0.0.1); with --same-port the first printer's."), QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption samePort(QStringLiteral("same-port"), QStringLiteral("With --count, serve every printer at --port on consecutive addresses: printer K on ADDRESS+K-1 (a site of printers on loopback, e.g. --count 8 --bind 127.0.0.10 --port 8000)."));
    const QCommandLineOption pty(QStringLiteral("pty"), QStringLiteral("Serve a pseudo-terminal instead of TCP."));
    const QCommandLineOption codes(QStringLiteral("codes"), QStringLiteral("Control codes: esc, brace or three numbers \"2,3,4\" (default esc). Braces are always understood."), QStringLiteral("CODES"), QStringLiteral("esc"));
    const QCommandLineOption blockKb(QStringLiteral("block-kb"), QStringLiteral("Storage block size in KB that LDB counts in (default 64)."), QStringLiteral("KB"), QStringLiteral("64"));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("Hold a file from the start: NAME=PATH, the text of PATH (e.g. QUILLPRM.TXT=line.txt). Repeatable."), QStringLiteral("NAME=PATH"));
    const QCommandLineOption dump(QStringLiteral("dump-dir"), QStringLiteral("Write every stored file's text into this folder (with --count, printer K's into DIR/K)."), QStringLiteral("DIR"));
    const QCommandLineOption status(QStringLiteral("status"), QStringLiteral("Status code answered to WS and after a store, 0 to 99 (default 0); \"K:CODE\" for printer K only. Repeatable."), QStringLiteral("[K:]CODE"));
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("Mode at start: vormex or kirn (default vormex); \"K:MODE\" for printer K only. Repeatable."), QStringLiteral("[K:]MODE"));
    const QCommandLineOption restart(QStringLiteral("restart-ms"), QStringLiteral("After a store the printer restarts: the TCP connection closes and nothing listens for this long (default 3000)."), QStringLiteral("MS"), QStringLiteral("3000"));
    const QCommandLineOption handshake(QStringLiteral("firmware-handshake"), QStringLiteral("Acknowledge every firmware block with status 53."));
    const QCommandLineOption gap(QStringLiteral("firmware-gap-ms"), QStringLiteral("Quiet time that ends a firmware block (default 1000)."), QStringLiteral("MS"), QStringLiteral("1000"));
    const QCommandLineOption fault(QStringLiteral("fault"), QStringLiteral("Fault to show: none, silence, garbage, noise, split, wrong-status, bad-checksum, drop, alter, forget; \"K:FAULT\" for printer K only. Repeatable."), QStringLiteral("[K:]FAULT"));
    const QCommandLineOption wrongStatus(QStringLiteral("wrong-status-code"), QStringLiteral("Status code of the wrong-status fault (default 50)."), QStringLiteral("CODE"), QStringLiteral("50"));
    const QCommandLineOption dropAfter(QStringLiteral("drop-after"), QStringLiteral("Bytes of a transfer after which the drop fault hangs up (default 1024)."), QStringLiteral("BYTES"), QStringLiteral("1024"));
    const QCommandLineOption idle(QStringLiteral("exit-after-idle"), QStringLiteral("End after this many seconds without traffic (default: never)."), QStringLiteral("SECONDS"), QStringLiteral("0"));
    const QCommandLineOption ignoreStdin(QStringLiteral("ignore-stdin"), QStringLiteral("Keep running when standard input closes (by default the simulator ends then)."));
    parser.addOptions({count, port, bind, samePort, pty, codes, blockKb, file, dump, status, mode, restart, handshake, gap, fault, wrongStatus, dropAfter, idle, ignoreStdin});

    exitCode = 2;
    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        message = parser.helpText();
        exitCode = 0;
        return false;
    }
    auto number = [&](const QCommandLineOption& option, int& target, int min, int max) {
        bool ok = false;
        const int value = parser.value(option).toInt(&ok);
        if (!ok || value < min || value > max) {
            message = QStringLiteral("invalid value for --%1: %2").arg(option.names().first(), parser.value(option));
            return false;
        }
        target = value;
        return true;
    };
    if (!number(count, options.count, 1, kMostPrinters))
        return false;
    options.usePty = parser.isSet(pty);
    options.bindAddress = parser.value(bind);
    if (!number(port, options.tcpPort, 0, 65535) || !number(blockKb, options.blockKb, 1, 1024)
        || !number(restart, options.restartMs, 0, 600000)
        || !number(gap, options.firmwareGapMs, 1, 600000) || !number(wrongStatus, options.wrongStatusCode, 0, 99)
        || !number(dropAfter, options.dropAfterBytes, 0, 1 << 30) || !number(idle, options.exitAfterIdleSeconds, 0, 86400))
        return false;
    if (!parseCodes(parser.value(codes), options.codes)) {
        message = QStringLiteral("invalid value for --codes: %1").arg(parser.value(codes));
        return false;
    }
    if (options.tcpPort != 0 && !parser.isSet(samePort) && options.tcpPort + options.count - 1 > 65535) {
        message = QStringLiteral("--port %1 leaves no room for %2 printers").arg(options.tcpPort).arg(options.count);
        return false;
    }
    for (const QString& text : parser.values(fault)) {
        FaultChoice choice;
        if (!parseFaultChoice(text, options.count, choice)) {
            message = QStringLiteral("invalid value for --fault: %1").arg(text);
            return false;
        }
        options.faults.append(choice);
    }
    if (!faultsAreDistinct(options.faults, message))
        return false;
    if (!parsePerPrinter(parser.values(mode), QStringLiteral("mode"), options.count, options.vormexModes, message, parseMode)
        || !parsePerPrinter(parser.values(status), QStringLiteral("status"), options.count, options.statusCodes, message,
                            parseStatusCode))
        return false;
    options.vormexMode = valueFor(options.vormexModes, 0, true);
    options.statusCode = valueFor(options.statusCodes, 0, 0);
    options.samePort = parser.isSet(samePort);
    if (options.samePort) {
        quint32 first = 0;
        if (options.usePty || options.tcpPort == 0) {
            message = QStringLiteral("--same-port needs --port N (not 0) and TCP");
            return false;
        }
        if (!parseIpv4(options.bindAddress, first) || quint64(first) + options.count - 1 > 0xFFFFFFFFu) {
            message = QStringLiteral("--same-port needs an IPv4 --bind address with room for %1 printers after it").arg(options.count);
            return false;
        }
    }
    for (const QString& entry : parser.values(file)) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        QFile source(entry.mid(equals + 1));
        if (equals <= 0 || !source.open(QIODevice::ReadOnly)) {
            message = QStringLiteral("cannot read --file %1").arg(entry);
            return false;
        }
        options.files.insert(entry.left(equals), source.readAll());
    }
    options.dumpFolder = parser.value(dump);
    options.firmwareHandshake = parser.isSet(handshake);
    options.watchStdin = !parser.isSet(ignoreStdin);
    exitCode = 0;
    return true;
}

SimOptions SimOptions::forPrinter(int number) const
{
    SimOptions printer = *this;
    printer.count = 1;
    quint32 first = 0;
    if (samePort && parseIpv4(bindAddress, first))
        printer.bindAddress = ipv4Text(first + quint32(number - 1));
    else if (tcpPort != 0)
        printer.tcpPort = tcpPort + number - 1;
    printer.vormexMode = valueFor(vormexModes, number, true);
    printer.statusCode = valueFor(statusCodes, number, 0);
    if (count > 1 && !dumpFolder.isEmpty())
        printer.dumpFolder = QDir(dumpFolder).filePath(QString::number(number));
    // A fault named for this printer wins over the one for every printer.
    printer.fault = Fault::None;
    for (const FaultChoice& choice : faults)
        if (choice.printer == 0)
            printer.fault = choice.fault;
    for (const FaultChoice& choice : faults)
        if (choice.printer == number)
            printer.fault = choice.fault;
    return printer;
}

}  // namespace vormex::sim
