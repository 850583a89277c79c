// vormex-setting-tool: the desktop program.
#include "gui/shell/DesktopProgram.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    return vormex::gui::RunDesktopProgram(application);
}
