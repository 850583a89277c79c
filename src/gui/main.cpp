// vormex-setting-tool: the desktop program.
#include "MainFrame.h"
#include "VORMEXSettingToolApp.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("vormex-setting-tool"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vormex/icons/vormex-setting-tool.svg")));

    vormex::gui::CVORMEXSettingToolApp app(std::make_unique<vormex::SettingsStore>());
    app.InitInstance();
    int result = 0;
    {
        vormex::gui::CMainFrame frame(app);
        frame.ShowWindow();
        result = QApplication::exec();
    }
    app.ExitInstance();
    return result;
}
