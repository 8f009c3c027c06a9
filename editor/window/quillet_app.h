// The table editor as a desktop program: `quillet` opens the empty window,
// `quillet FONT` opens it and analyses FONT at once.
#pragma once

#include <string>

namespace editor::gui {

// True when the window would show somewhere: an X or Wayland display, a
// platform named with -platform, or a QT_QPA_PLATFORM other than the
// offscreen and minimal ones.
bool HaveDisplay(int argc, char** argv);

// Runs the window until the user quits; returns the exit status. The
// arguments after Qt has taken its own are at most one font path; more give
// the usage, `headlessUsage` after the window's own line, and status 2.
int RunQuilletWindow(int argc, char** argv, const std::string& settingsFolder, const char* headlessUsage);

}  // namespace editor::gui
