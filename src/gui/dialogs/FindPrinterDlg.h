#pragma once

#include "discovery/FoundDevice.h"

#include <QDialog>

#include <memory>
#include <thread>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;
class QTreeWidget;

namespace vormex::gui {

class CVORMEXSettingToolApp;
struct FindScanState;

// "Find...": scans a range of addresses at one port for printers, off the user-interface thread,
// and lists them as they answer (address, port, mode, status). OK or a double-click on a printer
// (Enter on it) chooses it. The range starts as the subnet of the machine's first interface and
// takes every TARGET form of `vormexctl scan`. Stop ends the scan; closing the dialog ends it
// at once.
class CFindPrinterDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 100;

    // `port`: the port the page shows (0 gives the printers' default).
    CFindPrinterDlg(CVORMEXSettingToolApp& app, int port, QWidget* parent = nullptr);
    ~CFindPrinterDlg() override;

    // Starts a scan of what the range and port fields hold; false (and the reason shown) when
    // the range is not usable.
    bool StartScan();
    // Ends the scan under way and waits for its threads (at most the 100 ms a wait takes to
    // see the request).
    void StopScan();
    bool scanning() const;

    // The printer chosen: its address as the page takes it (numbers, or the host name it was
    // found by) and its port.
    QString chosenAddress() const { return chosenAddress_; }
    int chosenPort() const { return chosenPort_; }

    QLineEdit* rangeField() const { return range_; }
    QSpinBox* portField() const { return port_; }
    QPushButton* scanButton() const { return scan_; }
    QPushButton* stopButton() const { return stop_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusLabel() const { return status_; }
    QTreeWidget* printerList() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

public slots:
    void accept() override;
    void reject() override;

private:
    void buildControls(int port);
    // One refresh from the scan's shared state: new printers, progress, the end.
    void OnTimer();
    void addRow(const FoundDevice& device);
    void showScanning(bool running);
    void finishScan();
    QString text(int id) const;

    CVORMEXSettingToolApp& app_;
    std::shared_ptr<FindScanState> state_;
    std::thread worker_;
    int shownRows_ = 0;
    QString chosenAddress_;
    int chosenPort_ = 0;

    QLineEdit* range_ = nullptr;
    QSpinBox* port_ = nullptr;
    QPushButton* scan_ = nullptr;
    QPushButton* stop_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* refresh_ = nullptr;
};

}  // namespace vormex::gui
