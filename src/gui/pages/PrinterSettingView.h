#pragma once

#include "gui/application/PortCatalog.h"
#include "gui/pages/PageInterfaces.h"
#include "gui/widgets/SpinEdit.h"
#include "pages/PrinterSettingsModel.h"

#include <QWidget>

#include <array>

class QComboBox;
class QFormLayout;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vormex::gui {

class CVORMEXSettingToolApp;

// The printer settings page: the printer model, the interface with its settings and the
// control codes. Every change is applied and stored at once.
class CPrinterSettingView : public QWidget {
    Q_OBJECT
public:
    CPrinterSettingView(CVORMEXSettingToolApp& app, PrinterSettingsHost& host, QWidget* parent = nullptr);

    // Fills the page from the definitions and the stored settings (once, when first shown).
    void OnInitialUpdate();

    // Composes the device-info text, stores "Printer Name" and "Device Info", updates the header.
    void ApplyPrinterSettings();
    // Sets the current control codes from the page.
    void ApplyControlCodes();
    // 1 unless the manual codes are equal (then message 8115, the focus on the first offending
    // code, and 0).
    int CheckControlCodes();
    // The device path of the selected USB printer; empty when none is selected.
    QString SelectedUsbDevicePath() const;
    // "Find...": the find dialog; the printer chosen there goes into the address and port, applied
    // and stored as a typed address is.
    void OnFindPrinters();

    bool isReady() const { return ready_; }

    // The controls, by their ids (tests and screenshots).
    QComboBox* printerList() const { return printers_; }
    QComboBox* interfaceList() const { return interfaces_; }
    QLineEdit* ipAddress() const { return ipAddress_; }
    QPushButton* findButton() const { return find_; }
    // The TCP port: the arrows step from 1 to 65535, the edit takes any number of five digits;
    // one outside the range is refused and explained beside it, and the stored port stays.
    SpinEdit* port() const { return port_; }
    QComboBox* baudRate() const { return baudRate_; }
    QComboBox* dataBits() const { return dataBits_; }
    QComboBox* parity() const { return parity_; }
    QComboBox* stopBits() const { return stopBits_; }
    QListWidget* usbDevices() const { return usbDevices_; }
    QComboBox* controlCodeType() const { return codeType_; }
    QLineEdit* manualCode(int i) const { return manualCodes_.at(static_cast<size_t>(i)); }
    QLineEdit* codeCharacter(int i) const { return characters_.at(static_cast<size_t>(i)); }
    QLabel* interfaceDevice() const { return interfaceDevice_; }
    QLabel* usbProblems() const { return usbProblems_; }
    QLabel* ipAddressProblem() const { return ipProblem_; }
    QLabel* portProblem() const { return portProblem_; }
    // The port name of the selected interface entry ("COM9" also when it is listed as missing).
    QString selectedInterfaceName() const;
    // The width of the form's label column, the same whatever rows are shown.
    int labelColumnWidth() const { return labelWidth_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillInterfaces();
    void showInterfaceControls();
    void setUpControlCodes();
    void showManualCodeControls();
    void refreshCharacters();
    void onPrinterChosen();
    void onInterfaceChosen();
    void onAddressChanged();
    void onIpAddressEdited();
    void showIpAddressProblem(const QString& problem);
    void onPortEdited();
    void showPortProblem(const QString& problem);
    void alignLabelColumn();
    void runStartCheckWhenExposed();
    void storePrinterAndDevice(const QString& printerName, const QString& deviceInfo);
    bool variableControlCodes() const;
    QString text(int id) const;

    CVORMEXSettingToolApp& app_;
    PrinterSettingsHost& host_;
    bool ready_ = false;
    bool filled_ = false;
    // The control-code check of the filled page waits until the window is on the screen.
    bool startCheckPending_ = false;
    int labelWidth_ = 0;
    UsbPrinterList usb_;
    std::array<int, 4> storedIp_{};  // the address last taken from the field
    int storedPort_ = 0;             // the port last taken from the field
    QString storedHost_;             // a host name taken from the field instead (LAN:host:port)

    QFormLayout* form_ = nullptr;
    QComboBox* printers_ = nullptr;
    QComboBox* interfaces_ = nullptr;
    QLabel* interfaceDevice_ = nullptr;
    QLabel* usbProblems_ = nullptr;
    QWidget* interfaceRow_ = nullptr;
    QWidget* ipRow_ = nullptr;
    QLineEdit* ipAddress_ = nullptr;
    QPushButton* find_ = nullptr;
    QLabel* ipProblem_ = nullptr;
    SpinEdit* port_ = nullptr;
    QLabel* portProblem_ = nullptr;
    QComboBox* baudRate_ = nullptr;
    QComboBox* dataBits_ = nullptr;
    QComboBox* parity_ = nullptr;
    QComboBox* stopBits_ = nullptr;
    QListWidget* usbDevices_ = nullptr;
    QFrame* separator_ = nullptr;
    QComboBox* codeType_ = nullptr;
    std::array<QLineEdit*, 3> manualCodes_{};
    std::array<QLineEdit*, 3> characters_{};
    std::array<QWidget*, 3> manualRows_{};
};

}  // namespace vormex::gui
