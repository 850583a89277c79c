#include "pages/PrinterSettingsModel.h"

#include "base/Numbers.h"
#include "base/SettingNames.h"
#include "comm/DeviceInfo.h"
#include "comm/PortMap.h"
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
    if (entry.startsWith(QLatin1String("LAN")) && !choice.host.isEmpty())
        return QStringLiteral("LAN:%1:%2").arg(choice.host).arg(choice.port);
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

bool IsPortName(const QString& name)
{
    const int number = PortMap::portNumber(name);
    if (name.startsWith(QLatin1String("COM")))
        return number >= 1 && number <= PortMap::kMaxCom && name == QStringLiteral("COM%1").arg(number);
    if (name.startsWith(QLatin1String("LPT")))
        return number >= 1 && number <= PortMap::kMaxLpt && name == QStringLiteral("LPT%1").arg(number);
    return false;
}

int MissingPortPosition(const QStringList& interfaces, const QString& portName)
{
    const QString kind = portName.left(3);
    const int number = PortMap::portNumber(portName);
    int afterSameKind = -1;
    for (int i = 0; i < interfaces.size(); ++i) {
        if (!interfaces[i].startsWith(kind))
            continue;
        if (PortMap::portNumber(interfaces[i]) > number)
            return i;
        afterSameKind = i + 1;
    }
    if (afterSameKind >= 0)
        return afterSameKind;
    if (kind == QLatin1String("COM")) {
        for (int i = 0; i < interfaces.size(); ++i) {
            if (interfaces[i].startsWith(QLatin1String("LPT")))
                return i;
        }
    }
    return static_cast<int>(interfaces.size());
}

namespace {

void selectSerialSettings(InterfaceSelection& selection, const QString& address, const SerialOptions& options)
{
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

}  // namespace

InterfaceSelection SelectInterface(const QString& deviceInfo, const QStringList& interfaces, bool usbPresent,
                                   const SerialOptions& options)
{
    InterfaceSelection selection;
    // Until a COM setting says otherwise the serial lists show 9600 baud, 8 data bits, no
    // parity and one stop bit.
    selection.baudIndex = indexOrFirst(options.baudRates, QStringLiteral("9600"));
    selection.dataBitsIndex = indexOrFirst(options.dataBits, QStringLiteral("8"));
    selection.parityIndex = indexOrFirst(options.parities, QStringLiteral("none"));
    selection.stopBitsIndex = indexOrFirst(options.stopBits, QStringLiteral("1"));

    const qsizetype colon = deviceInfo.indexOf(QLatin1Char(':'));
    const QString kindText = deviceInfo.left(colon);
    const QString address = colon < 0 ? QString() : deviceInfo.mid(colon + 1);
    const bool isUsb = kindText == QLatin1String("USB");
    const qsizetype listed = colon < 0 ? -1 : interfaces.indexOf(kindText);

    if (listed >= 0 && !(isUsb && !usbPresent)) {
        selection.interfaceIndex = static_cast<int>(listed);
    } else if (colon >= 0 && IsPortName(kindText)) {
        selection.missingPort = kindText;
        selection.interfaceIndex = MissingPortPosition(interfaces, kindText);
    } else {
        // USB without a printer, or no interface at all: LAN with the default address, stored
        // so that the page, the header and the actions agree.
        selection.interfaceIndex = static_cast<int>(std::max<qsizetype>(interfaces.indexOf(QStringLiteral("LAN")), 0));
        selection.replacementDeviceInfo = DefaultDeviceInfo();
        return selection;
    }

    if (kindText.startsWith(QLatin1String("LAN"))) {
        // A damaged address, or one the port layer would refuse, keeps the defaults in the
        // controls.
        if (const std::optional<LanAddress> lan = ParseLanAddress(address)) {
            selection.ipBytes = lan->host.isEmpty() ? lan->bytes : DefaultIpBytes();
            selection.host = lan->host;
            selection.port = lan->port;
        }
    } else if (kindText.startsWith(QLatin1String("COM"))) {
        selectSerialSettings(selection, address, options);
    }
    return selection;
}

IpAddressCheck CheckIpAddress(const QString& text)
{
    IpAddressCheck check;
    if (text.isEmpty()) {
        check.problem = IpAddressProblem::WrongForm;
        return check;
    }
    const QStringList parts = text.split(QLatin1Char('.'));
    for (const QString& part : parts) {
        for (const QChar c : part) {
            if (c < u'0' || c > u'9') {
                check.problem = IpAddressProblem::WrongForm;
                return check;
            }
        }
    }
    for (int i = 0; i < parts.size() && i < 4; ++i) {
        const QString& part = parts[i];
        if (part.isEmpty()) {
            check.problem = IpAddressProblem::MissingNumber;
            check.position = i + 1;
            return check;
        }
        const std::optional<int> value = ParseWholeNumber(part);
        if (!value || *value > 255) {
            check.problem = IpAddressProblem::TooLarge;
            check.number = part;
            return check;
        }
        check.bytes[static_cast<size_t>(i)] = *value;
    }
    if (parts.size() != 4)
        check.problem = IpAddressProblem::WrongForm;
    return check;
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
