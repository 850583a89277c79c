#include "initialtable/InitialTableReply.h"

#include <gtest/gtest.h>

namespace vormex {
namespace {

QByteArray framed(const QByteArray& content) { return QByteArray("\x01\x02", 2) + content + QByteArray("\x03\x04\r\n", 4); }

TEST(UnframeInitialTableReply, TextNoFileAndFailures)
{
    InitialTableReply reply = UnframeInitialTableReply(framed("ZDEFAULT.TXT BARCODE Default\r\n010,02,3.0\r\n"));
    EXPECT_EQ(reply.kind, InitialTableReply::Kind::Text);
    EXPECT_EQ(reply.text, QStringLiteral("BARCODE Default\r\n010,02,3.0\r\n"));

    EXPECT_EQ(UnframeInitialTableReply(framed("NO FILE")).kind, InitialTableReply::Kind::NoFile);

    reply = UnframeInitialTableReply(framed("ZDEFAULT.TXT "));
    EXPECT_EQ(reply.kind, InitialTableReply::Kind::Text);
    EXPECT_TRUE(reply.text.isEmpty());

    EXPECT_EQ(UnframeInitialTableReply(framed("QUILLPRM.TXT x")).kind, InitialTableReply::Kind::Failed);
    EXPECT_EQ(UnframeInitialTableReply(QByteArray("\x01\x02ZDEFAULT.TXT x", 16)).kind, InitialTableReply::Kind::Failed);
    EXPECT_EQ(UnframeInitialTableReply(QByteArray()).kind, InitialTableReply::Kind::Failed);
}

TEST(UnframeInitialTableReply, NoiseBeforeTheFrameAndTheLastEndCounts)
{
    // An end sequence inside the text does not end the content: the last one does.
    const QByteArray content = QByteArray("ZDEFAULT.TXT:A") + QByteArray("\x03\x04\r\n", 4) + "B";
    const InitialTableReply reply = UnframeInitialTableReply(QByteArray("junk\x01") + framed(content));
    ASSERT_EQ(reply.kind, InitialTableReply::Kind::Text);
    EXPECT_EQ(reply.text, QStringLiteral("A\u0003\u0004\r\nB"));
}

}  // namespace
}  // namespace vormex
