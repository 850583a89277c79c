#include "comm/DeviceText.h"

#include "comm/DeviceAccess.h"
#include "comm/SerialSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <variant>

namespace vormex {
namespace {

const QStringList kBaudRates = {QStringLiteral("2400"),  QStringLiteral("4800"),  QStringLiteral("9600"), QStringLiteral("19200"),
                                QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")};

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

using Parsed = std::variant<DeviceEndpoint, QString>;  // the endpoint, or why the text is not one

// The value of a run of decimal digits, leading zeros allowed; -1 when it is above `max`.
int boundedNumber(const QString& digits, int max)
{
    qint64 value = 0;
    for (const QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > max)
            return -1;
    }
    return int(value);
}

Parsed parseLan(const QString& address)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3}):([0-9]+)$"));
    static const QRegularExpression named(QStringLiteral("^([^:]+):([0-9]+)$"));
    const QRegularExpressionMatch match = form.match(address);
    const QRegularExpressionMatch hostMatch = named.match(address);
    DeviceEndpoint endpoint;
    endpoint.kind = PortKind::Lan;
    QString port;
    if (match.hasMatch()) {
        for (int i = 1; i <= 4; ++i) {
            const int number = boundedNumber(match.captured(i), 255);
            if (number < 0)
                return QStringLiteral("%1 is not a number of an IPv4 address (0 to 255)").arg(match.captured(i));
            endpoint.address[size_t(i - 1)] = number;
        }
        port = match.captured(5);
    } else if (hostMatch.hasMatch() && IsHostName(hostMatch.capturedView(1))) {
        endpoint.host = hostMatch.captured(1).toLower();  // resolved when the port opens
        port = hostMatch.captured(2);
    } else {
        return QStringLiteral("a LAN address is four numbers separated by dots, or a host name, a colon and a port (\"%1\")")
            .arg(address);
    }
    endpoint.port = boundedNumber(port, kMaxLanPort);
    if (endpoint.port < kMinLanPort)
        return QStringLiteral("port %1 is out of range (%2 to %3)").arg(port).arg(kMinLanPort).arg(kMaxLanPort);
    return endpoint;
}

std::optional<QString> checkSerialSettings(const QString& address)
{
    const QStringList fields = address.split(QLatin1Char(','));
    if (fields.size() != 4)
        return QStringLiteral("a COM port takes four settings: baud rate, data bits, parity, stop bits (\"%1\")").arg(address);
    if (!kBaudRates.contains(fields[0]))
        return QStringLiteral("%1 is not a baud rate (%2)").arg(fields[0], kBaudRates.join(QStringLiteral(", ")));
    if (fields[1] != QLatin1String("7") && fields[1] != QLatin1String("8"))
        return QStringLiteral("data bits must be 7 or 8, not \"%1\"").arg(fields[1]);
    if (fields[2] != QLatin1String("none") && fields[2] != QLatin1String("odd") && fields[2] != QLatin1String("even"))
        return QStringLiteral("parity must be none, odd or even, not \"%1\"").arg(fields[2]);
    if (fields[3] != QLatin1String("1") && fields[3] != QLatin1String("2"))
        return QStringLiteral("stop bits must be 1 or 2, not \"%1\"").arg(fields[3]);
    return std::nullopt;
}

Parsed parseUsb(const QString& address)
{
    if (!address.isEmpty() && !address.startsWith(QLatin1Char('/')))
        return QStringLiteral("a USB device is a path such as /dev/usb/lp0, not \"%1\"").arg(address);
    DeviceEndpoint endpoint;
    endpoint.kind = PortKind::Usb;
    endpoint.path = address;
    return endpoint;
}

// "COM<n>:SETTINGS" and "LPT<n>:".
Parsed parseNumbered(const QString& kind, const QString& address)
{
    static const QRegularExpression numbered(QStringLiteral("^(COM|LPT)([1-9][0-9]{0,2})$"));
    const QRegularExpressionMatch match = numbered.match(kind);
    if (!match.hasMatch())
        return QStringLiteral("unknown interface \"%1\" (LAN, COMn, LPTn or USB)").arg(kind);
    DeviceEndpoint endpoint;
    endpoint.number = match.captured(2).toInt();
    if (match.captured(1) == QLatin1String("COM")) {
        if (endpoint.number > PortMap::kMaxCom)
            return QStringLiteral("%1: COM ports are numbered 1 to %2").arg(kind).arg(PortMap::kMaxCom);
        if (const std::optional<QString> problem = checkSerialSettings(address))
            return *problem;
        endpoint.kind = PortKind::Com;
        return endpoint;
    }
    if (endpoint.number > PortMap::kMaxLpt)
        return QStringLiteral("%1: LPT ports are numbered 1 to %2").arg(kind).arg(PortMap::kMaxLpt);
    if (!address.isEmpty())
        return QStringLiteral("%1 takes nothing after the colon, not \"%2\"").arg(kind, address);
    endpoint.kind = PortKind::Lpt;
    return endpoint;
}

// The grammar of a device text: the interface before the first colon, its address after it.
Parsed parseDeviceText(const QString& text)
{
    if (text.trimmed() != text)
        return QStringLiteral("\"%1\" begins or ends with a blank").arg(text);
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return QStringLiteral("\"%1\" has no colon after the interface").arg(text);
    const QString kind = text.left(colon);
    const QString address = text.mid(colon + 1);
    if (kind == QLatin1String("LAN"))
        return parseLan(address);
    if (kind == QLatin1String("USB"))
        return parseUsb(address);
    return parseNumbered(kind, address);
}

// A USB node as the system finds it: links resolved, or the cleaned path of a node not there.
QString resolvedPath(const QString& path)
{
    if (path.isEmpty())
        return path;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

// "COM1 = /dev/ttyS0, COM2 = /dev/ttyUSB0", or "none".
QString knownPorts(const QList<PortName>& ports)
{
    QStringList known;
    for (const PortName& port : ports)
        known << QStringLiteral("%1 = %2").arg(port.name, port.devicePath);
    return known.isEmpty() ? QStringLiteral("none") : known.join(QStringLiteral(", "));
}

// A node that may not be opened for lack of rights: its group and how to get it.
QString accessAdvice(const QString& device, int error, bool writeOnly)
{
    if (error != EACCES && error != EPERM)
        return {};
    const QString advice = DeviceAccessAdvice(DeviceAccessOf(device, writeOnly), true);
    return advice.isEmpty() ? QString() : QStringLiteral("; ") + advice;
}

}  // namespace

QString DeviceTextGrammar()
{
    return QStringLiteral("A device text is one of:\n"
                          "  LAN:ADDRESS:PORT            e.g. LAN:127.0.0.1:9100 or LAN:printer-07.example:9100 (an IPv4\n"
                          "                              address or a host name; port 1 to 65535)\n"
                          "  COMn:BAUD,DATA,PARITY,STOP  e.g. COM3:9600,8,none,1 (n 1 to 256; baud 2400, 4800, 9600,\n"
                          "                              19200, 38400, 57600 or 115200; data 7 or 8; parity none, odd\n"
                          "                              or even; stop 1 or 2)\n"
                          "  LPTn:                       e.g. LPT1: (n 1 to 9)\n"
                          "  USB:DEVICE                  e.g. USB:/dev/usb/lp0");
}

std::optional<DeviceEndpoint> ParseDeviceText(const QString& text, QString* problem)
{
    Parsed parsed = parseDeviceText(text);
    if (auto* why = std::get_if<QString>(&parsed)) {
        if (problem)
            *problem = std::move(*why);
        return std::nullopt;
    }
    return std::get<DeviceEndpoint>(std::move(parsed));
}

std::optional<QString> CheckDeviceText(const QString& text)
{
    QString problem;
    if (ParseDeviceText(text, &problem))
        return std::nullopt;
    return problem;
}

bool SameEndpoint(const DeviceEndpoint& a, const DeviceEndpoint& b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case PortKind::Lan:
        return a.address == b.address && a.host == b.host && a.port == b.port;
    case PortKind::Com:
    case PortKind::Lpt:
        return a.number == b.number;
    case PortKind::Usb:
        return resolvedPath(a.path) == resolvedPath(b.path);
    case PortKind::Closed:
        break;
    }
    return true;
}

QString DescribeUnusableDeviceText(const QString& deviceInfo)
{
    return QStringLiteral("the device text \"%1\" is not usable (an interface, a colon and an address)").arg(deviceInfo);
}

QString DescribeOpenFailure(const DeviceInfoParts& parts, int error, const PortMap& portMap)
{
    switch (PortKindOf(parts.kind)) {
    case PortKind::Lan: {
        const std::optional<LanAddress> lan = ParseLanAddress(parts.address);
        if (!lan)
            return QStringLiteral("LAN:%1: not a usable address and port").arg(parts.address);
        const QString where = QStringLiteral("%1:%2").arg(lan->hostText()).arg(lan->port);
        if (error == ECONNREFUSED)
            return QStringLiteral("connection refused by %1 (nothing listens there)").arg(where);
        if (error == ETIMEDOUT)
            return QStringLiteral("no answer from %1 (the connection timed out)").arg(where);
        return QStringLiteral("%1: %2").arg(where, systemError(error));
    }
    case PortKind::Com:
    case PortKind::Lpt: {
        const bool serial = PortKindOf(parts.kind) == PortKind::Com;
        const QString device = portMap.devicePath(parts.kind);
        if (device.isEmpty()) {
            return QStringLiteral("%1 is not a %2 port here (known: %3; map names in [Ports])")
                .arg(parts.kind, serial ? QStringLiteral("serial") : QStringLiteral("parallel"),
                     knownPorts(serial ? portMap.serialPorts() : portMap.parallelPorts()));
        }
        if (serial && error == EINVAL && !ParseSerialAddress(parts.address))
            return QStringLiteral("%1: the serial settings \"%2\" are not usable").arg(parts.kind, parts.address);
        return QStringLiteral("%1 (%2): %3").arg(parts.kind, device, systemError(error)) + accessAdvice(device, error, !serial);
    }
    case PortKind::Usb:
        if (parts.address.isEmpty())
            return QStringLiteral("no USB printer chosen: give its device path, e.g. USB:/dev/usb/lp0");
        return QStringLiteral("%1: %2").arg(parts.address, systemError(error)) + accessAdvice(parts.address, error, false);
    case PortKind::Closed:
        break;
    }
    return systemError(error);
}

}  // namespace vormex
