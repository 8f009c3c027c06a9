#include "editor/settings_path.h"

#include "platform/program_folder.h"

namespace editor {

std::string SettingsFilePath(const std::string& folder) { return platform::JoinPath(folder, kSettingsFileName); }

std::string ProgramPathFromCommandLine(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return commandLine.substr(0, commandLine.find(' '));
}

std::string SettingsFolderFromProgramPath(const std::string& programPath, const std::string& fallback) {
  std::string path = programPath;
  for (char& c : path)
    if (c == '"') c = ' ';
  size_t cut = path.rfind('/');
  if (cut == std::string::npos) return fallback;
  return cut == 0 ? std::string("/") : path.substr(0, cut);
}

}  // namespace editor
