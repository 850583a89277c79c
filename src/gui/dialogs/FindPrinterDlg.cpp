#include "gui/dialogs/FindPrinterDlg.h"

#include "comm/CommandFraming.h"
#include "discovery/NetworkInterfaces.h"
#include "discovery/NetworkScan.h"
#include "discovery/ScanReport.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <mutex>

namespace vormex::gui {

// What the scan's threads and the dialog share; it lives as long as the last of them holds it.
struct FindScanState : ScanObserver {
    void probed(int doneNow, int totalNow) override
    {
        done = std::max(done.load(), doneNow);
        total = totalNow;
    }
    void found(const FoundDevice& device) override
    {
        std::lock_guard lock(mutex);
        devices.append(device);
    }
    QList<FoundDevice> devicesFrom(int first)
    {
        std::lock_guard lock(mutex);
        return devices.mid(first);
    }

    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::mutex mutex;
    QList<FoundDevice> devices;  // as they answered
    ScanResult result;           // written by the scan's thread before `finished`
};

namespace {

constexpr int kAddressRole = Qt::UserRole;
constexpr int kPortRole = Qt::UserRole + 1;
constexpr int kOrderRole = Qt::UserRole + 2;

}  // namespace

CFindPrinterDlg::CFindPrinterDlg(CVORMEXSettingToolApp& app, int port, QWidget* parent) : QDialog(parent), app_(app)
{
    setWindowTitle(text(text::kFindTitle));
    setModal(true);
    buildControls(port > 0 ? port : kDefaultScanPort);
    const QList<NetworkInterface> interfaces = app_.networkInterfaces ? app_.networkInterfaces() : QList<NetworkInterface>{};
    range_->setText(FirstInterfaceRange(interfaces).value_or(QString()));
    showScanning(false);
}

CFindPrinterDlg::~CFindPrinterDlg() { StopScan(); }

QString CFindPrinterDlg::text(int id) const { return app_.text(id); }

void CFindPrinterDlg::buildControls(int port)
{
    range_ = new QLineEdit(this);
    range_->setObjectName(QStringLiteral("range"));
    range_->setMinimumWidth(260);
    range_->setAccessibleDescription(text(text::kFindRangeDescription));
    range_->setToolTip(text(text::kFindRangeDescription));
    port_ = new QSpinBox(this);
    port_->setObjectName(QStringLiteral("port"));
    port_->setRange(kMinLanPort, kMaxLanPort);
    port_->setValue(port);
    port_->setAccessibleDescription(RangeDescription([this](int id) { return text(id); }, kMinLanPort, kMaxLanPort));
    scan_ = new QPushButton(text(text::kFindScan), this);
    stop_ = new QPushButton(text(text::kFindStop), this);
    // Enter starts a scan; Enter on a printer of the list chooses it (the list's activation).
    scan_->setDefault(true);
    for (QPushButton* button : {scan_, stop_})
        button->setAutoDefault(false);

    auto* rangeLabel = new QLabel(text(text::kFindRange), this);
    NameAfterCaption(rangeLabel, range_);
    auto* portLabel = new QLabel(text(text::controlCaption(6001)), this);
    NameAfterCaption(portLabel, port_);
    auto* fields = new QFormLayout;
    fields->addRow(rangeLabel, range_);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(port_);
    portRow->addStretch(1);
    portRow->addWidget(scan_);
    portRow->addWidget(stop_);
    fields->addRow(portLabel, portRow);

    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setAccessibleName(text(text::kProgressName));
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("printers"));
    list_->setAccessibleName(text(text::kFindListName));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSortingEnabled(false);
    QStringList columns;
    for (int i = 0; i < 4; ++i)
        columns << text(text::kFindColumnFirst + i);
    list_->setHeaderLabels(columns);
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(520, 200);

    ok_ = new QPushButton(text(text::kButtonOk), this);
    cancel_ = new QPushButton(text(text::kButtonCancel), this);
    for (QPushButton* button : {ok_, cancel_})
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    refresh_ = new QTimer(this);
    refresh_->setInterval(kRefreshMs);
    connect(refresh_, &QTimer::timeout, this, &CFindPrinterDlg::OnTimer);
    connect(scan_, &QPushButton::clicked, this, [this] { StartScan(); });
    connect(stop_, &QPushButton::clicked, this, [this] {
        StopScan();
        scan_->setFocus(Qt::OtherFocusReason);
    });
    connect(ok_, &QPushButton::clicked, this, &CFindPrinterDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CFindPrinterDlg::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { ok_->setEnabled(list_->currentItem() != nullptr); });
    connect(list_, &QTreeWidget::itemActivated, this, [this] { accept(); });
}

bool CFindPrinterDlg::scanning() const { return state_ && worker_.joinable(); }

bool CFindPrinterDlg::StartScan()
{
    StopScan();
    ScanRequest request;
    for (const QString& part : range_->text().split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
        const ScanTargetParse parsed = ParseScanTarget(part);
        if (!parsed.target) {
            status_->setText(text(text::kFindRangeRefused).arg(part));
            range_->setFocus(Qt::OtherFocusReason);
            return false;
        }
        request.targets.append(*parsed.target);
    }
    if (request.targets.isEmpty()) {
        status_->setText(text(text::kFindRangeRefused).arg(range_->text()));
        range_->setFocus(Qt::OtherFocusReason);
        return false;
    }
    request.ports = {port_->value()};
    request.probe.codes = CommandCodesFor(app_.app().selectedPrinter(), app_.app().controlCodes);

    list_->clear();
    shownRows_ = 0;
    progress_->setRange(0, 0);
    status_->clear();
    state_ = std::make_shared<FindScanState>();
    // The scan's thread holds the state too, so nothing it touches goes before it has ended.
    worker_ = std::thread([state = state_, request] {
        state->result = RunScan(request, state, state->cancel);
        state->finished = true;
    });
    showScanning(true);
    refresh_->start();
    return true;
}

void CFindPrinterDlg::StopScan()
{
    if (!worker_.joinable())
        return;
    state_->cancel = true;
    worker_.join();
    OnTimer();
}

void CFindPrinterDlg::OnTimer()
{
    if (!state_)
        return;
    const bool finished = state_->finished.load();  // before the rows: none comes after it
    for (const FoundDevice& device : state_->devicesFrom(shownRows_))
        addRow(device);
    const int total = state_->total.load();
    if (total > 0) {
        progress_->setRange(0, total);
        progress_->setValue(state_->done.load());
        status_->setText(text(text::kFindProgress).arg(shownRows_).arg(state_->done.load()).arg(total));
    }
    if (finished)
        finishScan();
}

void CFindPrinterDlg::addRow(const FoundDevice& device)
{
    const QString address = device.host.isEmpty() ? Ipv4Text(device.ipv4) : device.host;
    const QString status = device.status == kNoAnswer
                               ? QStringLiteral("-")
                               : QStringLiteral("%1 %2").arg(device.status, 2, 10, QLatin1Char('0')).arg(ScanStatusText(device.status, app_.app().strings));
    auto* row = new QTreeWidgetItem({address, QString::number(device.port), ModeWord(device.mode), status});
    row->setData(0, kAddressRole, address);
    row->setData(0, kPortRole, device.port);
    row->setData(0, kOrderRole, QVariant::fromValue((quint64(device.ipv4) << 16) | quint64(device.port)));
    // In the order of the addresses, whatever the order of the answers.
    int at = 0;
    while (at < list_->topLevelItemCount() && list_->topLevelItem(at)->data(0, kOrderRole).toULongLong() < row->data(0, kOrderRole).toULongLong())
        ++at;
    list_->insertTopLevelItem(at, row);
    ++shownRows_;
    if (!list_->currentItem())
        list_->setCurrentItem(row);
    for (int column = 0; column < 3; ++column)
        list_->resizeColumnToContents(column);
}

void CFindPrinterDlg::finishScan()
{
    refresh_->stop();
    if (worker_.joinable())
        worker_.join();
    const ScanResult& result = state_->result;
    progress_->setRange(0, 1);
    progress_->setValue(1);
    if (!result.problem.isEmpty())
        status_->setText(text(text::kFindCannotScan).arg(result.problem));
    else if (result.cancelled)
        status_->setText(text(text::kFindStopped).arg(shownRows_));
    else
        status_->setText(text(text::kFindFinished).arg(result.printers()).arg(result.addresses).arg(result.seconds, 0, 'f', 2));
    showScanning(false);
}

void CFindPrinterDlg::showScanning(bool running)
{
    scan_->setEnabled(!running);
    stop_->setEnabled(running);
    range_->setEnabled(!running);
    port_->setEnabled(!running);
    ok_->setEnabled(list_->currentItem() != nullptr);
}

void CFindPrinterDlg::accept()
{
    const QTreeWidgetItem* row = list_->currentItem();
    if (!row)
        return;
    chosenAddress_ = row->data(0, kAddressRole).toString();
    chosenPort_ = row->data(0, kPortRole).toInt();
    StopScan();
    QDialog::accept();
}

void CFindPrinterDlg::reject()
{
    StopScan();
    QDialog::reject();
}

}  // namespace vormex::gui
