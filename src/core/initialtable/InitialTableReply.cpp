#include "initialtable/InitialTableReply.h"

#include "codec/Codec.h"

namespace vormex {

namespace {
const QByteArray kFrameStart("\x01\x02", 2);
const QByteArray kFrameEnd("\x03\x04\r\n", 4);
}  // namespace

InitialTableReply UnframeInitialTableReply(const QByteArray& received)
{
    InitialTableReply reply;
    for (qsizetype start = received.indexOf(kFrameStart); start >= 0; start = received.indexOf(kFrameStart, start + 1)) {
        // The last frame end behind this start, searched from the end of what was received.
        const qsizetype contentStart = start + kFrameStart.size();
        for (qsizetype end = received.size() - kFrameEnd.size(); end >= contentStart; --end) {
            if (QByteArrayView(received).sliced(end, kFrameEnd.size()) != kFrameEnd)
                continue;
            const QString content = codec::fromPrinterCodePage(received.mid(contentStart, end - contentStart));
            if (content == QLatin1String("NO FILE")) {
                reply.kind = InitialTableReply::Kind::NoFile;
            } else if (content.left(12) == QLatin1String("ZDEFAULT.TXT")) {
                reply.kind = InitialTableReply::Kind::Text;
                reply.text = content.mid(13);
            }
            return reply;
        }
        // A later start searches a part of the same range, so it cannot find an end either;
        // stopping here keeps a reply full of frame starts from taking quadratic time.
        break;
    }
    return reply;
}

}  // namespace vormex
