#pragma once

#include <QByteArray>
#include <QString>

namespace vormex::sim {

// One line on standard error, "sim: ...".
void logLine(const QString& text);
// Bytes in a readable form: printable ASCII as it is, others as <1B>; long runs shortened.
QString readable(const QByteArray& bytes, int limit = 80);

}  // namespace vormex::sim
