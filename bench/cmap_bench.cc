// The whole Mac cmap conversion of a table whose (1, 1) format 2 subtable maps
// every Shift-JIS code of the code table: read the table file, build the
// Unicode subtable with a progress sink attached, write the work file and put
// the new table file in place. Also the conversion alone, in memory.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/text/shift_jis.h"
#include "macconv/engine/cmap_conversion.h"
#include "macconv/engine/cmap_file_conversion.h"
#include "macconv/engine/progress_throttle.h"

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v >> 8));
  b.push_back(static_cast<uint8_t>(v));
}

// A cmap table with one (1, 1) record and a format 2 subtable giving the n-th
// code of the Shift-JIS list glyph n + 1. One-byte codes use subheader 0;
// every lead byte has a subheader over the trail bytes 0x40-0xFC.
std::vector<uint8_t> MakeMacCmapTable() {
  std::vector<uint16_t> glyphOf(0x10000, 0);
  uint16_t next = 1;
  for (const core::CodePair& pair : core::ShiftJisList()) {
    if (pair.key == 0) break;
    glyphOf[pair.key] = next++;
  }
  std::vector<int> leads;
  for (int lead = 0x81; lead <= 0x9F; ++lead) leads.push_back(lead);
  for (int lead = 0xE0; lead <= 0xEA; ++lead) leads.push_back(lead);

  std::vector<uint8_t> keys(512, 0), headers, glyphs;
  size_t subHeaders = 1 + leads.size();
  size_t arrayStart = 518 + 8 * subHeaders;
  auto addSubHeader = [&](uint32_t firstCode, uint32_t count, uint32_t codeBase) {
    size_t rangeField = 518 + headers.size() + 6;
    Put16(headers, firstCode);
    Put16(headers, count);
    Put16(headers, 0);
    Put16(headers, static_cast<uint32_t>(arrayStart + glyphs.size() - rangeField));
    for (uint32_t i = 0; i < count; ++i) Put16(glyphs, glyphOf[codeBase + firstCode + i]);
  };
  addSubHeader(0, 256, 0);
  for (size_t k = 0; k < leads.size(); ++k) {
    keys[2 * leads[k]] = static_cast<uint8_t>((8 * (k + 1)) >> 8);
    keys[2 * leads[k] + 1] = static_cast<uint8_t>(8 * (k + 1));
    addSubHeader(0x40, 0xFC - 0x40 + 1, leads[k] * 256);
  }
  std::vector<uint8_t> table = {0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 12};
  Put16(table, 2);
  Put16(table, static_cast<uint32_t>(arrayStart + glyphs.size()));
  Put16(table, 0);
  table.insert(table.end(), keys.begin(), keys.end());
  table.insert(table.end(), headers.begin(), headers.end());
  table.insert(table.end(), glyphs.begin(), glyphs.end());
  return table;
}

// A progress sink like the window's: it keeps the latest text.
class LatestText : public macconv::ProgressSink {
 public:
  void ShowProgress(const std::string& text) override {
    text_ = text;
    ++calls_;
  }
  void ClearProgress() override { text_.clear(); }
  int calls() const { return calls_; }

 private:
  std::string text_;
  int calls_ = 0;
};

class QuietMessages : public shell::MessageSink {
 public:
  void Show(const shell::Message&) override { ++count; }
  int count = 0;
};

void BM_CmapConversionWholeFile(benchmark::State& state) {
  std::string folder = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/cmap-bench-XXXXXX");
  if (!mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::string input = folder + "/cmap.bin", output = folder + "/Newcmap.bin";
  std::vector<uint8_t> table = MakeMacCmapTable();
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(table.data()),
                                              static_cast<std::streamsize>(table.size()));
  LatestText progress;
  QuietMessages messages;
  for (auto _ : state) {
    auto outcome = macconv::ConvertCmapFile(input, output, messages, &progress);
    benchmark::DoNotOptimize(outcome);
    state.PauseTiming();
    std::remove(output.c_str());
    state.ResumeTiming();
  }
  if (messages.count != 0) state.SkipWithError("the conversion reported a message");
  state.counters["progress_calls"] = benchmark::Counter(progress.calls(), benchmark::Counter::kAvgIterations);
  std::remove(input.c_str());
  rmdir(folder.c_str());
}
BENCHMARK(BM_CmapConversionWholeFile)->Unit(benchmark::kMillisecond);

void BM_CmapConversionInMemory(benchmark::State& state) {
  std::vector<uint8_t> table = MakeMacCmapTable();
  LatestText progress;
  for (auto _ : state) {
    core::ByteWriter output;
    macconv::ProgressThrottle throttle(&progress);
    macconv::ConvertCmapTable(table, output, throttle);
    benchmark::DoNotOptimize(output.bytes().data());
  }
}
BENCHMARK(BM_CmapConversionInMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
