#pragma once

#include <QString>

#include <functional>
#include <map>
#include <vector>

class QBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vormex::gui {

// The two rows at the foot of a page that edits a document (system parameters, initial values
// and tables): the file the document came from or went to, and the buttons that read, save,
// get, download and restore it.

// Adds "CAPTION  path" to `layout`; the field that shows the path: read-only, named after the
// caption, reached with Tab, so a screen reader reads the path as the field's text.
QLineEdit* AddFileNameRow(QBoxLayout* layout, const QString& caption, QWidget* parent);
// Shows `path` in a field of AddFileNameRow, its beginning in view.
void ShowFileName(QLineEdit& field, const QString& path);

struct PageAction {
    int id;  // the control id: the button's object name is "Button<id>"
    QString caption;
    std::function<void()> run;
};

// Adds the buttons left-aligned in one row to `layout`, each named after its caption; they do
// not take Enter from the page's fields. The buttons by id.
std::map<int, QPushButton*> AddButtonRow(QBoxLayout* layout, const std::vector<PageAction>& actions, QWidget* parent);

}  // namespace vormex::gui
