#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vormex {

class SettingsStore;

// Copies of data sent to or received from a printer, kept for service in the user's documents
// folder when switched on by hand in the settings store.
enum class WorkFileKind {
    BasicEncode = 0,     // "BASIC-ENCODE "   LogoutBasicEncode
    SystemParam = 1,     // "QUILLPRM "       LogoutSystemParam
    InitialTable = 2,    // "INITIAL_TABLE "  LogoutInitialTable
    GetSystemParam = 3,  // "GET_SYSPARAM "   LogoutSystemParam
    GetInitial = 4,      // "GET_INITIAL "    LogoutInitialTable
};

struct WorkFileResult {
    int result = 1;          // 1 written or switched off, 0 failed or an unknown kind
    QString path;            // the file written or tried; empty when nothing was to be written
    QString errorMessage;    // the file error when the file could not be created or written
};

// The user's documents folder (not created when missing).
QString documentsFolder();

// The file name of a work file written at `when`, e.g. "GET_SYSPARAM 2024-03-05 14 07 09.ZZZ".
QString workFileName(WorkFileKind kind, const QDateTime& when);

// Writes `bytes` unchanged as a work file of `kind` (0..4) when its switch is on (any value but
// 0). A file of the same name is replaced. The folder is never created.
WorkFileResult writeWorkFile(const SettingsStore& store, int kind, const QByteArray& bytes,
                             const QString& folder = documentsFolder(),
                             const QDateTime& when = QDateTime::currentDateTime());

}  // namespace vormex
