#include "download/FirmwareImage.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace vormex;

namespace {

// A body of `bodyLength` bytes followed by a 256-byte trailer with the fields the tool reads.
QByteArray firmwareFile(qsizetype bodyLength)
{
    QByteArray trailer(256, '\0');
    trailer.replace(0, 4, QByteArray("\x00\x10\x00\x00", 4));   // size      at -256
    trailer.replace(2, 2, QByteArray("\xAB\xCD", 2));           // two bytes at -254
    trailer.replace(4, 4, QByteArray("\x00\x7F\x00\x00", 4));   // address   at -252
    trailer.replace(32, 9, "05MAR2024");                        // date      at -224
    trailer.replace(48, 12, "  Q-KB4 FW  ");                    // model     at -208
    trailer.replace(64, 5, "1.23 ");                            // version   at -192
    QByteArray body(bodyLength, '\x5A');
    return body + trailer;
}

class Firmware : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString write(const QByteArray& content)
    {
        const QString path = dir.filePath(QStringLiteral("fw.rom"));
        test::writeFile(path, content);
        return path;
    }
};

TEST_F(Firmware, PreparesImageRequestAndStartAddress)
{
    const QByteArray file = firmwareFile(1024);
    const PreparedFirmware fw = PrepareFirmwareImage(write(file), ControlCodes{});
    ASSERT_EQ(fw.result, 1);
    EXPECT_EQ(fw.image, QByteArray("\x1BLP;") + file);
    EXPECT_EQ(fw.request, QByteArray("\x1BLD;\x00\x7F\x00\x00,\xAB\xCD\x0A\x00", 13));
    EXPECT_EQ(fw.startAddress, 0x7F0000u);
    EXPECT_EQ(FirmwareBytesInTotal(fw.image.size()), 1024);  // the trailer is not sent
}

TEST_F(Firmware, ArHeaderIsSkippedBeforeAnythingIsRead)
{
    QByteArray header(288, '\x11');
    header[1] = 'A';
    header[2] = 'R';
    const QByteArray file = firmwareFile(512);
    const PreparedFirmware fw = PrepareFirmwareImage(write(header + file), ControlCodes::forType(2));
    ASSERT_EQ(fw.result, 1);
    EXPECT_EQ(fw.image, QByteArray("{LP;") + file);
    EXPECT_EQ(fw.request.front(), '{');
    EXPECT_EQ(fw.request.right(2), QByteArray("|}"));
}

TEST_F(Firmware, TooShortOrMissingFileIsRefused)
{
    EXPECT_EQ(PrepareFirmwareImage(write(QByteArray(251, 'x')), ControlCodes{}).result, 0);
    EXPECT_EQ(PrepareFirmwareImage(dir.filePath(QStringLiteral("missing.rom")), ControlCodes{}).result, 0);
}

TEST_F(Firmware, ShortestFileHoldsTheStartAddress)
{
    QByteArray file(252, 'x');
    file.replace(0, 4, QByteArray("\x00\x7F\x00\x00", 4));  // address at -252
    const PreparedFirmware fw = PrepareFirmwareImage(write(file), ControlCodes{});
    ASSERT_EQ(fw.result, 1);
    EXPECT_EQ(fw.startAddress, 0x7F0000u);
    // The two bytes before the address lie in the store prefix.
    EXPECT_EQ(fw.request, QByteArray("\x1BLD;\x00\x7F\x00\x00,P;\x0A\x00", 13));
    EXPECT_TRUE(ReadFirmwareTrailer(fw.image).present);
}

TEST(FirmwareBytesInTotal, ClearsTheBitOfValue256)
{
    EXPECT_EQ(FirmwareBytesInTotal(4 + 1048576 + 256), 1048576);
    EXPECT_EQ(FirmwareBytesInTotal(4 + 1048576), 1048576);
    EXPECT_EQ(FirmwareBytesInTotal(4 + 512 + 256), 512);
    EXPECT_EQ(FirmwareBytesInTotal(2), 0);
}

TEST(FirmwareTrailer, ShowsTheFieldsCountedFromTheEnd)
{
    const QByteArray image = QByteArray("\x1BLP;") + firmwareFile(0);
    const FirmwareTrailer t = ReadFirmwareTrailer(image);
    ASSERT_TRUE(t.present);
    EXPECT_EQ(t.model, QStringLiteral("Q-KB4 FW"));
    EXPECT_EQ(t.version, QStringLiteral("1.23"));
    EXPECT_EQ(t.date, QStringLiteral("MAR.05.2024"));
    EXPECT_EQ(t.address, QStringLiteral("007F0000"));
    EXPECT_EQ(t.size, QStringLiteral("0010ABCD"));  // the request's two bytes are the low half of the size
    EXPECT_FALSE(ReadFirmwareTrailer(image.right(255)).present);
}

}  // namespace
