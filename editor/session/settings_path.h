// Where the editor keeps its settings file "Quillet.ini". The folder is
// always decided by the caller (the program's entry point); the engine only
// joins names.
#pragma once

#include <string>

namespace editor {

inline constexpr const char* kSettingsFileName = "Quillet.ini";
inline constexpr const char* kSettingsSection = "Quillet";

// The settings file in `folder`.
std::string SettingsFilePath(const std::string& folder);

}  // namespace editor
