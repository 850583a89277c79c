#include "app/Version.h"

namespace vormex {

QString ProgramVersion() { return QString::asprintf("%03d.%03d", VORMEX_VERSION_MAJOR, VORMEX_VERSION_MINOR); }

}  // namespace vormex
