#include "gui/shell/DesktopProgram.h"

#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/shell/MainFrame.h"
#include "gui/widgets/SvgIcon.h"

#include <QApplication>
#include <QIcon>

namespace vormex::gui {

int RunDesktopProgram(QApplication& application, const std::function<void(CMainFrame&)>& shown)
{
    QGuiApplication::setDesktopFileName(QStringLiteral("vormex-setting-tool"));
    QApplication::setWindowIcon(SvgIcon(QStringLiteral(":/vormex/icons/vormex-setting-tool.svg")));

    CVORMEXSettingToolApp app(std::make_unique<SettingsStore>());
    app.InitInstance();
    int result = 0;
    {
        CMainFrame frame(app);
        frame.ShowWindow();
        if (shown)
            shown(frame);
        result = application.exec();
    }
    app.ExitInstance();
    return result;
}

}  // namespace vormex::gui
