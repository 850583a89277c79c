#pragma once

#include <QString>

namespace vormex {

// The program's version as it shows it, "001.005": major and minor with three digits each, from
// the project version of the build.
QString ProgramVersion();

}  // namespace vormex
