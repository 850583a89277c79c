#include "EncoderFixture.h"

#include "base/ImageChecksum.h"
#include "basic/FileAccess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstring>

using namespace vormex;
using namespace vormex::test;

namespace {

void put16(QByteArray& image, int offset, int value)
{
    image[offset] = char((value >> 8) & 0xFF);
    image[offset + 1] = char(value & 0xFF);
}

void fill(QByteArray& image, std::initializer_list<std::pair<int, int>> ranges)
{
    for (const auto& [start, length] : ranges)
        std::memset(image.data() + start, 0xFF, size_t(length));
}

const QStringList kWorkedExample{"10 FOR I=1 TO 3", "20 PRINT \"A\";I", "30 NEXT I"};
const QByteArray kWorkedBody = bytes({0x0B, 0xB2, 0x00, 0x03, 0x07, 0x00, 0x33, 0x02, 0x01, 0xBD, 0x02, 0x03, 0x00,  //
                                      0x07, 0x8A, 0x00, 0x01, 0x41, 0x34, 0x07, 0x00, 0x00,                    //
                                      0x05, 0xBA, 0x00, 0x01, 0x07, 0x00, 0x00});

TEST(ProgramImage, WorkedExampleInTheSmallLayout)
{
    const Encoded result = encode(source(kWorkedExample), basic::kSystemModeProgram);
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.body.toHex(' '), kWorkedBody.toHex(' '));

    QByteArray expected(0x5200, '\0');
    fill(expected, {{0x20, 0x1FE0}, {0x38F0, 0x10}, {0x3E78, 0x88}, {0x4B80, 0x80}, {0x4D90, 0x70}, {0x5120, 0xE0}});
    std::memcpy(expected.data(), "TEST.BAS", 8);
    expected[0x0F] = 0x01;
    put16(expected, 0x10, 29);  // body length
    for (const auto& [offset, count] : {std::pair{0x12, 3}, {0x14, 1}, {0x16, 0}, {0x18, 0}, {0x1A, 0}, {0x1C, 1}})
        put16(expected, offset, count);
    put16(expected, 0x1E, 0);
    for (const auto& [entry, number, offset] : {std::tuple{0, 10, 0}, {1, 20, 13}, {2, 30, 22}}) {
        put16(expected, 0x20 + 4 * entry, number);
        put16(expected, 0x22 + 4 * entry, offset);
    }
    expected[0x2000] = 'I';
    put16(expected, 0x4E00, 0);  // FOR on line 0, its NEXT on line 2
    put16(expected, 0x4E02, 2);
    ASSERT_EQ(result.image.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        ASSERT_EQ(quint8(result.image[i]), quint8(expected[i])) << "at offset 0x" << std::hex << i;
}

TEST(ProgramImage, WorkedExampleInTheLargeLayout)
{
    const Encoded result = encode(source(kWorkedExample), basic::kMainProgram);
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.body, kWorkedBody);

    QByteArray expected(0x1CD00, '\0');
    fill(expected, {{0x20, 0x138E0}, {0x169F0, 0x610}, {0x17578, 0x88}, {0x1B480, 0x80}, {0x1BCD0, 0x30}, {0x1CCA0, 0x60}});
    std::memcpy(expected.data(), "TEST.BAS", 8);
    put16(expected, 0x10, 0);
    put16(expected, 0x12, 29);
    for (const auto& [offset, count] : {std::pair{0x14, 3}, {0x16, 1}, {0x18, 0}, {0x1A, 0}, {0x1C, 0}, {0x1E, 1}})
        put16(expected, offset, count);
    for (const auto& [entry, number, offset] : {std::tuple{0, 10, 0}, {1, 20, 13}, {2, 30, 22}}) {
        put16(expected, 0x20 + 8 * entry, number);
        put16(expected, 0x22 + 8 * entry, 0);
        put16(expected, 0x24 + 8 * entry, 0);
        put16(expected, 0x26 + 8 * entry, offset);
    }
    expected[0x13900] = 'I';
    put16(expected, 0x1BD00, 0);
    put16(expected, 0x1BD02, 2);
    ASSERT_EQ(result.image.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        ASSERT_EQ(quint8(result.image[i]), quint8(expected[i])) << "at offset 0x" << std::hex << i;
}

TEST(ProgramImage, ProgramOfOneEnd)
{
    const Encoded result = encode("END", basic::kSystemModeProgram);
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    EXPECT_EQ(result.body, bytes({0x01, 0xB1, 0x00}));
    EXPECT_EQ(word16(result.image, 0x20), 1);  // the line's ordinal stands in for its number
    EXPECT_EQ(word16(result.image, 0x22), 0);
    EXPECT_EQ(word16(result.image, 0x24), 0xFFFF);
    EXPECT_EQ(result.image.mid(0x10, 0x10), bytes({0, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ProgramImage, TablesOfNamesLabelsAndLoops)
{
    const QStringList lines{"*LABEL_NAME12", "WHILE A", "FOR I=1 TO 2", "A$(1)=\"\"", "NEXT", "WEND",
                            "*TWELVECHARS", "LONGVARIABLENAME17=1", "END"};
    const Encoded result = encode(source(lines), basic::kMainProgram);
    ASSERT_EQ(result.ok, 1) << qPrintable(result.error);
    const QByteArray& image = result.image;
    // Header counts: lines, variables, arrays, labels, WHILE, FOR.
    EXPECT_EQ(image.mid(0x14, 12), bytes({0, 9, 0, 3, 0, 1, 0, 2, 0, 1, 0, 1}));
    // Variables A, I and the long name cut to 16 bytes with its terminator.
    EXPECT_EQ(image.mid(0x13900, 24), "A" + QByteArray(23, '\0'));
    EXPECT_EQ(image.mid(0x13918, 2), QByteArray("I\0", 2));
    EXPECT_EQ(image.mid(0x13930, 24), "LONGVARIABLENAME" + QByteArray(8, '\0'));
    EXPECT_EQ(image.mid(0x17000, 3), QByteArray("A$\0", 3));
    // Labels: a 12-character name loses its terminator to the line position.
    EXPECT_EQ(image.mid(0x17600, 16), "LABEL_NAME12" + bytes({0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(image.mid(0x17610, 16), "TWELVECHARS" + bytes({0x00, 0x00, 0x07, 0x00, 0x00}));
    EXPECT_EQ(image.mid(0x1B500, 4), bytes({0, 1, 0, 5}));
    EXPECT_EQ(image.mid(0x1BD00, 4), bytes({0, 2, 0, 4}));
    // Slack of the tables.
    EXPECT_EQ(quint8(image[0x1B480]), 0xFF);
    EXPECT_EQ(quint8(image[0x1B47F]), 0x00);
}

TEST(ProgramImage, FileNameIsCutTo12Bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LONGPROGRAMNAME.BAS"));
    writeFile(path, "END\r\n");
    BasicEncoder encoder(encoderStrings(), 0);
    ASSERT_EQ(encoder.EncodeProgram(path, basic::kMainProgram), 1);
    EXPECT_EQ(encoder.image().left(14), QByteArray("LONGPROGRAMN\0\0", 14));
}

TEST(ProgramImage, ComposeWritesImageBodyAndFillsWholeBlocks)
{
    BasicEncoder encoder(encoderStrings(), 1);
    ASSERT_EQ(encoder.EncodeProgramBytes(source(kWorkedExample), QStringLiteral("A.BAS"), basic::kSystemModeProgram), 1);
    const QByteArray image = encoder.image();
    const QByteArray body = encoder.body();
    EXPECT_EQ(encoder.downloadAreaSize(0), 0);
    EXPECT_EQ(encoder.downloadAreaSize(64), 65536);
    EXPECT_EQ(encoder.downloadAreaSize(4), 24576);  // 20992 + 29 bytes in blocks of 4096

    QByteArray area(24576, '\x55');
    EXPECT_EQ(encoder.ComposeDownloadImage(4, area.data(), 24575), 0) << "too small";
    EXPECT_EQ(area, QByteArray(24576, '\x55'));
    EXPECT_EQ(encoder.ComposeDownloadImage(0, area.data(), area.size()), 0);
    ASSERT_EQ(encoder.ComposeDownloadImage(4, area.data(), area.size()), 1);
    EXPECT_EQ(area.left(0x5200), image);
    EXPECT_EQ(area.mid(0x5200, body.size()), body);
    EXPECT_EQ(area.mid(0x5200 + body.size()), QByteArray(24576 - 0x5200 - body.size(), '\xFF'));
    // The encoder is emptied: a second compose has nothing to give.
    EXPECT_EQ(encoder.imageSize(), 0);
    EXPECT_EQ(encoder.ComposeDownloadImage(4, area.data(), area.size()), 0);
}

TEST(ProgramImage, DownloadAreaSize)
{
    EXPECT_EQ(basic::DownloadAreaSize(64, 0x1CD00, 1), 2 * 65536);
    EXPECT_EQ(basic::DownloadAreaSize(64, 0x1CD00, 0x20000 - 0x1CD00), 2 * 65536);
    EXPECT_EQ(basic::DownloadAreaSize(64, 0x1CD00, 0x20000 - 0x1CD00 + 1), 3 * 65536);
    EXPECT_EQ(basic::DownloadAreaSize(128, 0x5200, 3), 131072);
    EXPECT_EQ(basic::DownloadAreaSize(64, 0, 3), 0);
    EXPECT_EQ(basic::DownloadAreaSize(64, 0x5200, 0), 0);
    EXPECT_EQ(basic::DownloadAreaSize(-1, 0x5200, 3), 0);
}

TEST(ProgramImage, ChecksumMakesTheAreaSumToZero)
{
    const QByteArray area = bytes({0x01, 0xFF, 0x80, 0x7F});
    const quint8 sum = quint8(0x01 + 0xFF + 0x80 + 0x7F);
    EXPECT_EQ(ImageChecksum(area), quint8(-sum));
}

TEST(FileAccess, LengthAndWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.bin"));
    writeFile(path, "abcde");
    EXPECT_EQ(FileLength(path), 5);
    EXPECT_EQ(FileLength(dir.filePath(QStringLiteral("missing"))), -1);
    char buffer[8] = {};
    EXPECT_EQ(ReadWholeFile(path, buffer, 4), 0) << "longer than the buffer";
    ASSERT_EQ(ReadWholeFile(path, buffer, 5), 1);
    EXPECT_EQ(QByteArray(buffer, 5), "abcde");
    writeFile(path, "");
    EXPECT_EQ(ReadWholeFile(path, buffer, 8), 0) << "empty";
}

}  // namespace
