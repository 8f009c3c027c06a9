#include "platform/program_folder.h"

#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t got = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (got < 0) return std::string();
    if (static_cast<size_t>(got) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(got));
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableFolder() { return FolderOf(ExecutablePath()); }

// $HOME, else the home folder the password database gives, else the
// current folder (never a shared folder that others could prepare).
static std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
      *found->pw_dir) {
    return found->pw_dir;
  }
  return ".";
}

static void MakeFolders(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at)
    if (at == path.size() || path[at] == '/') ::mkdir(path.substr(0, at).c_str(), 0755);
}

std::string UserSettingsFolder() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) {
    base = config;
  } else {
    base = HomeFolder() + "/.config";
  }
  std::string folder = base + "/marlowby";
  MakeFolders(folder);
  return folder;
}

std::string SettingsFolder() {
  std::string folder = ExecutableFolder();
  if (::access(folder.c_str(), W_OK) == 0) return folder;
  return UserSettingsFolder();
}

}  // namespace platform
