// Where the editor keeps its settings file "Quillet.ini", and the program
// path that the window records at start-up. The folder is always decided by
// the caller (the program's entry point); the engine only joins names.
#pragma once

#include <string>

namespace editor {

inline constexpr const char* kSettingsFileName = "Quillet.ini";
inline constexpr const char* kSettingsSection = "Quillet";

// The settings file in `folder`.
std::string SettingsFilePath(const std::string& folder);

// The program's own path as a command line gives it: after a leading double
// quote, the text up to the next one (or the end); otherwise the text up to
// the first space (the whole line when there is none).
std::string ProgramPathFromCommandLine(const std::string& commandLine);

// The settings folder from a stored program path: every double quote becomes
// a space and the path is cut at its last '/'. A path without any folder
// gives `fallback` (the per-user settings folder, as the caller decides).
std::string SettingsFolderFromProgramPath(const std::string& programPath, const std::string& fallback);

}  // namespace editor
