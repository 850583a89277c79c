#pragma once

#include <QDialog>

namespace vormex::gui {

class CVORMEXSettingToolApp;

// The About box: the application icon, the version line, the maker's notice and OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const CVORMEXSettingToolApp& app, QWidget* parent = nullptr);
};

}  // namespace vormex::gui
