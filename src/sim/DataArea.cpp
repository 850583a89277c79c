#include "DataArea.h"

#include "basic/EncoderLimits.h"
#include "basic/ProgramImage.h"

namespace vormex::sim {
namespace {

constexpr qsizetype kTextHeaderSize = 16;
constexpr qsizetype kProgramNameField = 13;
constexpr qsizetype kProgramKindByte = 0x0F;
constexpr qsizetype kBodyLengthOffset = 0x10;

unsigned byteAt(const QByteArray& bytes, qsizetype offset) { return static_cast<unsigned char>(bytes[offset]); }

quint32 bigEndian(const QByteArray& bytes, qsizetype offset, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | byteAt(bytes, offset + i);
    return value;
}

bool holdsTextFile(const QByteArray& area)
{
    return area.size() >= kTextHeaderSize && byteAt(area, 14) == 0xF0 && byteAt(area, 15) == 0x02;
}

// The image's name field ends with a NUL at byte 12 at the latest, and two zero bytes follow it.
bool holdsProgram(const QByteArray& area)
{
    return area.size() >= kBodyLengthOffset + 4 && byteAt(area, 12) == 0 && byteAt(area, 13) == 0
        && byteAt(area, 14) == 0 && byteAt(area, kProgramKindByte) <= 1;
}

std::optional<DataArea> readTextFile(const QByteArray& area, QString& problem)
{
    const qsizetype length = bigEndian(area, 12, 2);
    if (kTextHeaderSize + length > area.size()) {
        problem = QStringLiteral("a text of %1 bytes does not fit an area of %2 bytes").arg(length).arg(area.size());
        return std::nullopt;
    }
    QByteArray rawName = area.left(12);
    while (!rawName.isEmpty() && (rawName.endsWith('\0') || rawName.endsWith(' ') || rawName.endsWith('\xFF')))
        rawName.chop(1);
    return DataArea{DataArea::Kind::TextFile, QString::fromLatin1(rawName), area.mid(kTextHeaderSize, length)};
}

std::optional<DataArea> readProgram(const QByteArray& area, QString& problem)
{
    const bool main = byteAt(area, kProgramKindByte) == 0;
    const basic::ImageLayout& layout = basic::ImageLayout::forProgramKind(main ? basic::kMainProgram : basic::kSystemModeProgram);
    const qsizetype bodyLength = bigEndian(area, kBodyLengthOffset, main ? 4 : 2);
    const qsizetype programSize = layout.imageSize + bodyLength;
    if (bodyLength == 0 || programSize > area.size()) {
        problem = QStringLiteral("a program image of %1 bytes with a body of %2 bytes does not fit an area of %3 bytes")
                      .arg(layout.imageSize).arg(bodyLength).arg(area.size());
        return std::nullopt;
    }
    const QByteArray nameField = area.left(kProgramNameField);
    const QString name = QString::fromLatin1(nameField.left(nameField.indexOf('\0')));
    return DataArea{main ? DataArea::Kind::MainProgram : DataArea::Kind::SystemModeProgram, name, area.left(programSize)};
}

}  // namespace

QString DataArea::describe() const
{
    switch (kind) {
    case Kind::MainProgram:
        return QStringLiteral("BASIC main program, %1 bytes of image and body").arg(content.size());
    case Kind::SystemModeProgram:
        return QStringLiteral("BASIC system-mode program, %1 bytes of image and body").arg(content.size());
    case Kind::TextFile:
        break;
    }
    return QStringLiteral("%1 bytes of text").arg(content.size());
}

std::optional<DataArea> DataArea::read(const QByteArray& area, QString& problem)
{
    if (holdsTextFile(area))
        return readTextFile(area, problem);
    if (holdsProgram(area))
        return readProgram(area, problem);
    problem = QStringLiteral("the area holds neither a text file nor a program image");
    return std::nullopt;
}

}  // namespace vormex::sim
