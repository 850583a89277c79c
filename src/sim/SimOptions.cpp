#include "SimOptions.h"

#include <QCommandLineParser>
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

bool parseFault(const QString& text, Fault& fault)
{
    static const QMap<QString, Fault> names = {
        {QStringLiteral("none"), Fault::None},           {QStringLiteral("silence"), Fault::Silence},
        {QStringLiteral("garbage"), Fault::Garbage},     {QStringLiteral("split"), Fault::Split},
        {QStringLiteral("wrong-status"), Fault::WrongStatus}, {QStringLiteral("bad-checksum"), Fault::BadChecksum},
        {QStringLiteral("drop"), Fault::Drop},
    };
    if (!names.contains(text))
        return false;
    fault = names.value(text);
    return true;
}

const char* kDescription =
    "A printer for tests and for trying the tool without hardware.\n"
    "It serves one connection at a time on TCP (loopback by default) or on a pseudo-terminal\n"
    "(for COM, LPT and USB through the port map or a device path), answers status and mode\n"
    "requests, stores files sent in the store-file envelope, sends them back on \"!B\"/\"!D\",\n"
    "receives firmware, and logs every command it receives on standard error.\n"
    "The first line on standard output is the device text to reach it: \"LAN:127.0.0.1:PORT\"\n"
    "or \"PTY:/dev/pts/N\". Pauses follow VORMEX_TIME_SCALE.";

}  // namespace

bool parseSimOptions(const QStringList& arguments, SimOptions& options, QString& message, int& exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port to listen on (0: any free port; default 0)."), QStringLiteral("PORT"), QStringLiteral("0"));
    const QCommandLineOption bind(QStringLiteral("bind"), QStringLiteral("Address to listen on (default 127.0.0.1)."), QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption pty(QStringLiteral("pty"), QStringLiteral("Serve a pseudo-terminal instead of TCP."));
    const QCommandLineOption codes(QStringLiteral("codes"), QStringLiteral("Control codes: esc, brace or three numbers \"2,3,4\" (default esc). Braces are always understood."), QStringLiteral("CODES"), QStringLiteral("esc"));
    const QCommandLineOption blockKb(QStringLiteral("block-kb"), QStringLiteral("Storage block size in KB that LDB counts in (default 64)."), QStringLiteral("KB"), QStringLiteral("64"));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("Hold a file from the start: NAME=PATH, the text of PATH (e.g. QUILLPRM.TXT=line.txt). Repeatable."), QStringLiteral("NAME=PATH"));
    const QCommandLineOption dump(QStringLiteral("dump-dir"), QStringLiteral("Write every stored file's text into this folder."), QStringLiteral("DIR"));
    const QCommandLineOption status(QStringLiteral("status"), QStringLiteral("Status code answered to WS and after a store (default 0)."), QStringLiteral("CODE"), QStringLiteral("0"));
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("Mode at start: vormex or kirn (default vormex)."), QStringLiteral("MODE"), QStringLiteral("vormex"));
    const QCommandLineOption restart(QStringLiteral("restart-ms"), QStringLiteral("After a store the printer restarts: the TCP connection closes and nothing listens for this long (default 3000)."), QStringLiteral("MS"), QStringLiteral("3000"));
    const QCommandLineOption handshake(QStringLiteral("firmware-handshake"), QStringLiteral("Acknowledge every firmware block with status 53."));
    const QCommandLineOption gap(QStringLiteral("firmware-gap-ms"), QStringLiteral("Quiet time that ends a firmware block (default 1000)."), QStringLiteral("MS"), QStringLiteral("1000"));
    const QCommandLineOption fault(QStringLiteral("fault"), QStringLiteral("Fault to show: none, silence, garbage, split, wrong-status, bad-checksum, drop."), QStringLiteral("FAULT"), QStringLiteral("none"));
    const QCommandLineOption wrongStatus(QStringLiteral("wrong-status-code"), QStringLiteral("Status code of the wrong-status fault (default 50)."), QStringLiteral("CODE"), QStringLiteral("50"));
    const QCommandLineOption dropAfter(QStringLiteral("drop-after"), QStringLiteral("Bytes of a transfer after which the drop fault hangs up (default 1024)."), QStringLiteral("BYTES"), QStringLiteral("1024"));
    const QCommandLineOption idle(QStringLiteral("exit-after-idle"), QStringLiteral("End after this many seconds without traffic (default: never)."), QStringLiteral("SECONDS"), QStringLiteral("0"));
    const QCommandLineOption ignoreStdin(QStringLiteral("ignore-stdin"), QStringLiteral("Keep running when standard input closes (by default the simulator ends then)."));
    parser.addOptions({port, bind, pty, codes, blockKb, file, dump, status, mode, restart, handshake, gap, fault, wrongStatus, dropAfter, idle, ignoreStdin});

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
    options.usePty = parser.isSet(pty);
    options.bindAddress = parser.value(bind);
    if (!number(port, options.tcpPort, 0, 65535) || !number(blockKb, options.blockKb, 1, 1024)
        || !number(status, options.statusCode, 0, 99) || !number(restart, options.restartMs, 0, 600000)
        || !number(gap, options.firmwareGapMs, 1, 600000) || !number(wrongStatus, options.wrongStatusCode, 0, 99)
        || !number(dropAfter, options.dropAfterBytes, 0, 1 << 30) || !number(idle, options.exitAfterIdleSeconds, 0, 86400))
        return false;
    if (!parseCodes(parser.value(codes), options.codes)) {
        message = QStringLiteral("invalid value for --codes: %1").arg(parser.value(codes));
        return false;
    }
    if (!parseFault(parser.value(fault), options.fault)) {
        message = QStringLiteral("invalid value for --fault: %1").arg(parser.value(fault));
        return false;
    }
    const QString modeText = parser.value(mode);
    if (modeText != QLatin1String("vormex") && modeText != QLatin1String("kirn")) {
        message = QStringLiteral("invalid value for --mode: %1").arg(modeText);
        return false;
    }
    options.vormexMode = modeText == QLatin1String("vormex");
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

}  // namespace vormex::sim
