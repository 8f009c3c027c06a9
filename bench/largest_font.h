// The largest font file installed on the machine: what the benchmarks
// measure beside their synthetic inputs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

inline std::string LargestFont() {
  std::string best;
  uintmax_t bestSize = 0;
  std::error_code ignored;
  for (const char* root : {"/usr/share/fonts", "/usr/local/share/fonts"}) {
    if (!std::filesystem::exists(root, ignored)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ignored)) {
      std::string ext = entry.path().extension().string();
      if (ext != ".ttf" && ext != ".ttc" && ext != ".otf" && ext != ".TTF") continue;
      uintmax_t size = entry.file_size(ignored);
      if (size > bestSize) {
        bestSize = size;
        best = entry.path().string();
      }
    }
  }
  return best;
}

}  // namespace bench
