// The windows live in modules of their own (libquillet-window.so,
// libdrumlin-window.so), loaded only when a window opens, so that a headless
// run never loads the toolkit. Each module exports one C entry point.
#pragma once

#include <string>

namespace shell {

// True when a window would show somewhere: an X or Wayland display, a
// platform named with -platform, or a QT_QPA_PLATFORM other than the
// offscreen and minimal ones.
bool HaveDisplay(int argc, char** argv);

// Loads the module `fileName` beside the program, else in `otherFolder`
// (relative to the program's folder; may be empty), and resolves `entry`.
// The module stays loaded for the rest of the process. Null, with the
// loader's message in *error, when either is missing.
void* WindowEntry(const std::string& fileName, const std::string& otherFolder, const char* entry, std::string* error);

template <typename Function>
Function* WindowEntryAs(const std::string& fileName, const std::string& otherFolder, const char* entry,
                        std::string* error) {
  return reinterpret_cast<Function*>(WindowEntry(fileName, otherFolder, entry, error));
}

}  // namespace shell
