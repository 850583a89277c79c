#include "pages/PrinterSettingsModel.h"

#include "base/Numbers.h"
#include "base/SettingNames.h"
#include "comm/DeviceInfo.h"
#include "comm/SerialSettings.h"

#include <climits>

namespace vormex {
namespace {

int indexOrFirst(const QStringList& list, const QString& text)
{
    const int index = static_cast<int>(list.indexOf(text));
    return index < 0 ? 0 : index;
}

}  // namespace

QString ComposeHeaderText(const QString& printerName, const QString& deviceInfo)
{
    return printerName + QChar(kHeaderSeparator) + deviceInfo;
}

std::pair<QString, QString> SplitHeaderText(const QString& headerText)
{
    const qsizetype at = headerText.indexOf(QChar(kHeaderSeparator));
    if (at < 0)
        return {headerText, QString()};
    return {headerText.left(at), headerText.mid(at + 1)};
}

QStringList BuildInterfaceList(bool usbPresent, const QStringList& comPorts, const QStringList& lptPorts)
{
    QStringList list{QStringLiteral("LAN")};
    if (usbPresent)
        list << QStringLiteral("USB");
    list << comPorts << lptPorts;
    return list;
}

QString ComposeDeviceInfo(const InterfaceChoice& choice)
{
    const QString& entry = choice.entryText;
    if (entry.startsWith(QLatin1String("LAN"))) {
        return QStringLiteral("LAN:%1.%2.%3.%4:%5")
            .arg(choice.ipBytes[0])
            .arg(choice.ipBytes[1])
            .arg(choice.ipBytes[2])
            .arg(choice.ipBytes[3])
            .arg(choice.port);
    }
    if (entry == QLatin1String("USB"))
        return QStringLiteral("USB:");
    if (entry.startsWith(QLatin1String("COM"))) {
        return entry + QLatin1Char(':') +
               QStringList{choice.baudRate, choice.dataBits, choice.parity, choice.stopBits}.join(QLatin1Char(','));
    }
    return entry + QLatin1Char(':');
}

std::array<int, 4> DefaultIpBytes()
{
    return ParseLanAddress(QString::fromLatin1(settings::kDefaultIpAddress) + QLatin1Char(':')
                           + QString::number(settings::kDefaultLanPort))
        ->bytes;
}

QString DefaultDeviceInfo() { return QString::fromLatin1(settings::kDefaultDeviceInfo); }

InterfaceSelection SelectInterface(const QString& deviceInfo, const QStringList& interfaces, bool usbPresent,
                                   const SerialOptions& options)
{
    InterfaceSelection selection;
    QString text = deviceInfo;
    const QString kindText = text.section(QLatin1Char(':'), 0, 0);
    const bool isUsb = kindText == QLatin1String("USB");
    const qsizetype listed = interfaces.indexOf(kindText);

    if ((isUsb && !usbPresent) || listed < 0) {
        // The interface is gone: LAN with the default address, stored so that the page, the
        // header and the actions agree.
        selection.interfaceIndex = static_cast<int>(std::max<qsizetype>(interfaces.indexOf(QStringLiteral("LAN")), 0));
        selection.replacementDeviceInfo = DefaultDeviceInfo();
        selection.baudIndex = indexOrFirst(options.baudRates, QStringLiteral("9600"));
        selection.dataBitsIndex = indexOrFirst(options.dataBits, QStringLiteral("8"));
        selection.parityIndex = indexOrFirst(options.parities, QStringLiteral("none"));
        selection.stopBitsIndex = indexOrFirst(options.stopBits, QStringLiteral("1"));
        return selection;
    }
    selection.interfaceIndex = static_cast<int>(listed);
    // Until a COM setting says otherwise the serial lists show 9600 baud, 8 data bits, no
    // parity and one stop bit.
    selection.baudIndex = indexOrFirst(options.baudRates, QStringLiteral("9600"));
    selection.dataBitsIndex = indexOrFirst(options.dataBits, QStringLiteral("8"));
    selection.parityIndex = indexOrFirst(options.parities, QStringLiteral("none"));
    selection.stopBitsIndex = indexOrFirst(options.stopBits, QStringLiteral("1"));

    const QString address = text.mid(kindText.size() + 1);
    if (kindText.startsWith(QLatin1String("LAN"))) {
        // A damaged address, or one the port layer would refuse, keeps the defaults in the
        // controls.
        if (const std::optional<LanAddress> lan = ParseLanAddress(address)) {
            selection.ipBytes = lan->bytes;
            selection.port = lan->port;
        }
    } else if (kindText.startsWith(QLatin1String("COM"))) {
        const DecimalScan baud = ScanCDecimal(address, INT_MIN, INT_MAX);
        if (baud.digits)
            selection.baudIndex = indexOrFirst(options.baudRates, QString::number(baud.value));
        const QStringView afterBaud = QStringView(address).sliced(baud.end);
        if (baud.digits && afterBaud.startsWith(u',')) {
            const DecimalScan dataBits = ScanCDecimal(afterBaud.sliced(1), INT_MIN, INT_MAX);
            if (dataBits.digits)
                selection.dataBitsIndex = indexOrFirst(options.dataBits, QString::number(dataBits.value));
        }
        const QStringList fields = address.split(QLatin1Char(','));
        // The parity entry the port opens with: any word but "none" and "even" means odd.
        if (fields.size() > 2)
            selection.parityIndex = indexOrFirst(options.parities, ParityWord(ParityOfWord(fields[2])));
        if (fields.size() > 3)
            selection.stopBitsIndex = indexOrFirst(options.stopBits, fields[3]);
    }
    return selection;
}

QString FormatManualCode(std::uint8_t code)
{
    return QStringLiteral("HEX(%1)").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

std::uint8_t ParseManualCode(const QString& text)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1String("HEX("), Qt::CaseInsensitive))
        digits = digits.mid(4);
    return static_cast<std::uint8_t>(CHex32(digits) & 0xFF);
}

ControlCodes ControlCodesFromPage(const ControlCodeChoice& choice)
{
    if (!choice.variableControlCodes)
        return ControlCodes::forType(0);
    switch (choice.typeIndex) {
    case 2:
        return ControlCodes::forType(2);
    case 3:
        return ControlCodes::forType(3, ParseManualCode(choice.manual1), ParseManualCode(choice.manual2),
                                     ParseManualCode(choice.manual3));
    case 1:
        return ControlCodes::forType(1);
    default:
        return ControlCodes::forType(0);
    }
}

ControlCodeConflict FindControlCodeConflict(const ControlCodes& codes)
{
    if (codes.type != 3)
        return ControlCodeConflict::None;
    if (codes.code1 == codes.code2 || codes.code1 == codes.code3)
        return ControlCodeConflict::FirstCode;
    if (codes.code2 == codes.code3)
        return ControlCodeConflict::SecondCode;
    return ControlCodeConflict::None;
}

}  // namespace vormex
