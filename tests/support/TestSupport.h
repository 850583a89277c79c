#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

namespace vormex::test {

// The source tree and the folder with the built programs and their data.
QString sourcePath(const QString& relative);
QString programPath(const QString& name);
// The shipped definition file.
QString shippedDefinitionFile();

// Writes `bytes` to `path` (creating folders); fails the test when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Result of running one of the built programs.
struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
ProcessResult runProgram(const QString& name, const QStringList& arguments, int timeoutMs = 60000,
                         const QByteArray& standardInput = {});

// Runs a built program with its standard output and error on a pseudo-terminal `columns` wide
// that passes bytes as they are written (no CR added before a line feed); `out` is everything the
// terminal received, `err` stays empty.
ProcessResult runOnTerminal(const QString& name, const QStringList& arguments, unsigned short columns = 80);

}  // namespace vormex::test

// Readable failure messages for Qt strings and byte arrays.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << "hex " << bytes.toHex(' ').toStdString(); }
