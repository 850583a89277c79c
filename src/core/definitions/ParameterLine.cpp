#include "definitions/ParameterLine.h"

namespace vormex {

QString FieldAt(const QString& line, int n)
{
    if (n < 0)
        return {};
    qsizetype start = 0;
    for (int field = 0; field < n; ++field) {
        const qsizetype comma = line.indexOf(u',', start);
        if (comma < 0)
            return {};
        start = comma + 1;
    }
    const qsizetype end = line.indexOf(u',', start);
    return line.mid(start, end < 0 ? -1 : end - start);
}

int IntFieldAt(const QString& line, int n) { return CDecimal(FieldAt(line, n)); }

int HexFieldAt(const QString& line, int n) { return static_cast<int>(CHex32(FieldAt(line, n))); }

}  // namespace vormex
