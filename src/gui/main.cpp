// vormex-setting-tool: the desktop program.
#include "app/Application.h"
#include "app/SettingsStore.h"
#include "app/StringIds.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    vormex::SettingsStore store;
    vormex::Application app;
    vormex::StartApplication(app, store);

    QMainWindow window;
    window.setWindowTitle(app.strings.text(vormex::strings::kApplicationTitle));
    window.resize(app.japaneseUi ? QSize(1000, 680) : QSize(890, 720));
    window.show();
    return application.exec();
}
