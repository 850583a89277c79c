#pragma once

#include "base/ControlCodes.h"
#include "comm/LinkSettings.h"
#include "definitions/ParameterCheck.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

namespace vormex {

class PrinterPort;

// The constants of one read-back exchange.
struct ReadBackExchange {
    char letters[3];          // the short command, "!B" or "!D"
    const char* fileName;     // the file the printer answers with
    int capacity;             // receive buffer in bytes
    int readTimeoutMs;        // each read; also the bound for a printer that stays silent
    int pauseBeforeReadMs;    // between the command and the first read
};

inline constexpr ReadBackExchange kSystemParameterExchange{"!B", "QUILLPRM.TXT", 128, 5000, 0};
inline constexpr ReadBackExchange kInitialTableExchange{"!D", "ZDEFAULT.TXT", 12000, 2000, 1000};

// Why a receive ended without the closing 03 04 0D 0A.
enum class ReceiveOutcome { Complete, WriteFailed, ReadFailed, BufferFull, Silent };

// Sends the short command on an open port and receives until the last four bytes are
// 03 04 0D 0A. A full buffer, a failed read or a printer silent for the read time-out ends it;
// so does `cancel` (also in the pause before the first read), as a failed read.
ReceiveOutcome ReceiveParameterFile(PrinterPort& port, const ControlCodes& codes, const ReadBackExchange& exchange,
                                    QByteArray& received, const std::atomic<bool>* cancel = nullptr);

// The reply's text between SOH STX and the last ETX EOT CR LF; nullopt when there is no frame.
// With `dropLineEnd` a CR LF right before ETX is not part of the text (system parameters).
// When an earlier SOH STX (a stale status answer) stands before the reply, the first frame
// whose text is "NO FILE" or begins with `fileName` is taken; else the first one found.
std::optional<QByteArray> UnframeParameterReply(const QByteArray& received, bool dropLineEnd,
                                                const QByteArray& fileName = {});

// What a read-back gives the page or the command line.
struct ReadBackResult {
    int result = 0;        // 1 success
    bool silent = false;   // stopped without a message (unusable device text, LPT interface)
    int messageId = 0;     // 8045 on success; 8023, 8042, 8043; 0 when `message` is the check's text
    QString message;       // the text to show
    QString detail;        // the device and the reason an exchange failed, for a line before it
    QString text;          // the parameter line ("!B") or the whole text ("!D"): on success, and on a
                           // failed check the text that failed it
    bool checkFailed = false;  // the printer sent its file but the file failed the format check
    QByteArray received;   // the bytes as received
};

// What the reply is checked against: the selected printer's line formats.
struct ReadBackCheck {
    const PrinterDefinition* printer = nullptr;  // none: every reply fails its check
    bool labelShiftOmitted = false;
    ParameterCheckState* state = nullptr;        // receives the failed check's details
};

// Called with the bytes of a complete reply before it is unpacked (the work-file copy); an error
// text it returns ends the read-back with that text.
using ReceivedBytesHook = std::function<QString(const QByteArray& received)>;

// Reads a parameter file back from the printer named by `link` and checks it: the system
// parameter line ("!B") or the initial value & table text ("!D", section by section). Messages
// come from `link.strings`. `link.cancel` abandons the exchange and closes the port.
ReadBackResult ReadParameterFileBack(ParameterFileKind kind, const LinkSettings& link, const ReadBackCheck& check,
                                     const ReceivedBytesHook& keepReceived = {});

}  // namespace vormex
