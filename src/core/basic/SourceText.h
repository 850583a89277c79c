#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace vormex::basic {

// How the bytes of a BASIC source are read and which characters make up words. Chosen by the
// language setting for one encoding and kept here, never in the process locale: Japanese (1)
// reads the file as CP932 and counts kana and kanji as word characters, English (0) reads it
// as CP1252.
class SourceCharacterSet {
public:
    explicit SourceCharacterSet(int languageValue) : japanese_(languageValue == 1) {}

    bool japanese() const { return japanese_; }

    // Letters and digits of the setting's alphabet (kana and kanji under Japanese).
    bool isAlphanumeric(QChar c) const
    {
        const char16_t u = c.unicode();
        if (u < 0x80)
            return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
        return c.isLetterOrNumber();
    }
    static bool isUpperCase(QChar c)
    {
        const char16_t u = c.unicode();
        return u < 0x80 ? (u >= 'A' && u <= 'Z') : c.isUpper();
    }
    static bool isDecimalDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
    static QString toUpper(QStringView word);

private:
    bool japanese_;
};

// One line of the source: its text and the bytes it was read from, so that string literals and
// DATA text reach the image exactly as they stand in the file.
struct SourceLine {
    QString text;
    QByteArray bytes;
    // Byte offset of each character of `text`, plus one entry for the end; empty when every
    // character stands for exactly one byte.
    std::vector<int> charOffsets;

    // The bytes behind the characters [fromChar, toChar) of `text`.
    QByteArray bytesOf(qsizetype fromChar, qsizetype toChar) const;
};

// Reads the whole source into `lines`, one entry per line in file order. A line ends at a line
// feed, which is not part of it; a carriage return before the line feed is dropped. A last line
// without a line feed is still a line; the end of the file after a final line feed adds none.
// False when the file cannot be opened or read.
bool ReadSourceLines(const QString& path, const SourceCharacterSet& characters, std::vector<SourceLine>& lines);

// The same from bytes already in memory.
void SplitSourceLines(const QByteArray& content, const SourceCharacterSet& characters, std::vector<SourceLine>& lines);

}  // namespace vormex::basic
