#include "basic/SourceText.h"

#include "codec/Codec.h"

#include <QFile>

namespace vormex::basic {
namespace {

bool isAscii(const QByteArray& bytes)
{
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return false;
    }
    return true;
}

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Start offsets of the characters of a CP932 text: one byte, or a lead byte and its trail byte.
std::vector<int> cp932CharacterStarts(const QByteArray& bytes)
{
    std::vector<int> starts;
    starts.reserve(bytes.size());
    for (int i = 0; i < bytes.size();) {
        starts.push_back(i);
        const bool pair = isLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size()
                          && isTrailByte(static_cast<unsigned char>(bytes[i + 1]));
        i += pair ? 2 : 1;
    }
    return starts;
}

// Decodes character by character, so that every decoded character knows its bytes even when the
// converter turns a bad sequence into more than one character.
void decodeByCharacter(SourceLine& line, const std::vector<int>& starts, bool japanese)
{
    line.text.clear();
    line.charOffsets.clear();
    for (size_t n = 0; n < starts.size(); ++n) {
        const int begin = starts[n];
        const int end = n + 1 < starts.size() ? starts[n + 1] : int(line.bytes.size());
        const QByteArray piece = line.bytes.mid(begin, end - begin);
        const QString decoded = japanese ? codec::fromPrinterCodePage(piece) : codec::fromCp1252(piece);
        for (qsizetype k = 0; k < decoded.size(); ++k) {
            line.text.append(decoded[k]);
            line.charOffsets.push_back(decoded.size() == piece.size() ? begin + int(k) : begin);
        }
    }
    line.charOffsets.push_back(int(line.bytes.size()));
}

void decodeLine(SourceLine& line, const SourceCharacterSet& characters)
{
    if (isAscii(line.bytes)) {
        line.text = QString::fromLatin1(line.bytes);
        return;
    }
    if (!characters.japanese()) {
        line.text = codec::fromCp1252(line.bytes);
        if (line.text.size() == line.bytes.size())
            return;
        std::vector<int> starts(line.bytes.size());
        for (int i = 0; i < line.bytes.size(); ++i)
            starts[i] = i;
        decodeByCharacter(line, starts, false);
        return;
    }
    const std::vector<int> starts = cp932CharacterStarts(line.bytes);
    line.text = codec::fromPrinterCodePage(line.bytes);
    if (line.text.size() != qsizetype(starts.size())) {
        decodeByCharacter(line, starts, true);
        return;
    }
    line.charOffsets = starts;
    line.charOffsets.push_back(int(line.bytes.size()));
}

}  // namespace

QString SourceCharacterSet::toUpper(QStringView word)
{
    QString upper(word.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        if (u >= 0x80)
            return word.toString().toUpper();
        upper[i] = QChar(u >= 'a' && u <= 'z' ? char16_t(u - 0x20) : u);
    }
    return upper;
}

QByteArray SourceLine::bytesOf(qsizetype fromChar, qsizetype toChar) const
{
    if (toChar <= fromChar)
        return {};
    if (charOffsets.empty())
        return bytes.mid(fromChar, toChar - fromChar);
    const int begin = charOffsets[size_t(fromChar)];
    const int end = charOffsets[size_t(toChar)];
    return bytes.mid(begin, end - begin);
}

void SplitSourceLines(const QByteArray& content, const SourceCharacterSet& characters, std::vector<SourceLine>& lines)
{
    lines.clear();
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0)
            end = content.size();
        qsizetype length = end - start;
        if (end < content.size() && length > 0 && content[end - 1] == '\r')
            --length;
        SourceLine line;
        line.bytes = content.mid(start, length);
        decodeLine(line, characters);
        lines.push_back(std::move(line));
        start = next;
    }
}

bool ReadSourceLines(const QString& path, const SourceCharacterSet& characters, std::vector<SourceLine>& lines)
{
    lines.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    // A text file ends at the first Ctrl-Z (0x1A), as old editors wrote it; the byte cannot be
    // part of a Shift-JIS character.
    const qsizetype endOfText = content.indexOf('\x1A');
    if (endOfText >= 0)
        content.truncate(endOfText);
    SplitSourceLines(content, characters, lines);
    return true;
}

}  // namespace vormex::basic
