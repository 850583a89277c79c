#pragma once

#include "download/DownloadJob.h"
#include "download/ParameterVerify.h"

#include <optional>

namespace vormex {

// The part of `job` that still has to be sent to a printer whose parameter files were read back
// as `held` (the files of the job, compared with what it sends): a parameter file the printer
// holds already ("same") is left out; one that differs or could not be read is sent. BASIC
// programs, firmware, the memory allocation and test files cannot be read back and stay.
// The VORMEX switch goes with the rest: nothing is left when nothing but the switch would be
// sent of a job that had more (no "!T", no store, no "!Z"). A job that is the switch alone is
// sent as it is.
std::optional<DownloadJob> JobForDifferences(const DownloadJob& job, const JobVerification& held);

// The steps of `job` that send something besides the VORMEX switch.
int ContentSteps(const DownloadJob& job);

}  // namespace vormex
