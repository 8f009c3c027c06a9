#include "platform/paths.h"

namespace platform {

size_t LastSeparator(std::string_view path, bool backslashIsSeparator) {
  return backslashIsSeparator ? path.find_last_of("/\\") : path.rfind('/');
}

std::string FolderOf(std::string_view path) {
  size_t cut = LastSeparator(path);
  if (cut == std::string_view::npos) return ".";
  if (cut == 0) return "/";
  return std::string(path.substr(0, cut));
}

std::string FolderPrefix(std::string_view path) {
  size_t cut = LastSeparator(path);
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string NameOf(std::string_view path) {
  size_t cut = LastSeparator(path);
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string joined(folder);
  if (joined.back() != '/') joined.push_back('/');
  joined.append(name);
  return joined;
}

bool IsAbsolutePath(std::string_view path) {
  if (path.starts_with('/')) return true;
  if (!kBackslashIsSeparator) return false;
  if (path.starts_with('\\')) return true;
  const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                     path[1] == ':' && (path[2] == '/' || path[2] == '\\');
  return drive;
}

}  // namespace platform
