#pragma once

#include <QString>
#include <QStringList>

namespace vormex::datafiles {

// Folders that hold the program's own data, in the order they are searched: the folder of the
// running program, then the installed data folder (../share/vormex-setting-tool beside it).
QStringList programDataDirs();

// The first existing file of that name in the given folders; empty when none has it.
QString findIn(const QStringList& dirs, const QString& fileName);

// The definition file: the current working directory first, then the program's data folders.
// Gives the path to try even when no folder has the file (the working directory's one).
QString locateDefinitionFile(const QString& fileName);

// The name of the English resources: the name string 1000 gives, with its extension replaced
// by ".tsv" (the table format this program reads).
QString englishResourceFileName(const QString& nameFromStringTable);

}  // namespace vormex::datafiles
