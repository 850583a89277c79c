// config: the settings that the printer settings page and the options sheet keep, shown and set
// with the pages' own checks, so a machine without a desktop needs no hand-edited settings file.
#include "CliContext.h"
#include "commands/Commands.h"

#include "app/AppSettings.h"
#include "base/SettingNames.h"
#include "base/SettingsStore.h"
#include "comm/DeviceText.h"
#include "comm/SerialSettings.h"
#include "definitions/Lookups.h"
#include "pages/OptionsModel.h"
#include "pages/PrinterSettingsModel.h"

#include <QRegularExpression>

namespace vormex::cli {
namespace {

constexpr int kEqualControlCodes = 8115;

QString name(const char* key) { return QString::fromLatin1(key); }

QString codesText(const ControlCodes& codes)
{
    switch (codes.type) {
    case 2:
        return QStringLiteral("brace");
    case 3:
        return QStringLiteral("%1,%2,%3")
            .arg(codes.code1, 2, 16, QLatin1Char('0'))
            .arg(codes.code2, 2, 16, QLatin1Char('0'))
            .arg(codes.code3, 2, 16, QLatin1Char('0'))
            .toUpper();
    default:
        return QStringLiteral("standard");
    }
}

int runShow(CliContext& context)
{
    const AppSettings settings = readAppSettings(context.store());
    QTextStream& out = context.out();
    out << "printer " << (settings.printerName.isEmpty() ? context.app().selectedPrinterName : settings.printerName) << "\n"
        << "device " << settings.deviceInfo << "\n"
        << "codes " << codesText(settings.controlCodes) << "\n"
        << "wait-time " << settings.waitTimeMs << "\n"
        << "language " << (settings.languageValue() ? "jpn" : "eng") << "\n"
        << "look " << settings.applicationLook << "\n"
        << "header-icon " << settings.headerIcon << "\n"
        << "header-device-info " << settings.headerDeviceInfo << "\n"
        << "ttf-downloader " << settings.ttfDownloaderPath << "\n";
    return kExitOk;
}

// The printer settings page lists every entry but "standard"; a printer whose control codes are
// fixed makes the page use ESC, LF, NUL.
int setPrinter(CliContext& context, const QString& value)
{
    if (const QString problem = context.definitionsProblem(); !problem.isEmpty())
        return context.fail(problem);
    const PrinterDefinition* printer = FindPrinterModel(context.app().printerDefinitions, value);
    if (!printer)
        return context.usage(QStringLiteral("no printer named \"%1\" in %2 (see 'vormexctl printers')")
                                 .arg(value, context.app().definitionFilePath));
    context.store().writeString(name(settings::kPrinterName), value);
    if (!printer->variableControlCodes)
        saveControlCodes(context.store(), ControlCodesFromPage(ControlCodeChoice{}));
    return kExitOk;
}

// What the page's interface controls would hold for the text, composed by the page again.
QString pageDeviceText(const QString& text)
{
    DeviceInfoParts parts;
    SplitDeviceInfo(text, parts);
    InterfaceChoice choice;
    choice.entryText = parts.kind;
    if (PortKindOf(parts.kind) == PortKind::Lan) {
        const std::optional<LanAddress> lan = ParseLanAddress(parts.address);
        choice.ipBytes = lan->bytes;
        choice.host = lan->host;
        choice.port = lan->port;
    } else if (PortKindOf(parts.kind) == PortKind::Com) {
        const QStringList fields = parts.address.split(QLatin1Char(','));
        choice.baudRate = fields[0];
        choice.dataBits = fields[1];
        choice.parity = fields[2];
        choice.stopBits = fields[3];
    } else if (PortKindOf(parts.kind) == PortKind::Usb && !parts.address.isEmpty()) {
        return text;  // the page keeps the chosen USB printer apart; a typed one keeps its path
    }
    return ComposeDeviceInfo(choice);
}

int setDevice(CliContext& context, const QString& value)
{
    if (const std::optional<QString> problem = CheckDeviceText(value))
        return context.usage(QStringLiteral("device %1: %2\n%3").arg(value, *problem, DeviceTextGrammar()));
    context.store().writeString(name(settings::kDeviceInfo), pageDeviceText(value));
    return kExitOk;
}

int setCodes(CliContext& context, const QString& value)
{
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;
    ControlCodeChoice choice;
    choice.variableControlCodes = printer->variableControlCodes != 0;
    if (value == QLatin1String("standard")) {
        choice.typeIndex = 0;
    } else if (!choice.variableControlCodes) {
        return context.usage(QStringLiteral("the printer \"%1\" uses fixed control codes (ESC, LF, NUL): codes takes standard only")
                                 .arg(printer->name));
    } else if (value == QLatin1String("brace")) {
        choice.typeIndex = 2;
    } else {
        static const QRegularExpression manual(QStringLiteral("^([0-9A-Fa-f]{2}),([0-9A-Fa-f]{2}),([0-9A-Fa-f]{2})$"));
        const QRegularExpressionMatch match = manual.match(value);
        if (!match.hasMatch())
            return context.usage(QStringLiteral("codes takes standard, brace or three hexadecimal codes such as 1B,0A,00"));
        choice.typeIndex = 3;
        choice.manual1 = match.captured(1);
        choice.manual2 = match.captured(2);
        choice.manual3 = match.captured(3);
    }
    const ControlCodes codes = ControlCodesFromPage(choice);
    if (FindControlCodeConflict(codes) != ControlCodeConflict::None)
        return context.usage(context.app().strings.text(kEqualControlCodes));
    saveControlCodes(context.store(), codes);
    return kExitOk;
}

int setWaitTime(CliContext& context, const QString& value)
{
    QString message;
    const std::optional<int> waitTime = ReadWaitTime(value, context.app().strings, &message);
    if (!waitTime)
        return context.usage(QStringLiteral("wait-time %1: %2").arg(value, message));
    context.store().writeInt(name(settings::kWaitTime), *waitTime);
    return kExitOk;
}

int setLanguage(CliContext& context, const QString& value)
{
    const QString language = value.toLower();
    if (language != QLatin1String("jpn") && language != QLatin1String("eng"))
        return context.usage(QStringLiteral("language takes jpn or eng"));
    context.store().writeString(name(settings::kLanguage), LanguageSetting(language == QLatin1String("jpn")));
    return kExitOk;
}

int runConfig(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return runShow(context);
    if (words.first() != QLatin1String("set") || words.size() != 3)
        return context.usage(QStringLiteral("config takes nothing, or set KEY VALUE"));
    const QString& key = words[1];
    const QString& value = words[2];
    const struct {
        const char* key;
        int (*set)(CliContext&, const QString&);
    } setters[] = {
        {"printer", setPrinter}, {"device", setDevice}, {"codes", setCodes}, {"wait-time", setWaitTime}, {"language", setLanguage},
    };
    for (const auto& setter : setters) {
        if (key != QLatin1String(setter.key))
            continue;
        const int status = setter.set(context, value);
        // Written now, so a settings file that cannot take it is a failure of this command.
        if (status == kExitOk && !context.store().sync())
            return context.fail(QStringLiteral("vormexctl: %1: the settings could not be written").arg(context.store().filePath()));
        return status;
    }
    return context.usage(QStringLiteral("unknown setting \"%1\" (printer, device, codes, wait-time, language)").arg(key));
}

}  // namespace

QList<Command> configCommands()
{
    return {
        {QStringLiteral("config"), QStringLiteral("[set KEY VALUE]"),
         QStringLiteral("show or set the stored settings of the printer settings page and the options sheet"),
         QStringLiteral("Without arguments: one line per setting, its key and value (printer, device, codes, wait-time,\n"
                        "language, look, header-icon, header-device-info, ttf-downloader).\n"
                        "set KEY VALUE stores one setting after the check its page makes:\n"
                        "  printer NAME         an entry of the definition file (a printer with fixed control codes\n"
                        "                       also sets codes to standard)\n"
                        "  device TEXT          LAN:ADDRESS:PORT, COMn:BAUD,DATA,PARITY,STOP, LPTn:, USB: or USB:DEVICE\n"
                        "  codes standard|brace|1B,0A,00\n"
                        "                       ESC LF NUL; the braces; or three codes of your own, all different\n"
                        "                       (only printers with variable control codes)\n"
                        "  wait-time MS         1 to 60000, the wait for the printer after a download\n"
                        "  language jpn|eng     the language of the next start\n"
                        "A value the page refuses is a usage error (exit status 2) and nothing is stored.\n"),
         {}, runConfig},
    };
}

}  // namespace vormex::cli
