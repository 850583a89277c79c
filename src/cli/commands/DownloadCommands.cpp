#include "CliContext.h"
#include "commands/Commands.h"

namespace vormex::cli {

int runDownload(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }
int runSendFile(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }

}  // namespace vormex::cli
