#include "shell/window_module.h"

#include <cstdlib>
#include <cstring>

#include "platform/paths.h"
#include "platform/program_folder.h"
#include "platform/shared_library.h"

namespace shell {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

bool HaveDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0) return true;
  if (IsSet("QT_QPA_PLATFORM")) {
    // A window that nobody can see waits for ever: count these platforms as none.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return !StartsWith(platform, "offscreen") && !StartsWith(platform, "minimal");
  }
#if defined(__unix__) && !defined(__APPLE__)
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

void* WindowEntry(const std::string& fileName, const std::string& otherFolder, const char* entry, std::string* error) {
  // Never unloaded: the toolkit keeps handlers of its own until the process ends.
  auto* module = new platform::SharedLibrary;
  const std::string folder = platform::ExecutableFolder();
  bool loaded = module->Load(platform::JoinPath(folder, fileName));
  if (!loaded && !otherFolder.empty())
    loaded = module->Load(platform::JoinPath(platform::JoinPath(folder, otherFolder), fileName));
  void* found = loaded ? module->Resolve(entry) : nullptr;
  if (!found) {
    *error = loaded ? fileName + " has no " + entry : module->error();
    delete module;
    return nullptr;
  }
  [[maybe_unused]] static platform::SharedLibrary* kept = nullptr;  // one window per process
  kept = module;
  return found;
}

}  // namespace shell
