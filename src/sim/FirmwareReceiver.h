#pragma once

#include <QByteArray>

#include <cstdint>

namespace vormex::sim {

// The printer's side of a firmware transfer: the request names the start address, the
// "LP;" prefix is answered with 52, then image bytes come in blocks. A block ends when the line
// has been quiet for the gap time; it is acknowledged with 53 (handshake printers, and every
// printer on a serial line) or, for the others on the network, the end with 56.
class FirmwareReceiver {
public:
    void request(const QByteArray& addressBytes);
    void start() { active_ = true; }
    void data(qsizetype bytes);
    bool active() const { return active_; }
    bool blockPending() const { return active_ && blockBytes_ > 0; }
    // Ends the current block; returns its size.
    qsizetype endBlock();
    void reset() { *this = FirmwareReceiver(); }

    std::uint32_t startAddress() const { return startAddress_; }
    qsizetype totalBytes() const { return totalBytes_; }

private:
    bool active_ = false;
    std::uint32_t startAddress_ = 0;
    qsizetype blockBytes_ = 0;
    qsizetype totalBytes_ = 0;
};

}  // namespace vormex::sim
