#include "CliContext.h"
#include "commands/Commands.h"

namespace vormex::cli {

int runCheck(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }
int runConvert(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }
int runExport(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }

}  // namespace vormex::cli
