#pragma once

#include "base/StringTable.h"
#include "basic/BasicEncoder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace vormex::test {

// The encoder's messages as the printer tool shows them, by number.
const std::vector<std::pair<int, const char*>>& encoderMessageTexts();

// The table the encoder reads its keywords and messages from.
StringTable encoderStrings();

// Bytes from a list of numbers, for expected records.
QByteArray bytes(std::initializer_list<int> values);

// Source lines joined with CR LF, as a BASIC file stores them.
QByteArray source(const QStringList& lines);

// Encodes source bytes; the file name in the image is "TEST.BAS".
struct Encoded {
    int ok = 0;
    QString error;
    QByteArray image;
    QByteArray body;
    std::vector<BasicEncoder::LineRecord> records;
};
Encoded encode(const QByteArray& text, int programKind = basic::kMainProgram, int languageValue = 1);

// Big-endian numbers read from an image.
int word16(const QByteArray& image, int offset);
std::uint32_t word32(const QByteArray& image, int offset);

}  // namespace vormex::test
