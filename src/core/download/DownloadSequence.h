#pragma once

#include "download/DownloadJob.h"
#include "download/EngineContext.h"

namespace vormex {

// The worker of the download dialog: connects, runs the job's steps in their fixed order and
// closes the connection, writing one log line per event.
class DownloadSequence {
public:
    static constexpr int kFileSettlePauseMs = 5000;   // after the prepare command and after a file
    static constexpr int kTestFilePauseMs = 1000;
    static constexpr int kAllocationPauseMs = 30000;  // XF
    static constexpr int kAllocationKanji1PauseMs = 60000;  // XF1
    static constexpr int kAllocationKanji2PauseMs = 40000;  // XF2
    static inline const QString kFirmwareComAddress = QStringLiteral("115200,8,even,1");

    // `firmwareHandshake`: the printer entry acknowledges every firmware block.
    DownloadSequence(const DownloadJob& job, EngineContext& context, bool firmwareHandshake);

    // The whole worker: connect (8023 when that fails), RunJob, disconnect. Leaves the result in
    // the progress record (completed when every counted step was done).
    void Run();
    void RunJob();

    // Each step gives 1 to go on, 0 to stop the job.
    int StepVormexOffFirst();
    int StepMemoryAllocation();
    int StepBasicMain();
    int StepBasicSystemMode();
    int StepSystemParameters();
    int StepInitialTable();
    int StepVormexSwitch();
    int StepTestFile();
    void FinishStep();

    // The fixed pause after an allocation command of the given kanji variant.
    static int AllocationPauseMs(int kanjiVariant);

private:
    struct FileStepMessages {
        int start, done, failed;
    };
    int fileStep(int type, bool wanted, FileStepMessages messages);
    // Common beginning of every counted step: 0 to stop (cancelled), 1 to skip, -1 to run.
    int stepGate(bool wanted) const;

    const DownloadJob& job_;
    EngineContext& context_;
    bool handshake_;
};

}  // namespace vormex
