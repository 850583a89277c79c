#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace vormex::basic {

// Where the printer's interpreter expects each part of an encoded program: the large layout
// for the main program, the small one for the system-mode program.
struct ImageLayout {
    int imageSize;
    bool small;
    int lineEntrySize;      // 8 (large) or 4 (small)
    int lineTable;
    int variableTable;      // entries of 24 bytes
    int arrayTable;         // entries of 28 bytes
    int labelTable;         // entries of 16 bytes
    int whileTable;         // entries of 4 bytes
    int forTable;           // entries of 4 bytes
    struct Range {
        int start;
        int length;
    };
    std::array<Range, 6> fillRanges;  // set to 0xFF before anything is written

    static const ImageLayout& forProgramKind(int programKind);
};

inline constexpr int kVariableEntrySize = 24;
inline constexpr int kArrayEntrySize = 28;
inline constexpr int kLabelEntrySize = 16;
inline constexpr int kLoopEntrySize = 4;
inline constexpr int kVariableNameBytes = 16;
inline constexpr int kLabelNameBytes = 12;
inline constexpr int kFileNameBytes = 12;

// The counts of the header.
struct ImageCounts {
    int lines = 0;
    int variables = 0;
    int arrays = 0;
    int labels = 0;
    int whileLoops = 0;
    int forLoops = 0;
};

// The fixed-size image of one program: header, line table and the five name and link tables.
// Every write stays inside the image; one that would not fit is dropped.
class ProgramImage {
public:
    ProgramImage() = default;
    explicit ProgramImage(const ImageLayout& layout);

    const ImageLayout* layout() const { return layout_; }
    const QByteArray& bytes() const { return bytes_; }
    int size() const { return int(bytes_.size()); }
    void release();

    // Bytes 0 to 12: the file name, cut to 12 bytes, NUL-terminated.
    void writeFileName(const QByteArray& name);
    void writeLineEntry(int entry, std::uint32_t lineNumber, std::uint32_t bodyOffset);
    void writeHeader(std::uint32_t bodyLength, const ImageCounts& counts);
    void writeVariable(int entry, const QByteArray& name);
    void writeArray(int entry, const QByteArray& name);
    void writeLabel(int entry, const QByteArray& name, std::uint32_t linePosition);
    void writeWhile(int entry, int whileLine, int wendLine);
    void writeFor(int entry, int forLine, int nextLine);

private:
    void put16(qsizetype offset, std::uint32_t value);
    void put32(qsizetype offset, std::uint32_t value);
    void putName(qsizetype offset, const QByteArray& name, int maxBytes);
    bool fits(qsizetype offset, qsizetype length) const { return offset >= 0 && offset + length <= bytes_.size(); }

    const ImageLayout* layout_ = nullptr;
    QByteArray bytes_;
};

// The data area of a BASIC item for download: the image and the body rounded up to whole
// storage blocks of `blockSizeKb` KB. 0 when the image or the body is empty, or the block size
// is not positive.
qint64 DownloadAreaSize(int blockSizeKb, qint64 imageSize, qint64 bodyLength);

}  // namespace vormex::basic
