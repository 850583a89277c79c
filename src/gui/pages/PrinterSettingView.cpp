#include "gui/pages/PrinterSettingView.h"

#include "app/AppSettings.h"
#include "comm/DeviceInfo.h"
#include "definitions/Lookups.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/dialogs/FindPrinterDlg.h"
#include "gui/widgets/PageTitle.h"
#include "gui/widgets/SpinEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace vormex::gui {
namespace {

constexpr int kFieldWidth = 240;
const QString kStandardEntry = QStringLiteral("standard");
// The interface entries carry the device a port opens (shown beside the list) and the port name
// the device-info text is made of (the entry's text may say more, e.g. that it is missing).
constexpr int kDeviceRole = Qt::UserRole;
constexpr int kPortNameRole = Qt::UserRole + 1;

QString ipText(const std::array<int, 4>& bytes)
{
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

// Marks an input that was not taken (the field's style sheet draws the mark).
void markInvalid(QWidget* field, bool invalid)
{
    if (field->property("invalidInput").toBool() == invalid)
        return;
    field->setProperty("invalidInput", invalid);
    field->style()->unpolish(field);
    field->style()->polish(field);
    field->update();
}

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
    NameAfterCaption(label, control);
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
    usbProblems_ = new QLabel(this);  // one line a printer, no word wrap (see the IP problem below)
    usbProblems_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    usbProblems_->setStyleSheet(QStringLiteral("color: #a03020;"));
    form_->addRow(QString(), usbProblems_);

    ipAddress_ = new QLineEdit(this);
    ipAddress_->setMinimumWidth(kFieldWidth);
    ipAddress_->setMaxLength(253);
    // Digits and dots, or a host name; what is wrong with them is said once the field is left.
    ipAddress_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9A-Za-z.-]*$")), ipAddress_));
    ipAddress_->setStyleSheet(
        QStringLiteral("QLineEdit[invalidInput=\"true\"] { border: 2px solid #c0392b; background: #fdecea; }"));
    find_ = new QPushButton(text(text::kFindButton), this);
    find_->setAccessibleName(AccessibleNameOf(find_->text()));
    find_->setAutoDefault(false);
    ipRow_ = new QWidget(this);
    auto* ipLayout = new QHBoxLayout(ipRow_);
    ipLayout->setContentsMargins(0, 0, 0, 0);
    ipLayout->setSpacing(8);
    ipLayout->addWidget(ipAddress_);
    ipLayout->addWidget(find_);
    ipLayout->addStretch(1);
    form_->addRow(captionFor(ipAddress_, text(text::controlCaption(6061)), this), ipRow_);

    // Two lines without word wrap: a label that wraps makes the form lay out height for width,
    // which this Qt's form layout gets wrong (past the end of its arrays) when rows are shown.
    ipProblem_ = new QLabel(this);
    ipProblem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ipProblem_->setStyleSheet(QStringLiteral("color: #a03020;"));
    form_->addRow(QString(), ipProblem_);
    form_->setRowVisible(ipProblem_, false);

    port_ = new SpinEdit(this);
    port_->setLimits(kMinLanPort, kMaxLanPort, 5);
    // Taken when the field is left or Enter is pressed, not digit by digit.
    port_->setKeyboardTracking(false);
    port_->setValue(settings::kDefaultLanPort);
    port_->setMinimumWidth(kFieldWidth / 2);
    // The mark is on the edit inside: a style sheet for the spin box itself would draw its
    // arrows plain.
    if (auto* edit = port_->findChild<QLineEdit*>())
        edit->setStyleSheet(QStringLiteral("QLineEdit[invalidInput=\"true\"] { background: #f6c9c4; }"));
    const auto texts = [this](int id) { return text(id); };
    port_->setAccessibleDescription(RangeDescription(texts, kMinLanPort, kMaxLanPort));
    form_->addRow(captionFor(port_, text(text::controlCaption(6001)), this), port_);

    portProblem_ = new QLabel(this);
    portProblem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    portProblem_->setStyleSheet(QStringLiteral("color: #a03020;"));
    form_->addRow(QString(), portProblem_);
    form_->setRowVisible(portProblem_, false);

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
        code->setAccessibleDescription(text(text::kHexDigitsDescription).arg(2));
        // Read-only, but reached with Tab like the code beside it, so the character can be read.
        auto* character = new QLineEdit(this);
        character->setReadOnly(true);
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
    connect(ipAddress_, &QLineEdit::editingFinished, this, [this] { onIpAddressEdited(); });
    connect(find_, &QPushButton::clicked, this, [this] { OnFindPrinters(); });
    connect(port_, &QSpinBox::valueChanged, this, [this] { onPortEdited(); });
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
    alignLabelColumn();
}

void CPrinterSettingView::alignLabelColumn()
{
    // The label column is as wide as the widest label of every row, shown or not, so the
    // controls stay where they are whatever the interface, the printer or the code type.
    QList<QWidget*> labels;
    int width = 0;
    for (int row = 0; row < form_->rowCount(); ++row) {
        const QLayoutItem* item = form_->itemAt(row, QFormLayout::LabelRole);
        if (!item || !item->widget())
            continue;
        labels << item->widget();
        width = std::max(width, item->widget()->sizeHint().width());
    }
    labelWidth_ = width;
    for (QWidget* label : labels)
        label->setMinimumWidth(width);
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
        interfaceNames << interfaces_->itemData(i, kPortNameRole).toString();
    const InterfaceSelection selection = SelectInterface(app.deviceInfo, interfaceNames, !usb_.paths.isEmpty(), options);
    if (!selection.replacementDeviceInfo.isEmpty())
        storePrinterAndDevice(app.selectedPrinterName, selection.replacementDeviceInfo);
    if (!selection.missingPort.isEmpty()) {
        // The stored port is not on the system now: listed as such, its stored text kept.
        interfaces_->insertItem(selection.interfaceIndex, text(text::kPortNotConnected).arg(selection.missingPort));
        interfaces_->setItemData(selection.interfaceIndex, selection.missingPort, kPortNameRole);
    }
    interfaces_->setCurrentIndex(selection.interfaceIndex);
    storedIp_ = selection.ipBytes;
    storedHost_ = selection.host;
    ipAddress_->setText(storedHost_.isEmpty() ? ipText(storedIp_) : storedHost_);
    storedPort_ = selection.port;
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

    // 7. The check's message needs the window on the screen, over which it is shown.
    ready_ = true;
    host_.SetHeaderText(ComposeHeaderText(app.selectedPrinterName, app.deviceInfo));
    startCheckPending_ = true;
    if (isVisible())
        runStartCheckWhenExposed();
}

void CPrinterSettingView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    alignLabelColumn();
    if (startCheckPending_)
        runStartCheckWhenExposed();
}

void CPrinterSettingView::runStartCheckWhenExposed()
{
    QWindow* handle = window()->windowHandle();
    if (handle && !handle->isExposed()) {
        handle->installEventFilter(this);
        return;
    }
    startCheckPending_ = false;
    // After the window's first paint.
    QTimer::singleShot(0, this, [this] { CheckControlCodes(); });
}

bool CPrinterSettingView::eventFilter(QObject* watched, QEvent* event)
{
    auto* handle = qobject_cast<QWindow*>(watched);
    if (handle && event->type() == QEvent::Expose && handle->isExposed()) {
        handle->removeEventFilter(this);
        if (startCheckPending_ && isVisible())
            runStartCheckWhenExposed();
    }
    return QWidget::eventFilter(watched, event);
}

void CPrinterSettingView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        alignLabelColumn();
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
    const auto addInterface = [this](const QString& name, const QString& device) {
        interfaces_->addItem(name, device);
        interfaces_->setItemData(interfaces_->count() - 1, name, kPortNameRole);
    };
    addInterface(QStringLiteral("LAN"), QString());
    if (!usb_.paths.isEmpty()) {
        addInterface(QStringLiteral("USB"), QString());
        usbDevices_->addItems(usb_.names);
        usbDevices_->setCurrentRow(0);
    }
    if (app_.ports) {
        const auto [serial, parallel] = app_.ports->serialAndParallelPorts();
        for (const PortEntry& port : serial)
            addInterface(port.name, port.device);
        for (const PortEntry& port : parallel)
            addInterface(port.name, port.device);
    }
    interfaces_->setCurrentIndex(0);
}

QString CPrinterSettingView::selectedInterfaceName() const { return interfaces_->currentData(kPortNameRole).toString(); }

void CPrinterSettingView::showInterfaceControls()
{
    const QString kind = selectedInterfaceName();
    const bool lan = kind.startsWith(QLatin1String("LAN"));
    const bool com = kind.startsWith(QLatin1String("COM"));
    const bool usb = kind == QLatin1String("USB");
    form_->setRowVisible(ipRow_, lan);
    form_->setRowVisible(ipProblem_, lan && !ipProblem_->text().isEmpty());
    form_->setRowVisible(port_, lan);
    form_->setRowVisible(portProblem_, lan && !portProblem_->text().isEmpty());
    for (QComboBox* list : {baudRate_, dataBits_, parity_, stopBits_})
        form_->setRowVisible(list, com);
    form_->setRowVisible(usbDevices_, usb);
    const QString device = interfaces_->currentData(kDeviceRole).toString();
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
    QWidget* field = inCodes ? focused : manualCodes_[conflict == ControlCodeConflict::FirstCode ? 0 : 1];
    field->setFocus(Qt::OtherFocusReason);
    app_.ShowMessage(QMessageBox::Critical, text(text::kEqualControlCodes), QMessageBox::Ok);
    // The message took the focus; it goes back to the code to fix.
    field->setFocus(Qt::OtherFocusReason);
    return 0;
}

QString CPrinterSettingView::SelectedUsbDevicePath() const
{
    const int row = usbDevices_->currentRow();
    if (row < 0 || row >= usb_.paths.size() || !usbDevices_->currentItem() || !usbDevices_->currentItem()->isSelected())
        return {};
    return usb_.paths.at(row);
}

void CPrinterSettingView::ApplyPrinterSettings()
{
    InterfaceChoice choice;
    choice.entryText = selectedInterfaceName();
    // An address that was refused stays marked in its field; the stored one is used meanwhile.
    if (const IpAddressCheck typed = CheckIpAddress(ipAddress_->text()); typed.ok()) {
        storedIp_ = typed.bytes;
        storedHost_.clear();
        if (!ipProblem_->text().isEmpty())
            showIpAddressProblem(QString());
    } else if (IsHostName(ipAddress_->text())) {
        storedHost_ = ipAddress_->text();
        if (!ipProblem_->text().isEmpty())
            showIpAddressProblem(QString());
    }
    choice.ipBytes = storedIp_;
    choice.host = storedHost_;
    choice.port = storedPort_;
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
    app_.SaveSettings();
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

void CPrinterSettingView::onIpAddressEdited()
{
    if (!ready_)
        return;
    const IpAddressCheck check = CheckIpAddress(ipAddress_->text());
    if (check.ok() || IsHostName(ipAddress_->text())) {
        showIpAddressProblem(QString());
        ApplyPrinterSettings();
        return;
    }
    QString fault;
    switch (check.problem) {
    case IpAddressProblem::TooLarge:
        fault = text(text::kIpNumberTooLarge).arg(check.number);
        break;
    case IpAddressProblem::MissingNumber:
        fault = text(text::kIpNumberMissing).arg(check.position);
        break;
    default:
        fault = text(text::kIpNeedsFourNumbers);
        break;
    }
    showIpAddressProblem(text(text::kIpAddressRefused).arg(ipAddress_->text(), fault, storedHost_.isEmpty() ? ipText(storedIp_) : storedHost_));
}

void CPrinterSettingView::OnFindPrinters()
{
    CFindPrinterDlg dialog(app_, port_->value(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ipAddress_->setText(dialog.chosenAddress());
    {
        const QSignalBlocker quiet(port_);
        port_->setValue(dialog.chosenPort());
    }
    storedPort_ = dialog.chosenPort();
    showPortProblem(QString());
    onIpAddressEdited();
}

void CPrinterSettingView::showIpAddressProblem(const QString& problem)
{
    markInvalid(ipAddress_, !problem.isEmpty());
    ipAddress_->setToolTip(problem);
    ipAddress_->setAccessibleDescription(problem);
    ipProblem_->setText(problem);
    form_->setRowVisible(ipProblem_, !problem.isEmpty() && ipAddress_->isVisibleTo(this));
}

void CPrinterSettingView::onPortEdited()
{
    if (!ready_)
        return;
    const int typed = port_->value();
    if (typed >= kMinLanPort && typed <= kMaxLanPort) {
        storedPort_ = typed;
        showPortProblem(QString());
        ApplyPrinterSettings();
        return;
    }
    showPortProblem(text(text::kPortRefused)
                        .arg(port_->text())
                        .arg(kMinLanPort)
                        .arg(kMaxLanPort)
                        .arg(storedPort_));
}

void CPrinterSettingView::showPortProblem(const QString& problem)
{
    markInvalid(port_, !problem.isEmpty());
    if (auto* edit = port_->findChild<QLineEdit*>())
        markInvalid(edit, !problem.isEmpty());
    port_->setToolTip(problem);
    port_->setAccessibleDescription(problem.isEmpty() ? RangeDescription([this](int id) { return text(id); },
                                                                         kMinLanPort, kMaxLanPort)
                                                      : problem);
    portProblem_->setText(problem);
    form_->setRowVisible(portProblem_, !problem.isEmpty() && port_->isVisibleTo(this));
}

void CPrinterSettingView::hideEvent(QHideEvent* event)
{
    ApplyControlCodes();
    QWidget::hideEvent(event);
}

}  // namespace vormex::gui
