#pragma once

#include "conversion/ParameterComparison.h"
#include "fleet/FleetSetup.h"

#include <QList>
#include <QString>

#include <memory>
#include <thread>
#include <vector>

namespace vormex {

enum class TargetResult { Waiting, Running, Ok, Failed, Cancelled };

// "waiting", "running", "ok", "failed", "cancelled".
QString TargetResultWord(TargetResult result);

// What became of one target; the report's entry.
struct TargetReport {
    QString name;
    QString device;
    QString printer;
    TargetResult result = TargetResult::Waiting;
    int stepsDone = 0;   // a job's steps; a plan's or a backup's read-backs (of two)
    int stepsTotal = 0;
    double seconds = 0;
    QString message;
    // Per parameter file: after a job or a plan "same", "different", "skipped" or "unread"; after
    // a backup "saved", "no file" or "unread".
    QString system = QStringLiteral("skipped");
    QString initial = QStringLiteral("skipped");
    QList<ParameterDifference> differences;
    // Apply: something was sent to the printer. Backup: the target's backup now holds other
    // files than before. A plan sends nothing.
    bool changed = false;
    // The printer was read before anything was sent (a plan, or `ifDifferent`) and a parameter
    // file of the job differed from what it held; `driftDifferences` are those differences.
    bool drift = false;
    QList<ParameterDifference> driftDifferences;
    // A plan: the same apply would send something (with `ifDifferent`: something differs or
    // cannot be read back).
    bool wouldChange = false;
    // The printer answered: a read-back, or a frame during the job (a write-only port that took
    // the whole job counts as well).
    bool reached = false;
};

// A running target as a display shows it.
struct TargetProgress {
    TargetResult state = TargetResult::Waiting;
    QString phase;        // "job", "verify", "read"
    int stepsDone = 0;
    int stepsTotal = 0;
    int jobPercent = 0;
    int itemPercent = 0;  // the item being sent
};

// Hears of the targets, on the targets' threads. A callback must be quick and must not call back
// into the run.
class FleetObserver {
public:
    virtual ~FleetObserver() = default;
    // One log line of a target (its engine's lines, then the read-back's).
    virtual void logLine(int target, const QString& line) { (void)target, (void)line; }
    virtual void targetFinished(int target, const TargetReport& report) { (void)target, (void)report; }
};

struct FleetRunOptions {
    FleetAction action = FleetAction::Apply;
    int jobs = 1;             // targets run at once (at least 1)
    QString backupFolder;     // Backup: the folder that gets one subfolder per target
    // Apply and Plan: the parameter files are read back first and only those that differ are
    // sent; a target left with nothing to send is not touched.
    bool ifDifferent = false;
};

// Runs every target of a fleet, at most `jobs` at a time, each on a thread of its own with its
// own link: a target that fails, hangs up or stays silent takes up its own thread only. The run
// owns its threads: going away it cancels and joins them.
class FleetRun {
public:
    static std::unique_ptr<FleetRun> Start(std::vector<PreparedTarget> targets, FleetRunOptions options,
                                           std::shared_ptr<FleetObserver> observer = nullptr);
    ~FleetRun();
    FleetRun(const FleetRun&) = delete;
    FleetRun& operator=(const FleetRun&) = delete;

    // Cancels every target: a running job stops within a wait's slice, a read-back in progress
    // is abandoned (its port closed within 100 ms), the targets not yet started are not started.
    // Every target not finished ends "cancelled".
    void RequestCancel();
    bool cancelRequested() const;

    bool running() const;
    // Waits at most `timeoutMs` (scaled) for the end; true when every target has ended.
    bool waitFinished(int timeoutMs);

    std::vector<TargetProgress> progress() const;
    // One entry per target, in manifest order; a target that never ran is "cancelled" once the
    // run has ended after a cancel.
    std::vector<TargetReport> reports() const;
    // Wall seconds since the start (up to the end once it has ended).
    double seconds() const;

    struct Shared;

private:
    explicit FleetRun(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    std::vector<std::jthread> workers_;
};

}  // namespace vormex
