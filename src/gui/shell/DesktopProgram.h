#pragma once

#include <functional>

class QApplication;

namespace vormex::gui {

class CMainFrame;

// The desktop program from start-up to exit: the application object with the user's settings,
// the definitions and the language, the main window with its eight pages, the event loop, the
// exit (with the restart after a language change). `shown` is called once the main window has
// been shown (the start-up benchmark watches its first paint from there).
int RunDesktopProgram(QApplication& application, const std::function<void(CMainFrame&)>& shown = {});

}  // namespace vormex::gui
