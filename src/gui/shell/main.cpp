// vormex-setting-tool: the desktop program.
#include "gui/shell/DesktopProgram.h"

#include "app/Version.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr const char* kHelp =
    "Usage: vormex-setting-tool [options]\n"
    "Settings, parameter files and downloads for VORMEX label printers.\n"
    "\n"
    "Opens the main window: the printer and its interface, the system parameters, the initial\n"
    "values and tables, downloads and tools. Every other argument is left to Qt (for example\n"
    "-platform or -style).\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this text\n"
    "  --version   show the version\n";

// --help and --version answer on stdout without opening a window (or needing a display).
std::optional<int> answerInformationOption(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vormex-setting-tool %s\n", qPrintable(vormex::ProgramVersion()));
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = answerInformationOption(argc, argv))
        return *status;
    QApplication application(argc, argv);
    return vormex::gui::RunDesktopProgram(application);
}
