#pragma once

#include <QByteArray>
#include <QString>

namespace vormex {

class StringTable;

// The printer answers status and mode requests with 13 bytes:
//   SOH STX  seven characters  ETX EOT CR LF
inline constexpr int kAnswerFrameSize = 13;
inline constexpr int kNoAnswer = -1;
inline constexpr int kAnswerVormex = 101;  // mode answer "VORMEX"
inline constexpr int kAnswerKirn = 102;    // mode answer "KIRN"

// Message numbers of the status texts.
namespace strings {
inline constexpr int kCommandError = 8027;   // status 6
inline constexpr int kHardwareError = 8028;  // status 7
inline constexpr int kWriteError = 8029;     // status 50
inline constexpr int kFormatError = 8030;    // status 51
inline constexpr int kChecksumError = 8031;  // status 57
inline constexpr int kPrinterError = 8032;   // any other status, "%02d"
inline constexpr int kTimeout = 8044;        // no answer
}  // namespace strings

// The statuses with which a printer refuses a store or reports a fault: 6, 7, 50, 51 and 57.
bool IsErrorStatus(int answer);

// Scans `bytes` for answer frames and stores the value of each one found in `answer`, in order,
// so the last frame wins. Returns the number of frames that changed the value. When `consumed`
// is given it receives the offset after which a frame could still begin (bytes before it can
// be dropped; bytes after it may be the start of a frame that a later read completes). When
// `errorStatus` is given and still holds no answer, the first error status found is kept there,
// so an error is not lost behind a later frame of the same read.
int ParseAnswers(const QByteArray& bytes, int& answer, qsizetype* consumed = nullptr, int* errorStatus = nullptr);

// Joins the bytes of successive reads so that a frame split between two reads is not lost.
class AnswerAssembler {
public:
    // Adds the bytes of one read and parses what is complete. Returns true when a frame set
    // `answer`.
    // `errorStatus` as for ParseAnswers.
    bool feed(const QByteArray& bytes, int& answer, int* errorStatus = nullptr);
    void clear() { pending_.clear(); }

private:
    QByteArray pending_;
};

// The text shown for an answer value: 8027..8032 for status codes, 8044 for no answer.
QString StatusText(int answer, const StringTable& strings);

}  // namespace vormex
