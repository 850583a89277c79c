#include "basic/ProgramImage.h"

#include "basic/EncoderLimits.h"

#include <cstring>

namespace vormex::basic {

const ImageLayout& ImageLayout::forProgramKind(int programKind)
{
    static const ImageLayout kLarge{0x1CD00, false, 8, 0x20, 0x13900, 0x17000, 0x17600, 0x1B500, 0x1BD00,
                                    {{{0x20, 0x138E0}, {0x169F0, 0x610}, {0x17578, 0x88}, {0x1B480, 0x80},
                                      {0x1BCD0, 0x30}, {0x1CCA0, 0x60}}}};
    static const ImageLayout kSmall{0x5200, true, 4, 0x20, 0x2000, 0x3900, 0x3F00, 0x4C00, 0x4E00,
                                    {{{0x20, 0x1FE0}, {0x38F0, 0x10}, {0x3E78, 0x88}, {0x4B80, 0x80},
                                      {0x4D90, 0x70}, {0x5120, 0xE0}}}};
    return programKind == kMainProgram ? kLarge : kSmall;
}

ProgramImage::ProgramImage(const ImageLayout& layout) : layout_(&layout), bytes_(layout.imageSize, '\0')
{
    for (const ImageLayout::Range& range : layout.fillRanges)
        std::memset(bytes_.data() + range.start, 0xFF, size_t(range.length));
    if (layout.small)
        bytes_[0x0F] = 0x01;
}

void ProgramImage::release()
{
    bytes_ = QByteArray();
}

void ProgramImage::put16(qsizetype offset, std::uint32_t value)
{
    if (!fits(offset, 2))
        return;
    bytes_[offset] = char((value >> 8) & 0xFF);
    bytes_[offset + 1] = char(value & 0xFF);
}

void ProgramImage::put32(qsizetype offset, std::uint32_t value)
{
    put16(offset, value >> 16);
    put16(offset + 2, value & 0xFFFF);
}

void ProgramImage::putName(qsizetype offset, const QByteArray& name, int maxBytes)
{
    const qsizetype length = qMin<qsizetype>(name.size(), maxBytes);
    if (!fits(offset, length + 1))
        return;
    std::memcpy(bytes_.data() + offset, name.constData(), size_t(length));
    bytes_[offset + length] = '\0';
}

void ProgramImage::writeFileName(const QByteArray& name) { putName(0, name, kFileNameBytes); }

void ProgramImage::writeLineEntry(int entry, std::uint32_t lineNumber, std::uint32_t bodyOffset)
{
    const qsizetype offset = layout_->lineTable + qsizetype(entry) * layout_->lineEntrySize;
    if (offset + layout_->lineEntrySize > layout_->variableTable)
        return;
    put16(offset, lineNumber & 0xFFFF);
    if (layout_->small) {
        put16(offset + 2, bodyOffset);
    } else {
        put16(offset + 2, 0);
        put32(offset + 4, bodyOffset);
    }
}

void ProgramImage::writeHeader(std::uint32_t bodyLength, const ImageCounts& counts)
{
    qsizetype offset = 0x10;
    if (layout_->small) {
        put16(offset, bodyLength);
        offset += 2;
    } else {
        put32(offset, bodyLength);
        offset += 4;
    }
    for (const int count : {counts.lines, counts.variables, counts.arrays, counts.labels, counts.whileLoops, counts.forLoops}) {
        put16(offset, std::uint32_t(count));
        offset += 2;
    }
}

void ProgramImage::writeVariable(int entry, const QByteArray& name)
{
    const qsizetype offset = layout_->variableTable + qsizetype(entry) * kVariableEntrySize;
    if (offset + kVariableEntrySize <= layout_->arrayTable)
        putName(offset, name, kVariableNameBytes);
}

void ProgramImage::writeArray(int entry, const QByteArray& name)
{
    const qsizetype offset = layout_->arrayTable + qsizetype(entry) * kArrayEntrySize;
    if (offset + kArrayEntrySize <= layout_->labelTable)
        putName(offset, name, kVariableNameBytes);
}

void ProgramImage::writeLabel(int entry, const QByteArray& name, std::uint32_t linePosition)
{
    const qsizetype offset = layout_->labelTable + qsizetype(entry) * kLabelEntrySize;
    if (offset + kLabelEntrySize > layout_->whileTable)
        return;
    putName(offset, name, kLabelNameBytes);
    // Written after the name: they overwrite its terminator when the name has 12 bytes.
    put16(offset + 12, linePosition & 0xFFFF);
    put16(offset + 14, linePosition >> 16);
}

void ProgramImage::writeWhile(int entry, int whileLine, int wendLine)
{
    const qsizetype offset = layout_->whileTable + qsizetype(entry) * kLoopEntrySize;
    if (offset + kLoopEntrySize > layout_->forTable)
        return;
    put16(offset, std::uint32_t(whileLine));
    put16(offset + 2, std::uint32_t(wendLine));
}

void ProgramImage::writeFor(int entry, int forLine, int nextLine)
{
    const qsizetype offset = layout_->forTable + qsizetype(entry) * kLoopEntrySize;
    put16(offset, std::uint32_t(forLine));
    put16(offset + 2, std::uint32_t(nextLine));
}

qint64 DownloadAreaSize(int blockSizeKb, qint64 imageSize, qint64 bodyLength)
{
    if (blockSizeKb <= 0 || imageSize <= 0 || bodyLength <= 0)
        return 0;
    const qint64 block = qint64(blockSizeKb) * 1024;
    const qint64 total = imageSize + bodyLength;
    return (total + block - 1) / block * block;
}

}  // namespace vormex::basic
