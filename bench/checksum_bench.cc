// Table checksum throughput: a synthetic 64 MiB file and the largest font
// installed on the machine, warm cache.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/checksum.h"

namespace {

std::string SyntheticFile() {
  static const std::string path = [] {
    std::string file = std::filesystem::temp_directory_path().string() + "/suite-bench-64mib.bin";
    std::vector<char> bytes(64u << 20);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 2654435761u >> 13);
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }();
  return path;
}

std::string LargestFont() {
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

void SumWholeFile(benchmark::State& state, const std::string& path) {
  core::ReadableFile file;
  if (path.empty() || !file.Open(path)) {
    state.SkipWithError("no such file");
    return;
  }
  uint32_t length = static_cast<uint32_t>(file.size());
  for (auto _ : state) benchmark::DoNotOptimize(core::TableCheckSum(file, 0, length));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * length);
  state.SetLabel(path);
}

void BM_TableCheckSumSynthetic64MiB(benchmark::State& state) { SumWholeFile(state, SyntheticFile()); }
void BM_TableCheckSumLargestFont(benchmark::State& state) { SumWholeFile(state, LargestFont()); }

BENCHMARK(BM_TableCheckSumSynthetic64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableCheckSumLargestFont)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
