#include "comm/AnswerFrame.h"

#include "base/Format.h"
#include "base/StringTable.h"

namespace vormex {
namespace {

constexpr char kSoh = 0x01, kStx = 0x02, kEtx = 0x03, kEot = 0x04, kCr = 0x0D, kLf = 0x0A;

bool isFrameAt(const QByteArray& b, qsizetype i)
{
    return b[i] == kSoh && b[i + 1] == kStx && b[i + 9] == kEtx && b[i + 10] == kEot && b[i + 11] == kCr
        && b[i + 12] == kLf;
}

// Applies the frame's seven characters; false when they change nothing.
bool applyFrameText(const QByteArray& seven, int& answer)
{
    const QByteArray word = seven.trimmed();
    if (word == "VORMEX") {
        answer = kAnswerVormex;
        return true;
    }
    if (word == "KIRN") {
        answer = kAnswerKirn;
        return true;
    }
    if (seven[2] == '1' || seven[2] == '2') {
        answer = 10 * (seven[0] - '0') + (seven[1] - '0');
        return true;
    }
    return false;
}

}  // namespace

bool IsErrorStatus(int answer)
{
    switch (answer) {
    case 6:
    case 7:
    case 50:
    case 51:
    case 57:
        return true;
    default:
        return false;
    }
}

int ParseAnswers(const QByteArray& bytes, int& answer, qsizetype* consumed, int* errorStatus)
{
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    int frames = 0;
    while (n - i > 12) {
        const qsizetype soh = bytes.indexOf(kSoh, i);
        if (soh < 0) {
            i = n;
            break;
        }
        i = soh;
        if (n - i < kAnswerFrameSize)
            break;
        if (isFrameAt(bytes, i)) {
            if (applyFrameText(bytes.mid(i + 2, 7), answer)) {
                ++frames;
                if (errorStatus && *errorStatus == kNoAnswer && IsErrorStatus(answer))
                    *errorStatus = answer;
            }
            i += kAnswerFrameSize;
        } else {
            ++i;
        }
    }
    if (consumed) {
        // What is left may hold the start of a frame: keep from its first SOH.
        const qsizetype soh = bytes.indexOf(kSoh, i);
        *consumed = soh < 0 ? n : soh;
    }
    return frames;
}

bool AnswerAssembler::feed(const QByteArray& bytes, int& answer, int* errorStatus)
{
    pending_.append(bytes);
    qsizetype consumed = 0;
    const int frames = ParseAnswers(pending_, answer, &consumed, errorStatus);
    pending_.remove(0, consumed);
    // A frame is 13 bytes: a longer rest cannot be the start of one any more.
    if (pending_.size() >= kAnswerFrameSize)
        pending_.remove(0, pending_.size() - (kAnswerFrameSize - 1));
    return frames > 0;
}

QString StatusText(int answer, const StringTable& strings)
{
    switch (answer) {
    case kNoAnswer: return strings.text(strings::kTimeout);
    case 6: return strings.text(strings::kCommandError);
    case 7: return strings.text(strings::kHardwareError);
    case 50: return strings.text(strings::kWriteError);
    case 51: return strings.text(strings::kFormatError);
    case 57: return strings.text(strings::kChecksumError);
    default: return cformat(strings.text(strings::kPrinterError), answer);
    }
}

}  // namespace vormex
