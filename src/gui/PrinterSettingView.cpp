#include "PrinterSettingView.h"

#include "GuiStrings.h"
#include "PageTitle.h"
#include "VORMEXSettingToolApp.h"
#include "app/AppSettings.h"
#include "definitions/Lookups.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

constexpr int kFieldWidth = 240;
const QString kStandardEntry = QStringLiteral("standard");

// The character a code stands for; control characters, which have no glyph, by their ASCII
// names.
QString characterOf(std::uint8_t code)
{
    static const char* const kControlNames[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                                "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                                "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                                "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    if (code < 0x20)
        return QString::fromLatin1(kControlNames[code]);
    if (code == 0x7F)
        return QStringLiteral("DEL");
    if (code == 0x20)
        return QStringLiteral("SP");
    return QString(QChar(code));
}

QComboBox* newList(QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setMinimumWidth(kFieldWidth);
    return list;
}

// A label that names its control for the keyboard and screen readers.
QLabel* captionFor(QWidget* control, const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(control);
    QString name = caption;
    name.remove(QRegularExpression(QStringLiteral("[：:]\\s*$")));
    control->setAccessibleName(name);
    return label;
}

}  // namespace

CPrinterSettingView::CPrinterSettingView(CVORMEXSettingToolApp& app, PrinterSettingsHost& host, QWidget* parent)
    : QWidget(parent), app_(app), host_(host)
{
    buildControls();
}

QString CPrinterSettingView::text(int id) const { return app_.text(id); }

void CPrinterSettingView::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 16, 24, 16);
    outer->addWidget(CreatePageTitle(text(text::dialogTitle(6000)), this));

    form_ = new QFormLayout;
    form_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form_->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form_->setHorizontalSpacing(12);
    form_->setVerticalSpacing(8);
    outer->addLayout(form_);
    outer->addStretch(1);

    printers_ = newList(this);
    form_->addRow(captionFor(printers_, text(text::controlCaption(6041)), this), printers_);

    interfaces_ = newList(this);
    interfaceDevice_ = new QLabel(this);
    interfaceDevice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    interfaceRow_ = new QWidget(this);
    auto* interfaceLayout = new QHBoxLayout(interfaceRow_);
    interfaceLayout->setContentsMargins(0, 0, 0, 0);
    interfaceLayout->setSpacing(12);
    interfaceLayout->addWidget(interfaces_);
    interfaceLayout->addWidget(interfaceDevice_);
    form_->addRow(captionFor(interfaces_, text(text::controlCaption(6042)), this), interfaceRow_);

    // USB printers that are connected but cannot be opened, and why.
    usbProblems_ = new QLabel(this);
    usbProblems_->setWordWrap(true);
    usbProblems_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    usbProblems_->setStyleSheet(QStringLiteral("color: #a03020;"));
    form_->addRow(QString(), usbProblems_);

    ipAddress_ = new QLineEdit(this);
    ipAddress_->setMinimumWidth(kFieldWidth);
    ipAddress_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^\\d{0,3}(\\.\\d{0,3}){0,3}$")), ipAddress_));
    form_->addRow(captionFor(ipAddress_, text(text::controlCaption(6061)), this), ipAddress_);

    port_ = new QSpinBox(this);
    port_->setRange(0, 65535);
    port_->setValue(settings::kDefaultLanPort);
    port_->setMinimumWidth(kFieldWidth / 2);
    form_->addRow(captionFor(port_, text(text::controlCaption(6001)), this), port_);

    baudRate_ = newList(this);
    form_->addRow(captionFor(baudRate_, text(text::controlCaption(6043)), this), baudRate_);
    dataBits_ = newList(this);
    form_->addRow(captionFor(dataBits_, text(text::controlCaption(6044)), this), dataBits_);
    parity_ = newList(this);
    form_->addRow(captionFor(parity_, text(text::controlCaption(6045)), this), parity_);
    stopBits_ = newList(this);
    form_->addRow(captionFor(stopBits_, text(text::controlCaption(6046)), this), stopBits_);

    usbDevices_ = new QListWidget(this);
    usbDevices_->setMinimumWidth(kFieldWidth);
    usbDevices_->setMaximumHeight(90);
    form_->addRow(captionFor(usbDevices_, text(text::controlCaption(6062)), this), usbDevices_);

    separator_ = new QFrame(this);
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Sunken);
    separator_->setMinimumWidth(kFieldWidth * 2);
    form_->addRow(separator_);

    codeType_ = newList(this);
    form_->addRow(captionFor(codeType_, text(text::controlCaption(6047)), this), codeType_);

    for (int i = 0; i < 3; ++i) {
        auto* code = new QLineEdit(this);
        code->setInputMask(QStringLiteral("\\HE\\X(>hh)"));
        code->setFixedWidth(QFontMetrics(code->font()).horizontalAdvance(QStringLiteral("HEX(MM)")) + 24);
        auto* character = new QLineEdit(this);
        character->setReadOnly(true);
        character->setFocusPolicy(Qt::NoFocus);
        character->setFixedWidth(QFontMetrics(character->font()).horizontalAdvance(QStringLiteral("DEL")) + 20);
        character->setAlignment(Qt::AlignCenter);
        character->setAccessibleName(text(text::kCodeCharacterFirst + i));
        auto* row = new QWidget(this);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->setSpacing(8);
        rowLayout->addWidget(code);
        rowLayout->addWidget(character);
        rowLayout->addStretch(1);
        form_->addRow(captionFor(code, text(text::controlCaption(6002 + i)), this), row);
        manualCodes_[static_cast<size_t>(i)] = code;
        characters_[static_cast<size_t>(i)] = character;
        manualRows_[static_cast<size_t>(i)] = row;
    }

    connect(printers_, &QComboBox::currentIndexChanged, this, [this] { onPrinterChosen(); });
    connect(interfaces_, &QComboBox::currentIndexChanged, this, [this] { onInterfaceChosen(); });
    connect(ipAddress_, &QLineEdit::editingFinished, this, [this] { onAddressChanged(); });
    connect(port_, &QSpinBox::valueChanged, this, [this] { onAddressChanged(); });
    for (QComboBox* list : {baudRate_, dataBits_, parity_, stopBits_})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { onAddressChanged(); });
    connect(codeType_, &QComboBox::currentIndexChanged, this, [this] {
        if (!ready_)
            return;
        showManualCodeControls();
        ApplyControlCodes();
    });
    for (QLineEdit* code : manualCodes_) {
        // Applied once the edit has settled its text.
        connect(code, &QLineEdit::textEdited, this, [this] {
            if (ready_)
                QMetaObject::invokeMethod(this, [this] { ApplyControlCodes(); }, Qt::QueuedConnection);
        });
    }
}

void CPrinterSettingView::OnInitialUpdate()
{
    if (filled_)
        return;
    filled_ = true;
    Application& app = app_.app();

    // 1. The printers of the definition file, but "standard".
    for (const PrinterDefinition& entry : app.printerDefinitions) {
        if (entry.name != kStandardEntry)
            printers_->addItem(entry.name);
    }
    const int stored = printers_->findText(app.selectedPrinterName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (stored >= 0) {
        printers_->setCurrentIndex(stored);
    } else if (printers_->count() > 0) {
        printers_->setCurrentIndex(0);
        storePrinterAndDevice(printers_->itemText(0), DefaultDeviceInfo());
    }

    // 2. and 3. The interfaces and the serial lists.
    fillInterfaces();
    baudRate_->addItems(app.strings.list(text::kBaudRates));
    dataBits_->addItems(app.strings.list(text::kDataBits));
    parity_->addItems(app.strings.list(text::kParities));
    stopBits_->addItems(app.strings.list(text::kStopBits));

    // 4. The stored device-info text.
    const SerialOptions options{app.strings.list(text::kBaudRates), app.strings.list(text::kDataBits),
                                app.strings.list(text::kParities), app.strings.list(text::kStopBits)};
    QStringList interfaceNames;
    for (int i = 0; i < interfaces_->count(); ++i)
        interfaceNames << interfaces_->itemText(i);
    const InterfaceSelection selection = SelectInterface(app.deviceInfo, interfaceNames, !usb_.paths.isEmpty(), options);
    if (!selection.replacementDeviceInfo.isEmpty())
        storePrinterAndDevice(app.selectedPrinterName, selection.replacementDeviceInfo);
    interfaces_->setCurrentIndex(selection.interfaceIndex);
    lastGoodIp_ = QStringLiteral("%1.%2.%3.%4")
                      .arg(selection.ipBytes[0])
                      .arg(selection.ipBytes[1])
                      .arg(selection.ipBytes[2])
                      .arg(selection.ipBytes[3]);
    ipAddress_->setText(lastGoodIp_);
    port_->setValue(selection.port);
    baudRate_->setCurrentIndex(selection.baudIndex);
    dataBits_->setCurrentIndex(selection.dataBitsIndex);
    parity_->setCurrentIndex(selection.parityIndex);
    stopBits_->setCurrentIndex(selection.stopBitsIndex);

    // 5. and 6.
    showInterfaceControls();
    codeType_->addItems(app.strings.list(text::kControlCodeTypes));
    manualCodes_[0]->setText(QStringLiteral("HEX(1B)"));
    manualCodes_[1]->setText(QStringLiteral("HEX(0A)"));
    manualCodes_[2]->setText(QStringLiteral("HEX(00)"));
    setUpControlCodes();

    // 7.
    ready_ = true;
    host_.SetHeaderText(ComposeHeaderText(app.selectedPrinterName, app.deviceInfo));
    CheckControlCodes();
}

void CPrinterSettingView::fillInterfaces()
{
    if (app_.ports)
        usb_ = app_.ports->usbPrinters();
    QStringList problems;
    for (const auto& [device, reason] : usb_.unreachable)
        problems << text(text::kUsbUnreachable).arg(device, reason);
    usbProblems_->setText(problems.join(QLatin1Char('\n')));
    form_->setRowVisible(usbProblems_, !problems.isEmpty());
    interfaces_->addItem(QStringLiteral("LAN"));
    if (!usb_.paths.isEmpty()) {
        interfaces_->addItem(QStringLiteral("USB"));
        usbDevices_->addItems(usb_.names);
        usbDevices_->setCurrentRow(0);
    }
    if (app_.ports) {
        const QList<PortEntry> serial = app_.ports->serialPorts();
        for (const PortEntry& port : serial)
            interfaces_->addItem(port.name, port.device);
        const QList<PortEntry> parallel = app_.ports->parallelPorts();
        for (const PortEntry& port : parallel)
            interfaces_->addItem(port.name, port.device);
    }
    interfaces_->setCurrentIndex(0);
}

void CPrinterSettingView::showInterfaceControls()
{
    const QString kind = interfaces_->currentText();
    const bool lan = kind.startsWith(QLatin1String("LAN"));
    const bool com = kind.startsWith(QLatin1String("COM"));
    const bool usb = kind == QLatin1String("USB");
    form_->setRowVisible(ipAddress_, lan);
    form_->setRowVisible(port_, lan);
    for (QComboBox* list : {baudRate_, dataBits_, parity_, stopBits_})
        form_->setRowVisible(list, com);
    form_->setRowVisible(usbDevices_, usb);
    const QString device = interfaces_->currentData().toString();
    interfaceDevice_->setText(device);
    interfaceDevice_->setVisible(!device.isEmpty());
}

bool CPrinterSettingView::variableControlCodes() const
{
    const PrinterDefinition* printer = FindPrinter(app_.app().printerDefinitions, printers_->currentText());
    return printer && printer->variableControlCodes != 0;
}

void CPrinterSettingView::setUpControlCodes()
{
    const bool variable = variableControlCodes();
    const ControlCodes& codes = app_.app().controlCodes;
    if (variable) {
        const QSignalBlocker block(codeType_);
        codeType_->setCurrentIndex(std::clamp(codes.type, 0, codeType_->count() - 1));
        if (codes.type == 3) {
            manualCodes_[0]->setText(FormatManualCode(codes.code1));
            manualCodes_[1]->setText(FormatManualCode(codes.code2));
            manualCodes_[2]->setText(FormatManualCode(codes.code3));
        }
    }
    form_->setRowVisible(separator_, variable);
    form_->setRowVisible(codeType_, variable);
    showManualCodeControls();
    refreshCharacters();
}

void CPrinterSettingView::showManualCodeControls()
{
    const bool manual = variableControlCodes() && codeType_->currentIndex() == 3;
    for (QWidget* row : manualRows_)
        form_->setRowVisible(row, manual);
}

void CPrinterSettingView::refreshCharacters()
{
    for (size_t i = 0; i < 3; ++i)
        characters_[i]->setText(characterOf(ParseManualCode(manualCodes_[i]->text())));
}

void CPrinterSettingView::ApplyControlCodes()
{
    if (!ready_)
        return;
    ControlCodeChoice choice;
    choice.variableControlCodes = variableControlCodes();
    choice.typeIndex = codeType_->currentIndex();
    choice.manual1 = manualCodes_[0]->text();
    choice.manual2 = manualCodes_[1]->text();
    choice.manual3 = manualCodes_[2]->text();
    app_.app().controlCodes = ControlCodesFromPage(choice);
    refreshCharacters();
}

int CPrinterSettingView::CheckControlCodes()
{
    if (!ready_)
        return 1;
    const ControlCodeConflict conflict = FindControlCodeConflict(app_.app().controlCodes);
    if (conflict == ControlCodeConflict::None)
        return 1;
    QWidget* focused = QApplication::focusWidget();
    const bool inCodes = std::find(manualCodes_.begin(), manualCodes_.end(), focused) != manualCodes_.end();
    if (!inCodes)
        manualCodes_[conflict == ControlCodeConflict::FirstCode ? 0 : 1]->setFocus(Qt::OtherFocusReason);
    app_.ShowMessage(QMessageBox::Critical, text(text::kEqualControlCodes), QMessageBox::Ok);
    return 0;
}

QString CPrinterSettingView::SelectedUsbDevicePath() const
{
    const int row = usbDevices_->currentRow();
    if (row < 0 || row >= usb_.paths.size() || !usbDevices_->currentItem() || !usbDevices_->currentItem()->isSelected())
        return {};
    return usb_.paths.at(row);
}

bool CPrinterSettingView::readIpAddress(std::array<int, 4>& bytes) const
{
    const QStringList parts = ipAddress_->text().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int value = parts[i].toInt(&ok);
        if (!ok || value < 0 || value > 255)
            return false;
        bytes[static_cast<size_t>(i)] = value;
    }
    return true;
}

void CPrinterSettingView::ApplyPrinterSettings()
{
    InterfaceChoice choice;
    choice.entryText = interfaces_->currentText();
    if (!readIpAddress(choice.ipBytes)) {
        // An incomplete address is not stored: the last good one comes back.
        ipAddress_->setText(lastGoodIp_);
        readIpAddress(choice.ipBytes);
    }
    lastGoodIp_ = ipAddress_->text();
    choice.port = port_->value();
    choice.baudRate = baudRate_->currentText();
    choice.dataBits = dataBits_->currentText();
    choice.parity = parity_->currentText();
    choice.stopBits = stopBits_->currentText();
    storePrinterAndDevice(printers_->currentText(), ComposeDeviceInfo(choice));
}

void CPrinterSettingView::storePrinterAndDevice(const QString& printerName, const QString& deviceInfo)
{
    Application& app = app_.app();
    app.selectedPrinterName = printerName;
    app.deviceInfo = deviceInfo;
    app_.store().writeString(QString::fromLatin1(settings::kPrinterName), printerName);
    app_.store().writeString(QString::fromLatin1(settings::kDeviceInfo), deviceInfo);
    host_.SetHeaderText(ComposeHeaderText(printerName, deviceInfo));
}

void CPrinterSettingView::onPrinterChosen()
{
    if (!ready_)
        return;
    ApplyPrinterSettings();
    setUpControlCodes();
    ApplyControlCodes();
    host_.PrinterChanged();
}

void CPrinterSettingView::onInterfaceChosen()
{
    if (!ready_)
        return;
    showInterfaceControls();
    ApplyPrinterSettings();
}

void CPrinterSettingView::onAddressChanged()
{
    if (ready_)
        ApplyPrinterSettings();
}

void CPrinterSettingView::hideEvent(QHideEvent* event)
{
    ApplyControlCodes();
    QWidget::hideEvent(event);
}

}  // namespace vormex::gui
