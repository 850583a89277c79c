#pragma once

#include "comm/DeviceInfo.h"
#include "comm/HostResolver.h"
#include "comm/PortMap.h"
#include "comm/SerialSettings.h"
#include "timing/PacingClock.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

struct termios;

namespace vormex {

// One connection to a printer over COM, LAN, LPT or USB, opened for one user action.
// Results are 1 (success) or 0 (failure) with the system's errno kept in `lastError`.
//
// At most two threads use a port at once: the one that opened it and writes, and the answer
// listener that reads. The fields that both (or a display timer) look at are atomics.
class PrinterPort {
public:
    static constexpr int kChunkSize = 2048;       // COM, LPT and USB writes go out in chunks
    static constexpr int kChunkPauseMs = 10;      // pause after every chunk or send
    static constexpr int kLanConnectTimeoutMs = 10000;
    static constexpr int kLanSendWaitMs = 60000;
    static constexpr int kSerialWriteTimeoutMs = 1000;
    static constexpr int kSerialReadTotalMs = 100;
    static constexpr int kLptWriteTimeoutMs = 30000;
    static constexpr int kUsbWriteTimeoutMs = 60000;
    static constexpr int kSerialOpenPauseMs = 300;
    static constexpr int kTakenPollMs = 10;       // looks at the bytes still unacknowledged

    // `portMap` names the devices of "COM<n>" and "LPT<n>".
    explicit PrinterPort(PortMap portMap = PortMap());
    ~PrinterPort();
    PrinterPort(const PrinterPort&) = delete;
    PrinterPort& operator=(const PrinterPort&) = delete;

    std::atomic<std::uint32_t> lastError{0};
    std::atomic<int> kind{0};    // PortKind of the open connection; 0 when closed
    std::atomic<int> isOpen{0};
    int handle = -1;             // file descriptor of a COM, LPT or USB connection
    int socket = -1;             // TCP socket of a LAN connection
    std::atomic<int> progressPercent{0};  // -1: not tracked
    std::atomic<int> bytesDone{0};

    // Opens by the kind text's first three letters: "COM", "LAN", "LPT"; anything else is USB
    // with `address` as the device path. `noFlowControl` matters for COM only.
    int Open(const QString& kindText, const QString& address, bool noFlowControl);
    int Close();
    int Write(const char* data, int length);
    int Write(const QByteArray& data) { return Write(data.constData(), static_cast<int>(data.size())); }
    // After the last write of a store: waits at most `timeoutMs` until the printer has taken every
    // byte written (LAN: its side has acknowledged them all; COM: the line has sent them; a USB
    // or LPT write ends only when the device has taken every byte). 0 when the connection was reset or closed with bytes
    // outstanding (their count in `outstanding`, the reason in `lastError`); 1 otherwise, also
    // when the time ran out first (what follows decides then).
    int WaitUntilTaken(int timeoutMs, int& outstanding);
    // LAN: the bytes written that the printer's side has not acknowledged yet; 0 elsewhere.
    int unacknowledgedBytes() const;
    // Receives at most `size` bytes. The time-out applies to LAN and USB; COM reads are bounded
    // by the serial read time-outs. See the interface files for the result per interface.
    int Read(char* buffer, int size, int timeoutMs, int& countRead);

    PortKind portKind() const { return static_cast<PortKind>(kind.load()); }
    // Lets a cancel request end the port's longer waits (connect, send, USB and LAN reads)
    // within 100 ms. The flag must outlive the port (both live in the link's shared state).
    void setCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    // The device a COM or LPT port opened (for messages and tests).
    QString devicePath() const { return devicePath_; }
    // How long a LAN connect may take (default kLanConnectTimeoutMs).
    void setConnectTimeoutMs(int milliseconds) { connectTimeoutMs_ = milliseconds; }
    // The resolver of the host names of LAN device texts (default: the system's).
    void setHostLookup(HostLookup lookup) { hostLookup_ = std::move(lookup); }
    // Why the last Open of `parts` failed, naming the device: the resolver's message for a host
    // name that did not resolve, else the system's reason (DescribeOpenFailure).
    QString describeOpenFailure(const DeviceInfoParts& parts) const;

private:
    int openCom(const QString& kindText, const QString& address, bool noFlowControl);
    int openLan(const QString& address);
    int openLpt(const QString& kindText);
    int openUsb(const QString& path);
    int fail(int error);
    void markOpen(PortKind portKind);

    int writeFd(const char* data, int length);
    int writeLan(const char* data, int length);
    int waitUntilTakenLan(int timeoutMs, int& outstanding);
    int waitUntilTakenSerial(int timeoutMs);
    int readLan(char* buffer, int size, int timeoutMs, int& countRead);
    int readSerial(char* buffer, int size, int& countRead);
    int readUsb(char* buffer, int size, int timeoutMs, int& countRead);
    // Waits for the DSR line before a chunk when flow control is on (real serial ports only).
    bool waitForDsr();
    void noteProgress(int done, int length);
    // Waits for `events` on `fd` until the deadline, in slices so a cancel is seen. Gives 1 when
    // ready (revents in `ready`), 0 at the deadline, -1 on error or cancel (errno set).
    int waitReady(int fd, short events, const pacing::Deadline& deadline, short& ready) const;

    PortMap portMap_;
    QString devicePath_;
    std::optional<SerialSettings> serial_;
    bool serialFlowControl_ = false;
    bool dsrFlowControl_ = false;
    bool savedTermiosValid_ = false;
    std::unique_ptr<termios> savedTermios_;
    const std::atomic<bool>* cancel_ = nullptr;
    int connectTimeoutMs_ = kLanConnectTimeoutMs;
    HostLookup hostLookup_;
    QString resolveProblem_;  // why the last LAN open could not resolve its host name
};

}  // namespace vormex
