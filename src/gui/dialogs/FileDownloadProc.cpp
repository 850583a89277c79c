#include "gui/dialogs/FileDownloadProc.h"

#include "app/ApplicationContext.h"
#include "download/DownloadRunner.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/widgets/SpinEdit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

constexpr int kSystemParametersTitle = 8100;
constexpr int kInitialTableTitle = 8101;

}  // namespace

CFileDownloadProc::CFileDownloadProc(CVORMEXSettingToolApp& app, const ParameterDownloadSetup& setup, QWidget* parent)
    : QDialog(parent), app_(app), setup_(setup),
      link_(LinkForDevice(app.app(), app.store(), std::nullopt, app.SelectedUsbDevicePath()))
{
    setObjectName(QStringLiteral("FileDownloadProc"));
    setWindowTitle(app.text(setup.request.kind == FileDownloadRequest::SystemParameters ? kSystemParametersTitle
                                                                                         : kInitialTableTitle));
    buildControls();
    start_->setFocus(Qt::OtherFocusReason);
    timer_.setInterval(kTimerMs);
    connect(&timer_, &QTimer::timeout, this, &CFileDownloadProc::refresh);
    closing_.setInterval(kTimerMs);
    connect(&closing_, &QTimer::timeout, this, &CFileDownloadProc::pollClosing);
}

CFileDownloadProc::~CFileDownloadProc()
{
    // An engine still waiting for the printer is told to stop; it ends on its own thread with
    // the state it shares with the runner.
    if (runner_ && runner_->running())
        runner_->RequestCancel();
}

void CFileDownloadProc::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(10);

    auto* startRow = new QHBoxLayout;
    startRow->setSpacing(8);
    auto* startLabel = new QLabel(app_.text(text::controlCaption(9311)), this);
    startBlock_ = new SpinEdit(this);
    startBlock_->setObjectName(QStringLiteral("StartBlock"));
    startBlock_->setLimits(setup_.startBlockMin, setup_.startBlockMax, 2);
    startBlock_->setValue(setup_.request.startBlock);
    startBlock_->setMinimumWidth(70);
    NameAfterCaption(startLabel, startBlock_);
    startBlock_->setAccessibleDescription(RangeDescription([this](int id) { return app_.text(id); },
                                                           setup_.startBlockMin, setup_.startBlockMax));
    // The blocks the file may start at: the printer's BASIC area.
    auto* range = new QLabel(QStringLiteral("(%1 – %2)").arg(setup_.startBlockMin).arg(setup_.startBlockMax), this);
    range->setObjectName(QStringLiteral("StartBlockRange"));
    startRow->addWidget(startLabel);
    startRow->addWidget(startBlock_);
    startRow->addWidget(range);
    startRow->addStretch(1);
    layout->addLayout(startRow);

    vormexOn_ = new QCheckBox(app_.text(text::controlCaption(9332)), this);
    vormexOn_->setObjectName(QStringLiteral("VormexOnAfter"));
    vormexOn_->setChecked(true);
    layout->addWidget(vormexOn_);

    start_ = new QPushButton(app_.text(text::controlCaption(9331)), this);
    start_->setObjectName(QStringLiteral("StartDownload"));
    start_->setDefault(true);
    auto* startButtonRow = new QHBoxLayout;
    startButtonRow->addWidget(start_);
    startButtonRow->addStretch(1);
    layout->addLayout(startButtonRow);
    connect(start_, &QPushButton::clicked, this, [this] { OnStart(); });

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("Log"));
    log_->setReadOnly(true);
    log_->setAccessibleName(app_.text(text::kLogName));
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setMinimumSize(380, log_->fontMetrics().lineSpacing() * 8 + 12);
    layout->addWidget(log_, 1);

    auto* progressRow = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setAccessibleName(app_.text(text::kProgressName));
    percent_ = new QLabel(QStringLiteral("0%"), this);
    percent_->setObjectName(QStringLiteral("Percent"));
    percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
    percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(percent_);
    layout->addLayout(progressRow);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(app_.text(text::kButtonOk), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("OK"));
    cancel_ = buttons->addButton(app_.text(text::kButtonCancel), QDialogButtonBox::RejectRole);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    ok_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFileDownloadProc::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFileDownloadProc::reject);
    layout->addWidget(buttons);
}

bool CFileDownloadProc::running() const { return runner_ && runner_->running(); }

bool CFileDownloadProc::OnStart()
{
    if (runner_ || closeDeadline_)
        return false;
    int block = 0;
    const int min = setup_.startBlockMin;
    const int max = setup_.startBlockMax;
    if (!startBlock_->readNumber(block) || block < min || block > max) {
        app_.ShowMessage(QMessageBox::Warning, app_.text(text::kRangeMessage).arg(min).arg(max), QMessageBox::Ok);
        startBlock_->setFocus(Qt::OtherFocusReason);
        startBlock_->selectAll();
        return false;
    }
    FileDownloadRequest request = setup_.request;
    request.startBlock = block;
    request.vormexOnAfter = vormexOn_->isChecked();
    runner_ = DownloadRunner::StartFileDownload(std::move(request), link_);
    for (QWidget* control : {static_cast<QWidget*>(startBlock_), static_cast<QWidget*>(vormexOn_),
                             static_cast<QWidget*>(start_), static_cast<QWidget*>(ok_)})
        control->setEnabled(false);
    timer_.start();
    return true;
}

void CFileDownloadProc::refresh()
{
    if (!runner_)
        return;
    const int percent = runner_->displayedItemPercent();
    percent_->setText(percent < 0 ? QStringLiteral("0%") : QStringLiteral("%1%").arg(percent));
    progress_->setValue(std::clamp(percent, 0, 100));
    QString logText = runner_->progress().logText();
    if (logText != shownLog_) {
        shownLog_ = logText;
        log_->setPlainText(logText.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    }
    if (runner_->running() || ended_)
        return;
    timer_.stop();
    ended_ = true;
    completed_ = runner_->progress().completed.load();
    ok_->setEnabled(true);
    cancel_->setEnabled(false);
    start_->setDefault(false);
    ok_->setDefault(true);
    ok_->setFocus(Qt::OtherFocusReason);
    emit downloadEnded(completed_);
}

void CFileDownloadProc::accept() { closeAfterEngine(QDialog::Accepted); }

void CFileDownloadProc::reject()
{
    // Escape and the window's close button while the engine runs cancel as the Cancel button
    // does; once OK is the way out, they close as OK does.
    closeAfterEngine(ended_ ? QDialog::Accepted : QDialog::Rejected);
}

void CFileDownloadProc::closeAfterEngine(int result)
{
    if (closeDeadline_)
        return;  // already on its way out
    timer_.stop();
    if (!running()) {
        QDialog::done(result);
        return;
    }
    runner_->RequestCancel();
    closeResult_ = result;
    closeDeadline_.emplace(kCloseWaitMs);
    ok_->setEnabled(false);
    cancel_->setEnabled(false);
    closing_.start();
}

void CFileDownloadProc::pollClosing()
{
    if (running() && !closeDeadline_->expired())
        return;
    closing_.stop();
    QDialog::done(closeResult_);
}

}  // namespace vormex::gui
