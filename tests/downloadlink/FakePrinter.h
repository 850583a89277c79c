#pragma once

#include "base/ControlCodes.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vormex::test {

// How the fake printer answers.
struct FakePrinterBehaviour {
    ControlCodes codes;                   // the codes its queries are framed with
    bool answerQueries = true;            // answer "WS" and "!Q"
    QByteArray statusText = "00100  ";    // the seven characters of a status answer
    // Firmware: after the 13-byte request and the 4-byte prefix it answers `readyStatus`; after
    // each of `blockSizes` but the last it answers `blockStatus` when `blockAcks`; after the whole
    // image `writtenStatus` unless it has ended with a fault.
    int readyStatus = 52;                 // 0: no answer at all
    std::vector<int> blockSizes;
    bool blockAcks = false;
    int blockStatus = 53;
    int writtenStatus = 56;
    int faultAtBlock = -1;                // answer `faultStatus` instead of the ack of this block
    int faultStatus = 57;
    // Drops the connection after this many received bytes and accepts no other one.
    qint64 dropAfterBytes = -1;
};

// A printer on the far side of a loopback TCP socket, a pseudo-terminal or a FIFO, for the link
// tests. It records every byte it receives, in order, across reconnections, and answers status
// and mode queries and the firmware handshake.
class FakePrinter {
public:
    static std::unique_ptr<FakePrinter> Lan(FakePrinterBehaviour behaviour);
    static std::unique_ptr<FakePrinter> Pty(FakePrinterBehaviour behaviour);
    // The reading end of a FIFO at `path` (a parallel port is written only).
    static std::unique_ptr<FakePrinter> Fifo(FakePrinterBehaviour behaviour, const QString& path);
    ~FakePrinter();

    // "127.0.0.1:<port>" for a LAN printer; the slave device of a pseudo-terminal.
    QString address() const { return address_; }
    QByteArray received() const;
    int connections() const { return connections_.load(); }
    int queriesAnswered() const { return queriesAnswered_.load(); }

private:
    explicit FakePrinter(FakePrinterBehaviour behaviour) : behaviour_(std::move(behaviour)) {}
    void start();
    void run();
    void take(const char* data, qint64 count);
    void answerQueries();
    void answerFirmware();
    void reply(const QByteArray& sevenCharacters);
    void closeClient();

    FakePrinterBehaviour behaviour_;
    QString address_;
    int listenFd_ = -1;   // TCP
    int clientFd_ = -1;   // TCP connection, pty master or FIFO
    int slaveFd_ = -1;    // pty slave, held open so the master never sees a hang-up
    bool stream_ = false; // the connection is the device itself (pty, FIFO)
    bool writeOnly_ = false; // a FIFO: the printer cannot answer
    bool dropped_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> queriesAnswered_{0};
    mutable std::mutex mutex_;
    QByteArray received_;
    qsizetype scanned_ = 0;
    qsizetype firmwareStart_ = -1;   // where the image begins in `received_`
    size_t blocksAnswered_ = 0;
    bool readyAnswered_ = false;
    bool firmwareEnded_ = false;
    std::thread thread_;
};

// The five bytes of a short command with the given codes.
QByteArray shortCommand(const char letters[2], const ControlCodes& codes);
// `bytes` without every status request and mode query framed with `codes`.
QByteArray withoutQueries(QByteArray bytes, const ControlCodes& codes);

}  // namespace vormex::test
