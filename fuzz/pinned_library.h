// Keeps the checksum library mapped for the whole fuzz process. The editor
// loads and unloads it at every analysis run; under libFuzzer the coverage
// counters of an unloaded library would be left dangling, so the first load
// is made with RTLD_NODELETE and every later unload leaves it in place.
#pragma once

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/program_folder.h"
#include "editor/checksum_binding.h"
#include "platform/shared_library.h"

namespace fuzzsupport {

inline void PinChecksumLibrary() {
  std::string path = platform::JoinPath(platform::ExecutableFolder(), editor::kChecksumLibraryName);
  if (!::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
    std::fprintf(stderr, "suite fuzz: cannot load %s: %s\n", path.c_str(), ::dlerror());
    std::abort();
  }
}

}  // namespace fuzzsupport
