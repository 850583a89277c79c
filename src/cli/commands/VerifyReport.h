#pragma once

#include "CliContext.h"

#include "download/ParameterVerify.h"

#include <QCommandLineOption>

namespace vormex::cli {

// "--verify" of download and send-file.
QCommandLineOption verifyOption();

// Shows a job's read-back on stderr: every difference a line ("system: LABEL LENGTH: printer
// 00601, file 00600"), and for a file that differs or could not be read a last line saying so
// with the differing items. Gives kExitOk when every file sent is held as sent, else kExitFailure.
int reportVerification(CliContext& context, const JobVerification& verification);

}  // namespace vormex::cli
