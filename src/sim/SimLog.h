#pragma once

#include <QByteArray>
#include <QString>

namespace vormex::sim {

// Log lines on standard error, "sim: ..."; a printer of several in one process puts its number
// before each of its lines ("[3] sim: ..."). Each line is written whole, so the lines of printers
// running on their own threads never mix.
class SimLog {
public:
    SimLog() = default;
    explicit SimLog(int printerNumber) : prefix_(QStringLiteral("[%1] ").arg(printerNumber).toUtf8()) {}

    void line(const QString& text) const;

private:
    QByteArray prefix_;
};

// Bytes in a readable form: printable ASCII as it is, others as <1B>; long runs shortened.
QString readable(const QByteArray& bytes, int limit = 80);

}  // namespace vormex::sim
