#include "comm/SerialSettings.h"

#include "base/Numbers.h"

#include <QStringList>

#include <termios.h>

namespace vormex {
namespace {

speed_t speedOf(int baudRate)
{
    switch (baudRate) {
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

}  // namespace

SerialSettings::Parity ParityOfWord(const QString& word)
{
    if (word == QLatin1String("none"))
        return SerialSettings::Parity::None;
    if (word == QLatin1String("even"))
        return SerialSettings::Parity::Even;
    return SerialSettings::Parity::Odd;
}

QString ParityWord(SerialSettings::Parity parity)
{
    switch (parity) {
    case SerialSettings::Parity::None: return QStringLiteral("none");
    case SerialSettings::Parity::Even: return QStringLiteral("even");
    case SerialSettings::Parity::Odd: break;
    }
    return QStringLiteral("odd");
}

std::optional<SerialSettings> ParseSerialAddress(const QString& address)
{
    const QStringList fields = address.split(QLatin1Char(','));
    if (fields.size() < 4)
        return std::nullopt;
    SerialSettings settings;
    settings.baudRate = CDecimal(fields[0]);
    settings.dataBits = CDecimal(fields[1]);
    settings.parity = ParityOfWord(fields[2]);
    settings.stopBits = CDecimal(fields[3]);
    if (speedOf(settings.baudRate) == B0)
        return std::nullopt;
    if (settings.dataBits != 7 && settings.dataBits != 8)
        return std::nullopt;
    if (settings.stopBits != 1 && settings.stopBits != 2)
        return std::nullopt;
    return settings;
}

void ApplySerialSettings(termios& tio, const SerialSettings& settings, bool flowControl)
{
    cfmakeraw(&tio);
    cfsetispeed(&tio, speedOf(settings.baudRate));
    cfsetospeed(&tio, speedOf(settings.baudRate));
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CREAD | CLOCAL | HUPCL;
    tio.c_cflag |= settings.dataBits == 7 ? CS7 : CS8;
    if (settings.parity != SerialSettings::Parity::None) {
        tio.c_cflag |= PARENB;
        if (settings.parity == SerialSettings::Parity::Odd)
            tio.c_cflag |= PARODD;
        tio.c_iflag |= INPCK;
    } else {
        tio.c_iflag &= ~INPCK;
    }
    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (flowControl) {
        tio.c_cflag |= CRTSCTS;
        tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = 0x11;
        tio.c_cc[VSTOP] = 0x13;
    }
    // Reads are bounded with poll(); the driver returns whatever has arrived.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

}  // namespace vormex
