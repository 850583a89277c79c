#include "fleet/DifferingJob.h"

namespace vormex {

int ContentSteps(const DownloadJob& job)
{
    const int switchStep = job.mode == DownloadJob::BasicFilesMode && job.doVormexSwitch ? 1 : 0;
    return CountDownloadSteps(job) - switchStep;
}

std::optional<DownloadJob> JobForDifferences(const DownloadJob& job, const JobVerification& held)
{
    if (ContentSteps(job) == 0)
        return job;
    DownloadJob left = job;
    if (held.system.status == VerifyStatus::Same)
        left.doSystemParameters = 0;
    if (held.initial.status == VerifyStatus::Same)
        left.doInitialTable = 0;
    if (ContentSteps(left) == 0)
        return std::nullopt;
    return left;
}

}  // namespace vormex
