#pragma once

#include <QByteArray>
#include <QString>

namespace vormex {

// A printer file's data area, or why it could not be built.
struct AreaResult {
    QByteArray area;
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

inline constexpr int kPrinterFileHeaderSize = 16;
// The header's length field has 16 bits.
inline constexpr int kPrinterFileMaxText = 0xFFFF;

// The data area of a file stored in the printer, `areaSize` bytes:
//   0  12 bytes   the file name, ASCII, no terminator
//   12 2 bytes    the text length L, high byte first
//   14 1 byte     0xF0
//   15 1 byte     0x02
//   16 L bytes    the text
//   then 0xFF up to the end of the area.
// A text that does not fit the area, or whose length the 16-bit field cannot hold, is refused:
// nothing truncated is ever built.
AreaResult BuildPrinterFileArea(const QByteArray& fileName, const QByteArray& text, qsizetype areaSize);

// Writes the length field and the two marker bytes of an area whose text is already in place.
void WritePrinterFileHeader(QByteArray& area, const QByteArray& fileName, int textLength);

// The text does not fit: a message that says by how much.
QString AreaTooSmallMessage(const QByteArray& fileName, qsizetype textLength, qsizetype areaSize);

}  // namespace vormex
