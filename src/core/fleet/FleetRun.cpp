#include "fleet/FleetRun.h"

#include "codec/Codec.h"
#include "download/DownloadMessages.h"
#include "download/DownloadRunner.h"
#include "download/ParameterVerify.h"
#include "fleet/DifferingJob.h"
#include "files/UserFiles.h"
#include "timing/PacingClock.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <mutex>

namespace vormex {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPoll = std::chrono::milliseconds(20);
constexpr int kEngineEndWaitMs = 60000;  // as long as a download dialog waits for its worker
constexpr int kReadBacks = 2;            // a plan's and a backup's steps: "!B" and "!D"

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

QString lastLine(const QString& log)
{
    const QStringList lines = log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last();
}

}  // namespace

QString TargetResultWord(TargetResult result)
{
    switch (result) {
    case TargetResult::Waiting: return QStringLiteral("waiting");
    case TargetResult::Running: return QStringLiteral("running");
    case TargetResult::Ok: return QStringLiteral("ok");
    case TargetResult::Failed: return QStringLiteral("failed");
    case TargetResult::Cancelled: break;
    }
    return QStringLiteral("cancelled");
}

// One target: what it runs with, its report so far and, while its job runs, the engine.
struct FleetSlot {
    PreparedTarget prepared;
    mutable std::mutex mutex;
    TargetReport report;
    QString phase;
    std::shared_ptr<DownloadRunner> runner;
};

struct FleetRun::Shared {
    FleetRunOptions options;
    std::shared_ptr<FleetObserver> observer;
    std::vector<std::unique_ptr<FleetSlot>> entries;
    std::atomic<size_t> next{0};
    // Shared with every target's link, so a read-back in progress sees it too.
    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
    std::atomic<int> workersLeft{0};
    Clock::time_point start = Clock::now();
    std::atomic<Clock::rep> end{0};  // ticks since the clock's epoch once the last worker ended; 0 before

    void log(size_t index, const QString& line) const
    {
        if (observer)
            observer->logLine(static_cast<int>(index), line);
    }
    bool cancelled() const { return cancel->load(); }
};

namespace {

using Shared = FleetRun::Shared;

// Passes a target's engine log to the fleet's observer, and keeps what the engine said about the
// failure that ended it: the device and the reason a connection or a wait failed (its detail), or
// a line that is no step message of its own (a status the printer answered).
class TargetLog : public DownloadObserver {
public:
    TargetLog(std::shared_ptr<Shared> shared, size_t index, const StringTable& strings)
        : shared_(std::move(shared)), index_(index), stepMessages_(stepMessages(strings))
    {
    }
    void logLine(const QString& line) override
    {
        shared_->log(index_, line);
        std::lock_guard lock(mutex_);
        lineBefore_ = last_;
        last_ = line;
        detailOfLast_ = pendingDetail_;
        pendingDetail_.clear();
    }
    void detail(const QString& text) override
    {
        std::lock_guard lock(mutex_);
        pendingDetail_ = text;
    }

    // The last line (the failed step), the file it was sending and why, as a single command
    // says it: "システムパラメータダウンロード失敗: /site/sys.txt: チェックサムエラー".
    QString failureMessage(const QString& file) const
    {
        std::lock_guard lock(mutex_);
        QStringList parts{last_};
        if (!file.isEmpty())
            parts << file;
        if (!detailOfLast_.isEmpty())
            parts << detailOfLast_;
        else if (!lineBefore_.isEmpty() && !stepMessages_.contains(lineBefore_))
            parts << lineBefore_;
        parts.removeAll(QString());
        return parts.join(QStringLiteral(": "));
    }

private:
    static QStringList stepMessages(const StringTable& strings)
    {
        using namespace download_messages;
        QStringList texts;
        for (int id = kAllocationStart; id <= kDownloadFailed; ++id)
            texts << strings.text(id);
        for (const int id : {kFirmwareStart, kFirmwareDone, kFirmwareFailed, kVormexOff, kVormexOn})
            texts << strings.text(id);
        return texts;
    }

    std::shared_ptr<Shared> shared_;
    size_t index_;
    const QStringList stepMessages_;
    mutable std::mutex mutex_;
    QString last_, lineBefore_, detailOfLast_, pendingDetail_;
};

void setPhase(FleetSlot& slot, const QString& phase)
{
    std::lock_guard lock(slot.mutex);
    slot.phase = phase;
}

void logLines(const Shared& shared, size_t index, const QStringList& lines)
{
    for (const QString& line : lines)
        shared.log(index, line);
}

bool hasUnread(const JobVerification& verification)
{
    return verification.system.status == VerifyStatus::Unread || verification.initial.status == VerifyStatus::Unread;
}

void takeVerification(TargetReport& report, const JobVerification& verification)
{
    report.system = VerifyStatusWord(verification.system.status);
    report.initial = VerifyStatusWord(verification.initial.status);
    report.differences = verification.differences();
}

bool differs(const JobVerification& verification)
{
    return verification.system.status == VerifyStatus::Different || verification.initial.status == VerifyStatus::Different;
}

// A read-back that got an answer: the file, "NO FILE", or a file that fails its check.
bool answered(const FileVerification& file) { return file.status == VerifyStatus::Same || file.status == VerifyStatus::Different; }

// What the printer held before anything was sent, a line each: "before: system: same",
// "before: system: LABEL LENGTH: printer 00601, file 00600".
QStringList heldLines(const JobVerification& held)
{
    QStringList lines = VerificationLines(held);
    for (QString& line : lines)
        line.replace(0, QStringLiteral("verify ").size(), QStringLiteral("before: "));
    return lines;
}

// `ifDifferent`: reads the job's parameter files back and gives the job without those the
// printer holds already; nothing when nothing is left to send or the run was cancelled meanwhile.
std::optional<DownloadJob> jobLeftToSend(const std::shared_ptr<Shared>& shared, size_t index, TargetReport& report,
                                         JobVerification& held)
{
    FleetSlot& slot = *shared->entries[index];
    const PreparedTarget& prepared = slot.prepared;
    setPhase(slot, QStringLiteral("read"));
    held = VerifyJobFiles(*prepared.job, prepared.link, *prepared.printer);
    if (shared->cancelled()) {
        report.result = TargetResult::Cancelled;
        report.message = QStringLiteral("cancelled during the read-back");
        return std::nullopt;
    }
    logLines(*shared, index, heldLines(held));
    report.reached = answered(held.system) || answered(held.initial);
    report.drift = differs(held);
    report.driftDifferences = held.differences();
    std::optional<DownloadJob> left = JobForDifferences(*prepared.job, held);
    if (!left) {
        takeVerification(report, held);
        report.stepsTotal = 0;
        report.result = TargetResult::Ok;
        report.message = QStringLiteral("unchanged: the printer holds the job's files");
    }
    return left;
}

// Runs the job on its engine (with `ifDifferent` only what the printer does not hold yet), then
// reads back what it sent.
void apply(const std::shared_ptr<Shared>& shared, size_t index, TargetReport& report)
{
    FleetSlot& slot = *shared->entries[index];
    const PreparedTarget& prepared = slot.prepared;
    JobVerification held;
    std::optional<DownloadJob> job = *prepared.job;
    if (shared->options.ifDifferent) {
        job = jobLeftToSend(shared, index, report, held);
        if (!job)
            return;
    }
    report.stepsTotal = CountDownloadSteps(*job);
    const auto log = std::make_shared<TargetLog>(shared, index, prepared.link.strings);
    std::shared_ptr<DownloadRunner> runner =
        DownloadRunner::StartJob(*job, prepared.link, prepared.printer->firmwareHandshake != 0, log);
    {
        std::lock_guard lock(slot.mutex);
        slot.runner = runner;
        slot.phase = QStringLiteral("job");
        slot.report.stepsTotal = report.stepsTotal;
    }
    while (runner->running()) {
        if (shared->cancelled())
            runner->RequestCancel();
        std::this_thread::sleep_for(kPoll);
    }
    runner->waitFinished(kEngineEndWaitMs);
    const DownloadProgress& progress = runner->progress();
    report.stepsDone = progress.stepsDone;
    report.message = lastLine(progress.logText());
    // A printer that never answered took nothing that counts, unless the port is write-only and
    // took the whole job.
    report.changed = progress.completed || runner->printerAnswered();
    report.reached = report.reached || report.changed;
    if (!progress.completed) {
        report.result = shared->cancelled() ? TargetResult::Cancelled : TargetResult::Failed;
        if (report.result == TargetResult::Failed)
            report.message = log->failureMessage(progress.currentFile());
        return;
    }
    if (!prepared.verify) {
        report.result = TargetResult::Ok;
        return;
    }
    if (shared->cancelled()) {
        report.result = TargetResult::Cancelled;
        report.message = QStringLiteral("cancelled before the read-back");
        return;
    }
    setPhase(slot, QStringLiteral("verify"));
    JobVerification verification = VerifyJobFiles(*job, prepared.link, *prepared.printer);
    // A file left out because the printer held it was compared before.
    if (held.system.status == VerifyStatus::Same && !job->doSystemParameters)
        verification.system = held.system;
    if (held.initial.status == VerifyStatus::Same && !job->doInitialTable)
        verification.initial = held.initial;
    logLines(*shared, index, VerificationLines(verification));
    takeVerification(report, verification);
    if (shared->cancelled() && hasUnread(verification)) {
        report.result = TargetResult::Cancelled;
        report.message = QStringLiteral("cancelled during the read-back");
        return;
    }
    const QString problem = VerificationProblem(verification);
    report.result = problem.isEmpty() ? TargetResult::Ok : TargetResult::Failed;
    if (!problem.isEmpty())
        report.message = QStringLiteral("verify failed: ") + problem;
}

// Reads both files back and compares those the job would send: nothing is sent.
void plan(const std::shared_ptr<Shared>& shared, size_t index, TargetReport& report)
{
    FleetSlot& slot = *shared->entries[index];
    const PreparedTarget& prepared = slot.prepared;
    setPhase(slot, QStringLiteral("read"));
    JobVerification verification;
    QString unread;
    report.stepsTotal = kReadBacks;
    report.stepsDone = 0;
    for (const ParameterFileKind kind : {ParameterFileKind::SystemParameters, ParameterFileKind::InitialTable}) {
        FileVerification& file = kind == ParameterFileKind::SystemParameters ? verification.system : verification.initial;
        if (!unread.isEmpty() || shared->cancelled()) {  // a printer that could not be reached is asked once
            file.status = VerifyStatus::Unread;
            file.message = unread;
            continue;
        }
        const PrinterFileRead read = ReadPrinterFile(kind, prepared.link, *prepared.printer);
        if (const std::optional<QString> wanted = SentParameterText(*prepared.job, kind))
            file = CompareWithPrinterFile(kind, read, *wanted, *prepared.printer);
        else if (read.outcome == PrinterFileRead::Unread)
            file = FileVerification{VerifyStatus::Unread, read.messageWithDetail(), {}};
        if (file.status == VerifyStatus::Unread)
            unread = file.message;
        else
            ++report.stepsDone;
    }
    if (shared->cancelled() && hasUnread(verification)) {
        report.result = TargetResult::Cancelled;
        report.message = QStringLiteral("cancelled during the read-back");
        return;
    }
    logLines(*shared, index, VerificationLines(verification));
    takeVerification(report, verification);
    report.reached = report.stepsDone > 0;
    report.drift = differs(verification);
    report.driftDifferences = report.differences;
    if (!unread.isEmpty()) {
        report.result = TargetResult::Failed;
        report.message = unread;
        return;
    }
    report.result = TargetResult::Ok;
    report.wouldChange = shared->options.ifDifferent ? JobForDifferences(*prepared.job, verification).has_value()
                                                     : CountDownloadSteps(*prepared.job) > 0;
    const qsizetype count = report.differences.size();
    report.message = count == 0 ? QStringLiteral("no differences") : QStringLiteral("%1 difference(s)").arg(count);
}

// One file read back and saved into the new backup folder.
struct BackedUpFile {
    QString name;    // "QUILLPRM.TXT" or "ZDEFAULT.TXT"
    QString status;  // "saved", "no file" or "unread"
    qsizetype bytes = 0;
    bool answered = false;  // the printer answered, with the file or "NO FILE"
};

// Reads one file back into `staging`; a problem (naming the file as the backup will hold it)
// goes into `problems`.
BackedUpFile backUpFile(const Shared& shared, size_t index, ParameterFileKind kind, const PreparedTarget& prepared,
                        const QDir& staging, const QDir& folder, QStringList& problems)
{
    BackedUpFile file;
    file.name = QString::fromLatin1(kind == ParameterFileKind::SystemParameters ? "QUILLPRM.TXT" : "ZDEFAULT.TXT");
    const PrinterFileRead read = ReadPrinterFile(kind, prepared.link, *prepared.printer);
    file.answered = read.outcome != PrinterFileRead::Unread;
    if (read.outcome == PrinterFileRead::NoFile) {
        file.status = QStringLiteral("no file");
        return file;
    }
    file.status = QStringLiteral("unread");
    if (read.outcome == PrinterFileRead::Unread || !read.checked) {
        const QString message = read.messageWithDetail().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        problems << QStringLiteral("%1: %2").arg(file.name, message);
        shared.log(index, problems.last());
        return file;
    }
    // A text file as the pages save it: the system parameter line ends with CR LF.
    const QString text = kind == ParameterFileKind::SystemParameters ? read.text + QStringLiteral("\r\n") : read.text;
    const QByteArray bytes = codec::toPrinterCodePage(text);
    if (const std::optional<QString> error = SaveFileAtomically(staging.filePath(file.name), bytes)) {
        problems << QStringLiteral("%1: %2").arg(folder.filePath(file.name), *error);
        shared.log(index, problems.last());
        return file;
    }
    file.status = QStringLiteral("saved");
    file.bytes = bytes.size();
    return file;
}

// The two folders hold the same backup: each file is in both with the same bytes, or in neither.
bool sameFiles(const QDir& fresh, const QDir& older)
{
    for (const char* name : {"QUILLPRM.TXT", "ZDEFAULT.TXT"}) {
        const QString file = QString::fromLatin1(name);
        const bool inFresh = QFileInfo::exists(fresh.filePath(file));
        if (inFresh != QFileInfo::exists(older.filePath(file)))
            return false;
        if (!inFresh)
            continue;
        const FileBytes a = ReadWholeFile(fresh.filePath(file));
        const FileBytes b = ReadWholeFile(older.filePath(file));
        if (!a.ok() || !b.ok() || a.bytes != b.bytes)
            return false;
    }
    return true;
}

// Reads both files into a new folder beside the target's and puts it in the old one's place only
// when both are complete: the target's folder holds a whole backup, the older or the newer.
void backUp(const std::shared_ptr<Shared>& shared, size_t index, TargetReport& report)
{
    FleetSlot& slot = *shared->entries[index];
    setPhase(slot, QStringLiteral("read"));
    const QDir parent(shared->options.backupFolder);
    const QDir folder(parent.filePath(slot.prepared.target.name));
    report.system = report.initial = QStringLiteral("unread");
    report.result = TargetResult::Failed;
    if (!QDir().mkpath(parent.path())) {
        report.message = QStringLiteral("%1: the folder cannot be made").arg(parent.path());
        return;
    }
    // The new folder is made inside a private one, so it gets the usual permissions and whatever
    // is left (the older backup after the swap, or a broken-off one) goes with the private one.
    QTemporaryDir staging(parent.filePath(QStringLiteral(".%1.partial-XXXXXX").arg(slot.prepared.target.name)));
    const QDir fresh(QDir(staging.path()).filePath(slot.prepared.target.name));
    if (!staging.isValid() || !QDir().mkdir(fresh.path())) {
        report.message = QStringLiteral("%1: a folder beside it cannot be made (%2)").arg(folder.path(), staging.errorString());
        return;
    }
    QStringList problems;
    report.stepsTotal = kReadBacks;
    BackedUpFile files[kReadBacks];
    const ParameterFileKind kinds[kReadBacks] = {ParameterFileKind::SystemParameters, ParameterFileKind::InitialTable};
    for (int i = 0; i < kReadBacks && !shared->cancelled(); ++i) {
        files[i] = backUpFile(*shared, index, kinds[i], slot.prepared, fresh, folder, problems);
        if (files[i].status != QLatin1String("unread"))
            ++report.stepsDone;
    }
    if (shared->cancelled() && report.stepsDone < kReadBacks) {
        // The older backup stays as it was; the private folder goes with what was read.
        report.result = TargetResult::Cancelled;
        report.message = QStringLiteral("cancelled during the read-back");
        return;
    }
    report.reached = files[0].answered || files[1].answered;
    bool changed = false;
    if (problems.isEmpty()) {
        changed = !sameFiles(fresh, folder);
        if (const std::optional<QString> error = SwapInFolder(fresh.path(), folder.path()))
            problems << QStringLiteral("%1: %2").arg(folder.path(), *error);
    }
    if (!problems.isEmpty()) {
        // Nothing of this backup is kept: a file that was read is not saved without the other.
        const auto notKept = [](const BackedUpFile& file) {
            return file.status == QLatin1String("saved") ? QStringLiteral("skipped") : file.status;
        };
        report.system = notKept(files[0]);
        report.initial = notKept(files[1]);
        report.message = problems.join(QStringLiteral("; ")) + QStringLiteral("; %1 is left as it was").arg(folder.path());
        return;
    }
    // The older backup is in the private folder now, and goes with it.
    for (const BackedUpFile& file : files) {
        if (file.status == QLatin1String("saved"))
            shared->log(index, QStringLiteral("%1: saved (%2 bytes)").arg(folder.filePath(file.name)).arg(file.bytes));
        else
            shared->log(index, QStringLiteral("%1: NO FILE").arg(file.name));
    }
    report.system = files[0].status;
    report.initial = files[1].status;
    report.changed = changed;
    report.result = TargetResult::Ok;
    report.message = QStringLiteral("system %1, initial %2").arg(report.system, report.initial);
}

void runTarget(const std::shared_ptr<Shared>& shared, size_t index)
{
    FleetSlot& slot = *shared->entries[index];
    TargetReport report;
    {
        std::lock_guard lock(slot.mutex);
        slot.report.result = TargetResult::Running;
        report = slot.report;
    }
    const Clock::time_point start = Clock::now();
    switch (shared->options.action) {
    case FleetAction::Apply: apply(shared, index, report); break;
    case FleetAction::Plan: plan(shared, index, report); break;
    case FleetAction::Backup: backUp(shared, index, report); break;
    }
    report.seconds = secondsSince(start);
    {
        std::lock_guard lock(slot.mutex);
        slot.report = report;
        slot.runner.reset();
        slot.phase.clear();
    }
    if (shared->observer)
        shared->observer->targetFinished(static_cast<int>(index), report);
}

void work(const std::shared_ptr<Shared>& shared)
{
    for (size_t index = shared->next++; index < shared->entries.size() && !shared->cancelled(); index = shared->next++)
        runTarget(shared, index);
    if (--shared->workersLeft == 0)
        shared->end = Clock::now().time_since_epoch().count();
}

}  // namespace

FleetRun::FleetRun(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

std::unique_ptr<FleetRun> FleetRun::Start(std::vector<PreparedTarget> targets, FleetRunOptions options,
                                          std::shared_ptr<FleetObserver> observer)
{
    auto shared = std::make_shared<Shared>();
    shared->options = std::move(options);
    shared->observer = std::move(observer);
    for (PreparedTarget& prepared : targets) {
        auto slot = std::make_unique<FleetSlot>();
        slot->report.name = prepared.target.name;
        slot->report.device = prepared.target.device;
        slot->report.printer = prepared.target.printer;
        if (shared->options.action == FleetAction::Apply && prepared.job)
            slot->report.stepsTotal = CountDownloadSteps(*prepared.job);
        else
            slot->report.stepsTotal = kReadBacks;
        prepared.link.cancel = shared->cancel;
        slot->prepared = std::move(prepared);
        shared->entries.push_back(std::move(slot));
    }
    const size_t workers = std::min(shared->entries.size(), static_cast<size_t>(std::max(1, shared->options.jobs)));
    shared->workersLeft = static_cast<int>(workers);
    if (workers == 0)
        shared->end = Clock::now().time_since_epoch().count();
    std::unique_ptr<FleetRun> run(new FleetRun(shared));
    for (size_t i = 0; i < workers; ++i)
        run->workers_.emplace_back([shared] { work(shared); });
    return run;
}

FleetRun::~FleetRun()
{
    RequestCancel();
    // std::jthread joins the workers.
}

void FleetRun::RequestCancel() { *shared_->cancel = true; }

bool FleetRun::cancelRequested() const { return shared_->cancelled(); }

bool FleetRun::running() const { return shared_->workersLeft > 0; }

bool FleetRun::waitFinished(int timeoutMs)
{
    const pacing::Deadline deadline(timeoutMs);
    while (running() && !deadline.expired())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (running())
        return false;
    for (std::jthread& worker : workers_)
        if (worker.joinable())
            worker.join();
    return true;
}

std::vector<TargetProgress> FleetRun::progress() const
{
    std::vector<TargetProgress> all;
    for (const std::unique_ptr<FleetSlot>& slot : shared_->entries) {
        TargetProgress progress;
        std::shared_ptr<DownloadRunner> runner;
        {
            std::lock_guard lock(slot->mutex);
            progress.state = slot->report.result;
            progress.phase = slot->phase;
            progress.stepsDone = slot->report.stepsDone;
            progress.stepsTotal = slot->report.stepsTotal;
            runner = slot->runner;
        }
        if (runner && progress.phase == QLatin1String("job")) {
            progress.stepsDone = runner->progress().stepsDone;
            progress.jobPercent = runner->progress().jobPercent;
            progress.itemPercent = runner->displayedItemPercent();
        }
        all.push_back(progress);
    }
    return all;
}

std::vector<TargetReport> FleetRun::reports() const
{
    const bool endedByCancel = !running() && shared_->cancelled();
    std::vector<TargetReport> all;
    for (const std::unique_ptr<FleetSlot>& slot : shared_->entries) {
        std::lock_guard lock(slot->mutex);
        TargetReport report = slot->report;
        if (endedByCancel && report.result == TargetResult::Waiting) {
            report.result = TargetResult::Cancelled;
            report.message = QStringLiteral("cancelled before it started");
        }
        all.push_back(report);
    }
    return all;
}

double FleetRun::seconds() const
{
    const Clock::rep end = shared_->end;
    const Clock::time_point until = end != 0 ? Clock::time_point(Clock::duration(end)) : Clock::now();
    return std::chrono::duration<double>(until - shared_->start).count();
}

}  // namespace vormex
