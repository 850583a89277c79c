#include "gui/dialogs/DLProcDlg.h"

#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

QString percentText(int percent) { return QStringLiteral("%1%").arg(percent); }

// The log holds CR LF line ends; the edit shows lines.
QString shownLogText(const QString& log)
{
    QString shown = log;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    return shown;
}

QProgressBar* newBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QLabel* newPercent(QWidget* parent)
{
    auto* label = new QLabel(percentText(0), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(QFontMetrics(label->font()).horizontalAdvance(QStringLiteral("100%")) + 6);
    return label;
}

}  // namespace

CDLProcDlg::CDLProcDlg(CVORMEXSettingToolApp& app, DownloadJob job, LinkSettings link, bool firmwareHandshake,
                       QWidget* parent)
    : QDialog(parent), app_(app), job_(std::move(job)), link_(std::move(link)), handshake_(firmwareHandshake)
{
    setWindowTitle(app.text(text::dialogTitle(6300)));
    setModal(true);

    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setAccessibleName(app.text(text::kLogName));
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setMinimumSize(460, 200);
    fileName_ = new QLabel(this);
    fileName_->setTextFormat(Qt::PlainText);
    fileName_->setMinimumWidth(460);
    fileName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    itemBar_ = newBar(this);
    itemBar_->setAccessibleName(app.text(text::kItemProgressName));
    itemPercent_ = newPercent(this);
    jobLabel_ = new QLabel(app.text(text::controlCaption(6342)), this);
    jobBar_ = newBar(this);
    jobPercent_ = newPercent(this);
    NameAfterCaption(jobLabel_, jobBar_);
    ok_ = new QPushButton(app.text(text::kButtonOk), this);
    cancel_ = new QPushButton(app.text(text::kButtonCancel), this);
    ok_->setEnabled(false);
    // Enter presses OK once the job is complete; Escape cancels (reject).
    ok_->setAutoDefault(false);
    ok_->setDefault(true);
    cancel_->setAutoDefault(false);

    auto* bars = new QGridLayout;
    bars->setHorizontalSpacing(8);
    bars->addWidget(itemBar_, 0, 1);
    bars->addWidget(itemPercent_, 0, 2);
    bars->addWidget(jobLabel_, 1, 0);
    bars->addWidget(jobBar_, 1, 1);
    bars->addWidget(jobPercent_, 1, 2);
    bars->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(log_, 1);
    layout->addWidget(fileName_);
    layout->addLayout(bars);
    layout->addLayout(buttons);

    refresh_ = new QTimer(this);
    refresh_->setInterval(kRefreshMs);
    connect(refresh_, &QTimer::timeout, this, &CDLProcDlg::OnTimer);
    closeWait_ = new QTimer(this);
    closeWait_->setInterval(kRefreshMs);
    connect(closeWait_, &QTimer::timeout, this, &CDLProcDlg::waitForEngineToClose);
    connect(ok_, &QPushButton::clicked, this, [this] { Finish(QDialog::Accepted); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Finish(QDialog::Rejected); });
}

// An engine still running when the dialog goes away is stopped and joined by its runner.
CDLProcDlg::~CDLProcDlg() = default;

void CDLProcDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!runner_)
        startEngine();
}

void CDLProcDlg::startEngine()
{
    runner_ = DownloadRunner::StartJob(job_, link_, handshake_);
    refresh_->start();
}

bool CDLProcDlg::engineRunning() const { return runner_ && runner_->running(); }

void CDLProcDlg::OnTimer()
{
    if (!runner_)
        return;
    // Read before the display: an engine that had ended has nothing more to show after it.
    const bool ended = !runner_->running();
    const DownloadProgress& progress = runner_->progress();
    const int item = runner_->displayedItemPercent();
    const int whole = progress.jobPercent.load();
    const QString file = progress.currentFile();
    if (file != shownFile_) {
        shownFile_ = file;
        fileName_->setText(file);
        fileName_->setToolTip(file);
    }
    itemPercent_->setText(percentText(item));
    jobPercent_->setText(percentText(whole));
    itemBar_->setValue(item);
    jobBar_->setValue(whole);
    const QString log = progress.logText();
    if (log != shownLog_) {
        shownLog_ = log;
        log_->setPlainText(shownLogText(log));
        log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    }

    const bool complete = progress.stepsDone.load() >= progress.totalSteps.load();
    if (!closing_) {
        ok_->setEnabled(complete);
        cancel_->setEnabled(!complete);
    }
    if (complete && !completedSignalled_) {
        completedSignalled_ = true;
        // The keyboard goes on from the way out.
        if (!closing_)
            ok_->setFocus(Qt::OtherFocusReason);
        emit jobCompleted();
    }
    // The engine logs its last line after the last step is counted: the display follows it to
    // its end.
    if (ended)
        refresh_->stop();
}

void CDLProcDlg::Finish(int result)
{
    if (closing_)
        return;
    closing_ = true;
    closeResult_ = result;
    ok_->setEnabled(false);
    cancel_->setEnabled(false);
    if (!runner_) {
        done(result);
        return;
    }
    runner_->RequestCancel();
    closeDeadline_.emplace(kCloseBoundMs);
    waitForEngineToClose();
    if (closing_ && isVisible())
        closeWait_->start();
}

void CDLProcDlg::waitForEngineToClose()
{
    if (!closing_ || !isVisible())
        return;
    if (runner_->running() && !closeDeadline_->expired())
        return;
    closeWait_->stop();
    OnTimer();
    refresh_->stop();
    done(closeResult_);
}

void CDLProcDlg::reject() { Finish(QDialog::Rejected); }

}  // namespace vormex::gui
