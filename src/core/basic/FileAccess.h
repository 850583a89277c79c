#pragma once

#include <QByteArray>
#include <QString>

namespace vormex {

// The length of a file in bytes; -1 when it cannot be opened for reading.
qint64 FileLength(const QString& path);

// Reads the whole file into `buffer`. Fails (0) when the file cannot be read, is empty or is
// longer than `bufferSize`; 1 otherwise.
int ReadWholeFile(const QString& path, char* buffer, qint64 bufferSize);

}  // namespace vormex
