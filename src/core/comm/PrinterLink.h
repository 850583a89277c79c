#pragma once

#include "comm/AnswerFrame.h"
#include "comm/DeviceInfo.h"
#include "comm/LinkSettings.h"
#include "comm/PrinterPort.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

namespace vormex {

// Receives the log lines of a connection (download dialogs show them; the CLI prints them).
class LinkObserver {
public:
    virtual ~LinkObserver() = default;
    virtual void log(const QString& line) = 0;
};

// The state a connection's threads share: the worker, the answer listener and the owner's
// display timer. It lives as long as the last of them holds it, so a late thread never touches
// freed memory.
struct LinkState {
    explicit LinkState(LinkSettings linkSettings)
        : settings(std::move(linkSettings)), port(settings.portMap) {}

    const LinkSettings settings;
    PrinterPort port;
    DeviceInfoParts target;                  // kind text and address of the connection
    std::atomic<int> answer{kNoAnswer};      // latest answer value
    // The first error status (6, 7, 50, 51, 57) answered since the owner cleared it: a store's
    // refusal can come before the printer restarts, and the wait's query after the restart would
    // hide it.
    std::atomic<int> errorStatus{kNoAnswer};
    std::atomic<bool> answered{false};       // the printer has answered a frame on this connection
    std::atomic<bool> stop{false};           // ends the listener; the LAN reconnect clears it
    std::atomic<bool> cancel{false};         // the user's cancel; nothing clears it
    std::atomic<bool> listenerRunning{false};
    std::atomic<bool> listenerPaused{false};
    std::atomic<bool> twoWay{false};         // LAN and COM: a listener reads the answers
    std::shared_ptr<LinkObserver> observer;
};

// A connection for one action that waits for the printer's answers (downloads, firmware).
class PrinterLink {
public:
    static constexpr int kListenerReadSize = 39;
    static constexpr int kListenerLanReadMs = 200;
    static constexpr int kListenerSleepMs = 500;
    static constexpr int kListenerPausedPollMs = 10;
    static constexpr int kPollMs = 100;
    static constexpr int kListenerStopPolls = 300;
    static constexpr int kQueryPeriodMs = 3000;
    static constexpr int kLanRestartSleepMs = 7000;
    static constexpr int kLanReopenAttempts = 20;
    static constexpr int kLanReopenPauseMs = 500;
    static constexpr int kLanQueryMs = 18000;
    static constexpr int kKaSettleMs = 1000;
    static constexpr int kUsbRestartSleepMs = 2000;
    static constexpr int kUsbClosedSleepMs = 5000;
    static constexpr int kUsbReopenAttempts = 60;
    static constexpr int kUsbReopenPauseMs = 500;
    static constexpr int kQkbUsbStatusTimeoutMs = 3000;
    static constexpr int kUsbStatusReadMs = 1000;

    explicit PrinterLink(LinkSettings settings, std::shared_ptr<LinkObserver> observer = nullptr);
    ~PrinterLink();
    PrinterLink(const PrinterLink&) = delete;
    PrinterLink& operator=(const PrinterLink&) = delete;

    std::shared_ptr<LinkState> state() const { return state_; }
    PrinterPort& port() { return state_->port; }

    // Splits the device-info text and opens the port (the COM address replaced by
    // `comAddressOverride`, USB by the selected device path); starts the listener on LAN and
    // COM. 0 when the text is unusable or the port does not open (the caller logs 8023).
    int Connect(bool noFlowControl, const std::optional<QString>& comAddressOverride = std::nullopt);
    // Stops the listener (waiting up to 30 s for it) and closes the port.
    void Disconnect();

    // Why the last Connect or WaitForPrinter failed, naming the device ("connection refused by
    // 127.0.0.1:9101", "no answer from LAN:127.0.0.1:9100 within 18 s"); empty after a success.
    QString problem() const { return problem_; }

    // The user's cancel: every wait returns within 100 ms.
    void RequestCancel();
    bool cancelled() const { return state_->cancel.load(); }

    int SendShortCommand(const char letters[2]);
    int SendBraceCommand(const QByteArray& text);

    // Sends "!Q" (mode) or "WS" (status) every 3 s, (T + 2999) / 3000 times, until any answer.
    int QueryUntilAnswer(int totalMs, bool modeQuery);
    // The wait after a command that makes the printer store data or restart. With
    // `settleQka` a "Q-KA" printer is given one more second after it answered on LAN.
    int WaitForPrinter(int waitMs, bool modeQuery, bool settleQka = false);
    // Waits for status `expected`; the caller sets the answer to none before its command.
    int WaitForStatus(int expected, int timeoutMs, int lptPauseMs);

    // Where no listener runs (USB): reads at most one frame's bytes and parses them, joined with
    // a frame begun by the previous read. 0 when the read failed.
    int ReadAnswer(int timeoutMs);

    void setAnswer(int value) { state_->answer = value; }
    int answer() const { return state_->answer.load(); }
    // The printer has answered at least one frame since the link was made.
    bool printerAnswered() const { return state_->answered.load(); }
    // The first error status since `clearErrorStatus` (kNoAnswer when none came).
    void clearErrorStatus() { state_->errorStatus = kNoAnswer; }
    int errorStatus() const { return state_->errorStatus.load(); }
    void setListenerPaused(bool paused) { state_->listenerPaused = paused; }
    void log(const QString& line) const;

private:
    void startListener();
    // Sets the stop flag and waits for the listener to end.
    void stopListener();
    bool sleep(int milliseconds) const;  // false when cancelled
    // Reads answers (where no listener runs) for the given time; false when cancelled.
    bool readAnswersFor(int milliseconds);

    // Notes why a wait failed and gives 0.
    int waitFailed(const QString& why);

    std::shared_ptr<LinkState> state_;
    std::thread listener_;
    QString problem_;  // used by the worker thread only
    AnswerAssembler usbAnswers_;  // used by the worker thread only
};

}  // namespace vormex
