#include "FaultInjection.h"

namespace vormex::sim {

QList<QByteArray> FaultInjection::pieces(const QByteArray& answer) const
{
    switch (options_.fault) {
    case Fault::Silence:
        return {};
    case Fault::Garbage:
        // Noise with a false frame start, as a line with interference might bring.
        return {QByteArray("\x05\x01\x02?noise\x01", 9) + answer};
    case Fault::Noise:
        // Bytes with no frame in them, as a device that is no printer answers.
        return {QByteArray("\x05?noise\r\n")};
    case Fault::Split: {
        const qsizetype cut = answer.size() > 120 ? 60 : answer.size() / 2;
        return {answer.left(cut), answer.mid(cut)};
    }
    default:
        return {answer};
    }
}

int FaultInjection::status(int normal) const
{
    return options_.fault == Fault::WrongStatus ? options_.wrongStatusCode : normal;
}

int FaultInjection::transferStatus(int normal) const
{
    if (options_.fault == Fault::BadChecksum)
        return 57;
    return status(normal);
}

QByteArray FaultInjection::alteredText(const QByteArray& text, qsizetype& position)
{
    auto isDigit = [&](qsizetype i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    position = 0;
    while (position < text.size() && !isDigit(position))
        ++position;
    if (position == text.size()) {
        position = -1;
        return text;
    }
    while (isDigit(position + 1))
        ++position;
    QByteArray altered = text;
    altered[position] = text[position] == '9' ? '8' : static_cast<char>(text[position] + 1);
    return altered;
}

}  // namespace vormex::sim
