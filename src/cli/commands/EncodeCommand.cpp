#include "CliContext.h"
#include "commands/Commands.h"

namespace vormex::cli {

int runEncode(CliContext& context, const QStringList&) { return context.fail(QStringLiteral("vormexctl: not available yet")); }

}  // namespace vormex::cli
