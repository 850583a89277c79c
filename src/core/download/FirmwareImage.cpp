#include "download/FirmwareImage.h"

#include "base/Format.h"
#include "codec/Codec.h"

#include <QFile>

namespace vormex {
namespace {

constexpr qint64 kArHeaderSize = 288;
// The shortest image taken: it holds the start address 252 bytes before its end. The request's
// two bytes 254 and 253 before the end are read from the prepared bytes, so for a file of 252 or
// 253 bytes they come from the store prefix in front of it.
constexpr qint64 kShortestImage = 252;

std::uint32_t bigEndian32(const QByteArray& bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

QString trimmedText(const QByteArray& bytes, qsizetype at, qsizetype length)
{
    return codec::fromPrinterCodePage(bytes.mid(at, length), codec::StopAtNul::Yes).trimmed();
}

}  // namespace

PreparedFirmware PrepareFirmwareImage(const QString& path, const ControlCodes& codes)
{
    PreparedFirmware prepared;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prepared.error = file.errorString();
        return prepared;
    }
    const QByteArray head = file.peek(3);
    qint64 skip = head.size() == 3 && head[1] == 'A' && head[2] == 'R' ? kArHeaderSize : 0;
    const qint64 bodyLength = file.size() - skip;
    if (bodyLength < kShortestImage) {
        prepared.error = QStringLiteral("%1: too short for a firmware image").arg(path);
        return prepared;
    }
    // One buffer for prefix and body: a large image is held once, not copied.
    QByteArray image(4 + bodyLength, Qt::Uninitialized);
    image[0] = static_cast<char>(codes.code1);
    image[1] = 'L';
    image[2] = 'P';
    image[3] = ';';
    if (!file.seek(skip) || file.read(image.data() + 4, bodyLength) != bodyLength) {
        prepared.error = file.errorString();
        return prepared;
    }
    const qsizetype end = image.size();
    prepared.request.reserve(13);
    prepared.request.append(static_cast<char>(codes.code1));
    prepared.request.append("LD;", 3);
    prepared.request.append(image.constData() + end - 252, 4);
    prepared.request.append(',');
    prepared.request.append(image.constData() + end - 254, 2);
    prepared.request.append(static_cast<char>(codes.code2));
    prepared.request.append(static_cast<char>(codes.code3));
    prepared.startAddress = bigEndian32(image, end - 252);
    prepared.image = std::move(image);
    prepared.result = 1;
    return prepared;
}

qint64 FirmwareBytesInTotal(qint64 preparedLength)
{
    if (preparedLength < 4)
        return 0;
    return (preparedLength - 4) & ~static_cast<qint64>(0x100);
}

FirmwareTrailer ReadFirmwareTrailer(const QByteArray& image)
{
    FirmwareTrailer trailer;
    const qsizetype n = image.size();
    if (n < 256)
        return trailer;
    trailer.present = true;
    trailer.model = trimmedText(image, n - 208, 12);
    trailer.version = trimmedText(image, n - 192, 5);
    const QString date = trimmedText(image, n - 224, 9);
    if (date.size() == 9)
        trailer.date = date.mid(2, 3) + QLatin1Char('.') + date.left(2) + QLatin1Char('.') + date.mid(5, 4);
    trailer.address = cformat(QStringLiteral("%08X"), bigEndian32(image, n - 252));
    trailer.size = cformat(QStringLiteral("%08X"), bigEndian32(image, n - 256));
    return trailer;
}

}  // namespace vormex
