#pragma once

#include <QString>

class QWidget;

namespace vormex::gui {

// What a page asks the file dialog for.
struct FileDialogRequest {
    bool save = false;        // save dialog; else an open dialog for an existing file
    QString title;
    QString startPath;        // the file name the dialog proposes (the page's current file)
    QString filter;           // in the string table's form: "Texts (*.txt)|*.txt|All (*.*)|*.*||"
    QString defaultSuffix;    // added to a name typed without one (save dialog)
};

// A file-dialog filter of the string table's form in Qt's form. Patterns match in either case,
// and "*.*" means every file.
QString QtFileFilter(const QString& pairs);

// Shows the platform's file dialog; gives the chosen path, empty when the user cancelled. In
// the save dialog a name typed without extension takes the extension of the chosen filter, or
// `defaultSuffix` under "all files".
QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request);

}  // namespace vormex::gui
