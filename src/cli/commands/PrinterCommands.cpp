#include "CliContext.h"
#include "commands/Commands.h"

namespace vormex::cli {

int runGet(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }
int runVormex(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }
int runListUsb(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }
int runListPorts(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }

}  // namespace vormex::cli
