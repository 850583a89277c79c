#include "SimLog.h"

#include <cstdio>

namespace vormex::sim {

void SimLog::line(const QString& text) const
{
    const QByteArray line = prefix_ + "sim: " + text.toUtf8() + "\n";
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

QString readable(const QByteArray& bytes, int limit)
{
    QString text;
    const qsizetype shown = std::min<qsizetype>(bytes.size(), limit);
    for (qsizetype i = 0; i < shown; ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x20 && byte < 0x7F)
            text += QLatin1Char(static_cast<char>(byte));
        else
            text += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    if (bytes.size() > shown)
        text += QStringLiteral("... (%1 bytes)").arg(bytes.size());
    return text;
}

}  // namespace vormex::sim
