#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
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

// How a program is started besides its arguments.
struct RunOptions {
    int timeoutMs = 60000;
    // Files may not grow beyond this many bytes (-1: no limit): a write past it fails with EFBIG,
    // for root too, as on a file system that is full.
    qint64 fileSizeLimit = -1;
    QString standardOutputFile;  // e.g. /dev/full; empty: captured into `out`
    QByteArray standardInput;
};
ProcessResult runProgram(const QString& name, const QStringList& arguments, const RunOptions& options);

// Runs `body` in a child process whose files may not grow beyond `limitBytes` (see RunOptions);
// gives what `body` gave, or false when the child did not end normally.
bool runWithFileSizeLimit(qint64 limitBytes, const std::function<bool()>& body);

// Runs a built program with its standard output and error on a pseudo-terminal `columns` wide
// that passes bytes as they are written (no CR added before a line feed); `out` is everything the
// terminal received, `err` stays empty.
ProcessResult runOnTerminal(const QString& name, const QStringList& arguments, unsigned short columns = 80);

}  // namespace vormex::test

// Readable failure messages for Qt strings and byte arrays.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << "hex " << bytes.toHex(' ').toStdString(); }
