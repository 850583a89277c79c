#pragma once

#include "definitions/PrinterDefinition.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace vormex {

// Where and why the reading of a definition file stopped.
struct DefinitionLoadError {
    QString message;   // empty after a successful reading
    qint64 line = 0;   // line of the file where the reader stopped; 0 when unknown
};

// Reads the definition file at `path` and appends its printer entries to `definitions`.
// Gives 1 on success, 0 when the file cannot be opened, is malformed, carries a document type
// declaration, or lacks a required attribute; whatever was read before the failure stays.
int LoadDefinitions(const QString& path, PrinterDefinitions& definitions, DefinitionLoadError* error = nullptr);

// The same reading from a device opened for reading, or from the bytes of a file.
int LoadDefinitionsFromDevice(QIODevice& device, PrinterDefinitions& definitions, DefinitionLoadError* error = nullptr);
int LoadDefinitionsFromData(const QByteArray& xml, PrinterDefinitions& definitions,
                            DefinitionLoadError* error = nullptr);

// Fills `entry` with a deep copy of the entry named "standard" (keeping its own name).
// Gives 0 and leaves `entry` empty when there is no such entry yet.
int CopyFromStandard(const PrinterDefinitions& definitions, PrinterDefinition& entry);

}  // namespace vormex
