// The table editor as a desktop program: `quillet` opens the empty window,
// `quillet FONT` opens it and analyses FONT at once.
#pragma once

#include <string>

namespace editor::gui {

// Runs the window until the user quits; returns the exit status. The
// arguments after Qt has taken its own are at most one font path; more give
// the usage, `headlessUsage` after the window's own line, and status 2.
int RunQuilletWindow(int argc, char** argv, const std::string& settingsFolder, const char* headlessUsage);

}  // namespace editor::gui

// What libquillet-window.so exports for the program: RunQuilletWindow.
extern "C" int QuilletWindowMain(int argc, char** argv, const char* settingsFolder, const char* headlessUsage);
using QuilletWindowEntry = int(int argc, char** argv, const char* settingsFolder, const char* headlessUsage);
