#include "base/ImageChecksum.h"
#include "comm/StoreFileEnvelope.h"

#include <gtest/gtest.h>

using namespace vormex;

TEST(ImageChecksum, AreaPlusChecksumSumsToZero)
{
    for (const QByteArray& area : {QByteArray(), QByteArray("\x01", 1), QByteArray(65536, '\xFF'), QByteArray("QUILLPRM.TXT\x00\x48\xF0\x02", 16)}) {
        unsigned sum = ImageChecksum(area);
        for (char c : area)
            sum += static_cast<unsigned char>(c);
        EXPECT_EQ(sum % 256, 0u);
    }
    EXPECT_EQ(ImageChecksum(QByteArray("\x01\x02", 2)), 0xFD);
}

TEST(StoreFileEnvelope, BracesUnlessTheCodesAreVariable)
{
    const QByteArray area("\x10\x20\x30", 3);
    const ControlCodes manual = ControlCodes::forType(3, 0x02, 0x03, 0x04);
    EXPECT_EQ(BuildStoreFileEnvelope(area, manual, false), QByteArray("{LP;\x10\x20\x30|}\xA0", 10));
    EXPECT_EQ(BuildStoreFileEnvelope(area, manual, true), QByteArray("\x02LP;\x10\x20\x30\x03\x04\xA0", 10));
}
