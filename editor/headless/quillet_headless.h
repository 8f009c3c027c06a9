// The editor's commands without a window:
//
//   quillet --report [--raw] FONT...
//   quillet --json FONT...
//   quillet --check FONT...
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
// "CAPTION: text". --report takes its fonts one after another, each as the
// Open command would; --json and --check read each font's structure on their
// own (without the checksum library and without writing Quillet.ini).
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "editor/model/checksum_binding.h"

namespace editor {

const char* HeadlessUsage();

// `arguments` are those after the program name. Returns the exit status
// (0 done, 1 failed, 2 usage, with the usage on `err`; --check: 1 when it
// found an error), or nothing when the first argument is no option: the
// window's start. With `utf8Output` the report writes the names it shows as
// Shift-JIS in UTF-8, unless --raw asks for the bytes.
std::optional<int> RunHeadless(const std::vector<std::string>& arguments, const std::string& settingsFolder,
                               std::FILE* out, std::FILE* err,
                               const std::string& libraryName = kChecksumLibraryName, bool utf8Output = false);

}  // namespace editor
