#include "base/PrinterFileArea.h"

#include <algorithm>

namespace vormex {

QString AreaTooSmallMessage(const QByteArray& fileName, qsizetype textLength, qsizetype areaSize)
{
    const qsizetype room = std::min<qsizetype>(std::max<qsizetype>(areaSize - kPrinterFileHeaderSize, 0), kPrinterFileMaxText);
    return QStringLiteral("%1: the text of %2 bytes does not fit the printer file (at most %3 bytes)")
        .arg(QString::fromLatin1(fileName))
        .arg(textLength)
        .arg(room);
}

void WritePrinterFileHeader(QByteArray& area, const QByteArray& fileName, int textLength)
{
    for (int i = 0; i < 12; ++i)
        area[i] = i < fileName.size() ? fileName[i] : ' ';
    area[12] = char((textLength >> 8) & 0xFF);
    area[13] = char(textLength & 0xFF);
    area[14] = char(0xF0);
    area[15] = char(0x02);
}

AreaResult BuildPrinterFileArea(const QByteArray& fileName, const QByteArray& text, qsizetype areaSize)
{
    AreaResult result;
    if (areaSize < kPrinterFileHeaderSize || text.size() > areaSize - kPrinterFileHeaderSize
        || text.size() > kPrinterFileMaxText) {
        result.error = AreaTooSmallMessage(fileName, text.size(), areaSize);
        return result;
    }
    result.area = QByteArray(areaSize, char(0xFF));
    std::copy(text.begin(), text.end(), result.area.begin() + kPrinterFileHeaderSize);
    WritePrinterFileHeader(result.area, fileName, int(text.size()));
    return result;
}

}  // namespace vormex
