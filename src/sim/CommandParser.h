#pragma once

#include "base/ControlCodes.h"

#include <QByteArray>

#include <optional>
#include <utility>

namespace vormex::sim {

// One thing the printer received.
struct ReceivedCommand {
    enum class Kind {
        Short,            // code1, two letters, code2, code3
        Brace,            // "{LDB;03,01|}", "{XF;...|}": `text` is what stands between the codes
        StoreFile,        // "{LP;" area "|}" checksum: `area`, `checksum`, `terminatorOk`
        UnknownStore,     // "{LP;" without a prepare command before it: the length is unknown
        FirmwareRequest,  // code1 "LD;" 4 address bytes "," 2 bytes code2 code3
        FirmwarePrefix,   // code1 "LP;" after a firmware request
        FirmwareData,     // image bytes
        Noise,            // bytes that begin no command
    };
    Kind kind = Kind::Noise;
    QByteArray text;       // letters of a short command, text of a brace command
    QByteArray area;
    unsigned char checksum = 0;
    bool terminatorOk = true;
    QByteArray raw;        // the bytes as received
};

// Splits the received byte stream into commands. The engine tells it how long the next
// store-file area is (from the prepare command) and when firmware is expected.
class CommandParser {
public:
    explicit CommandParser(ControlCodes codes) : codes_(codes) {}

    void append(const QByteArray& bytes) { buffer_.append(bytes); }
    // The next complete command; nullopt when more bytes are needed.
    std::optional<ReceivedCommand> next();

    void setStoreAreaSize(int bytes) { storeAreaSize_ = bytes; }
    void expectFirmware(bool expected) { firmwareExpected_ = expected; }
    void setFirmwareMode(bool on) { firmwareMode_ = on; }
    bool firmwareMode() const { return firmwareMode_; }
    qsizetype pending() const { return buffer_.size(); }
    // The bytes not yet made into commands, taken out of the parser.
    QByteArray takePending() { return std::exchange(buffer_, QByteArray()); }
    void reset();

private:
    bool isStart(char byte) const;
    bool isTerminator(char first, char second) const;
    ReceivedCommand take(ReceivedCommand::Kind kind, qsizetype length);

    ControlCodes codes_;
    QByteArray buffer_;
    int storeAreaSize_ = 0;
    bool firmwareExpected_ = false;
    bool firmwareMode_ = false;
};

}  // namespace vormex::sim
