// The table editor's native Windows window: class "Quillet" with menu 103,
// a client area that is the RichEdit log and nothing else, and the table
// dialogs 107 and 109. Like the desktop window on Linux it is a front end of
// the engine's session (editor/session/session.h): the commands, their gate and
// refusals, the log buffer and the analysis run are the engine's.
#pragma once

#if defined(_WIN32)
#include <string>

namespace editor::win32 {

// Opens the window, analyses `fontPath` at once when it is not empty, and
// runs the message loop until the window closes; the exit status, or -1
// when no window can be made (no display).
int RunQuilletWindow(const std::string& settingsFolder, const std::string& fontPath);

}  // namespace editor::win32
#endif
