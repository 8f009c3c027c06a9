// Table checksum throughput: a synthetic 64 MiB file and the largest font
// installed on the machine, warm cache.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/largest_font.h"
#include "core/sfnt/checksum.h"

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
void BM_TableCheckSumLargestFont(benchmark::State& state) { SumWholeFile(state, bench::LargestFont()); }

BENCHMARK(BM_TableCheckSumSynthetic64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableCheckSumLargestFont)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
