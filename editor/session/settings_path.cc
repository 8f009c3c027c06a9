#include "editor/session/settings_path.h"

#include "platform/paths.h"

namespace editor {

std::string SettingsFilePath(const std::string& folder) { return platform::JoinPath(folder, kSettingsFileName); }

}  // namespace editor
