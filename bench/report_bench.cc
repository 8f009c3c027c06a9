// The editor's analysis report and checksum recalculation on the largest
// font installed on the machine, warm cache, without output.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/largest_font.h"
#include "editor/render/analysis_run.h"
#include "editor/edit/recalc.h"
#include "shell/sinks.h"

namespace {

namespace fs = std::filesystem;

// A folder of the benchmark's own for Quillet.ini and the recalculated
// copies, removed when the program ends.
struct Scratch {
  Scratch() : path((fs::temp_directory_path() / ("quillet-bench-" + std::to_string(::getpid()))).string()) {
    fs::create_directories(path);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  std::string path;
};

const std::string& WorkFolder() {
  static const Scratch scratch;
  return scratch.path;
}

void BM_Report(benchmark::State& state) {
  std::string font = bench::LargestFont();
  if (font.empty()) {
    state.SkipWithError("no font on this machine");
    return;
  }
  shell::NullLog log;
  shell::NullMessages messages;
  editor::AnalysisRequest request{font, WorkFolder()};
  for (auto _ : state) {
    editor::FontAnalysis analysis;
    if (!editor::AnalysisRun(request, &analysis, log, messages)) {
      state.SkipWithError("the analysis did not finish (is libsumkit.so beside the benchmark?)");
      return;
    }
    benchmark::DoNotOptimize(analysis.fonts.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(font)));
  state.SetLabel(font);
}

void BM_Recalc(benchmark::State& state) {
  std::string font = bench::LargestFont();
  shell::NullLog log;
  shell::NullMessages messages;
  editor::FontAnalysis analysis;
  if (font.empty() || !editor::AnalysisRun({font, WorkFolder()}, &analysis, log, messages)) {
    state.SkipWithError("no font, or the analysis did not finish");
    return;
  }
  std::string output = (fs::path(WorkFolder()) / "recalculated").string();
  for (auto _ : state) {
    if (!editor::RecalcCheckSum(&analysis, output, log)) {
      state.SkipWithError("the recalculation failed");
      break;
    }
    state.PauseTiming();
    fs::remove(output);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(font)));
  state.SetLabel(font);
}

BENCHMARK(BM_Report)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recalc)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
