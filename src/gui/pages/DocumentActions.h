#pragma once

#include "comm/ParameterReadBack.h"
#include "files/WorkFiles.h"

#include <QString>

#include <optional>

class QByteArray;
class QWidget;

namespace vormex {
struct PrinterDefinition;
}

namespace vormex::gui {

class CVORMEXSettingToolApp;

// What the system parameter page and the initial value pages do alike with their documents:
// ask for a file, say why a file failed, keep a work-file copy, get the file from the printer.

// The open or save dialog for a parameter file (`filterId`: the string of its filter), starting
// at `startPath`; empty when the user cancels.
QString AskForParameterFile(CVORMEXSettingToolApp& app, QWidget* parent, bool save, const QString& startPath,
                            int filterId);

// "The file PATH cannot be read: REASON" for the system's errors; the check's own message else.
void ShowReadFailure(CVORMEXSettingToolApp& app, const QString& path, bool fileError, const QString& error);
// "The file PATH cannot be written: REASON".
void ShowWriteFailure(CVORMEXSettingToolApp& app, const QString& path, const QString& error);
// The selected printer is not among the definitions.
void ShowPrinterMissing(CVORMEXSettingToolApp& app, const QString& printerName);

// Keeps the work-file copy of `bytes` when work files are on; false (said to the user) when the
// copy cannot be written.
bool KeepWorkFile(CVORMEXSettingToolApp& app, WorkFileKind kind, const QByteArray& bytes);

// Reads the parameter file of `kind` back from the selected printer. The exchange waits up to a
// read time-out at a time, so it runs on a worker thread while a busy window titled `title`
// shows; the work-file copy of the reply (`workFile`) is written on this thread. The printer's
// text once the outcome was said to the user; nothing when the read failed (said), was stopped
// without a message, or its copy could not be written (said).
std::optional<QString> GetParameterFileFromPrinter(CVORMEXSettingToolApp& app, QWidget* parent, const QString& title,
                                                   ParameterFileKind kind, WorkFileKind workFile,
                                                   const PrinterDefinition& printer);

}  // namespace vormex::gui
