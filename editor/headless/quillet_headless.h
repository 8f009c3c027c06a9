// The editor's commands without a window:
//
//   quillet --report FONT
//   quillet --recalc FONT OUT
//   quillet --export FONT TAG OUT
//   quillet --add FONT TAG TABLEFILE OUT
//   quillet --delete FONT TAG OUT
//
// Each first analyses FONT as the window's Open command does (report and
// table list), then carries out its command as the window does once its
// dialog and chooser are answered: TAG is the selected or typed tag (padded
// with spaces to four characters), OUT the name accepted in the save chooser.
// The report goes to `out` with plain line feeds, message boxes to `err` as
// "CAPTION: text".
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "editor/checksum_binding.h"

namespace editor {

const char* HeadlessUsage();

// `arguments` are those after the program name. Returns the exit status
// (0 done, 1 failed, 2 usage, with the usage on `err`), or nothing when the
// first argument is no option: the window's start.
std::optional<int> RunHeadless(const std::vector<std::string>& arguments, const std::string& settingsFolder,
                               std::FILE* out, std::FILE* err,
                               const std::string& libraryName = kChecksumLibraryName);

}  // namespace editor
