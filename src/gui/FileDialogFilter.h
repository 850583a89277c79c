#pragma once

#include <QString>

namespace vormex::gui {

// A file-dialog filter of the resource form "Programs (*.EXE)|*.EXE|All files (*.*)|*.*||" in
// Qt's form ("Programs (*.EXE *.exe);;All files (*)"). Patterns match in either case, and "*.*"
// means every file.
QString QtFileDialogFilter(const QString& pairs);

}  // namespace vormex::gui
