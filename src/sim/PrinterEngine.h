#pragma once

#include "CommandParser.h"
#include "DataArea.h"
#include "FaultInjection.h"
#include "FileStore.h"
#include "FirmwareReceiver.h"
#include "SimLog.h"
#include "SimOptions.h"

#include "timing/PacingClock.h"

#include <QByteArray>

#include <optional>

namespace vormex::sim {

// How the engine reaches the tool: a TCP connection or a pseudo-terminal.
class Transport {
public:
    virtual ~Transport() = default;
    virtual void write(const QByteArray& bytes) = 0;
    // The drop fault: the line goes dead in the middle of a transfer.
    virtual void hangUp() = 0;
    // The printer restarts after a store: unreachable for the given nominal milliseconds.
    virtual void restart(int milliseconds) = 0;
    virtual bool isNetwork() const = 0;
};

// The printer's side of the protocol.
class PrinterEngine {
public:
    PrinterEngine(const SimOptions& options, FileStore& files, Transport& transport, const SimLog& log);

    // A new connection (or a tool that opened the line again): nothing half-received is kept.
    void connectionOpened();
    void received(const QByteArray& bytes);
    // Milliseconds (real) until `onTimer` wants to run; -1 when nothing waits.
    int timerDueMs() const;
    void onTimer();

private:
    // A store-file envelope or a firmware image is on its way.
    bool inTransfer() const { return preparedBlocks_ > 0 || parser_.firmwareMode(); }
    // Makes commands of the bytes and handles them. With the drop fault, parsing stops where a
    // transfer begins: the bytes after that point are given back to be counted.
    QByteArray parse(const QByteArray& bytes);
    void hangUp();
    void handle(const ReceivedCommand& command);
    void handleShort(const QByteArray& letters);
    void handleBrace(const QByteArray& text);
    void handleStoreFile(const ReceivedCommand& command);
    void sendAnswer(const QByteArray& content);
    void sendStatus(int code);
    void sendFile(const QString& name);
    void keep(const DataArea& file);

    const SimOptions& options_;
    FileStore& files_;
    Transport& transport_;
    const SimLog& log_;
    CommandParser parser_;
    FaultInjection faults_;
    FirmwareReceiver firmware_;
    bool vormexMode_;
    qsizetype transferBytes_ = 0;
    int preparedBlocks_ = 0;
    std::optional<pacing::Deadline> firmwareGap_;
    std::optional<pacing::Deadline> incompleteGap_;
};

}  // namespace vormex::sim
