// Keeps the checksum library mapped for the whole fuzz process. The editor
// loads and unloads it at every analysis run; under libFuzzer the coverage
// counters of an unloaded library would be left dangling, so a first load
// that is never released keeps it in place through every later unload.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "editor/model/checksum_binding.h"
#include "platform/shared_library.h"

namespace fuzzsupport {

inline void PinChecksumLibrary() {
  static auto* pinned = new platform::SharedLibrary;
  if (!pinned->loaded() && !pinned->Load(editor::kChecksumLibraryName)) {
    std::fprintf(stderr, "suite fuzz: cannot load %s: %s\n", editor::kChecksumLibraryName, pinned->error().c_str());
    std::abort();
  }
}

}  // namespace fuzzsupport
