// The editor's analysis run and every dump on a font or collection file it
// did not write. The first input byte picks the file name's ending (bit 0:
// ".ttc", which makes the run read a collection header); the rest is the
// file. The run must reach "Ready" on any file, its calculated sums must
// equal the core's rules, the table list must describe the last font, and
// the headless log stream must give the same text however the report is cut
// into pieces.
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/io/readable_file.h"
#include "editor/render/analysis_run.h"
#include "shell/headless.h"
#include "editor/model/table_list.h"
#include "fuzz/pinned_library.h"
#include "fuzz/scratch_folder.h"
#include "tests/support/doubles.h"
#include "tests/support/font_sums.h"

using fuzzsupport::Check;

namespace {

// Keeps the log's text and passes every piece on to the headless stream.
class TeeLog : public shell::LogSink {
 public:
  explicit TeeLog(std::FILE* stream) : stream_(stream) {}
  void Append(std::string_view text) override {
    text_.append(text);
    stream_.Append(text);
  }
  void Finish() { stream_.Finish(); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  shell::StreamLog stream_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::PinChecksumLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Clear();
  bool collectionName = data[0] & 1;
  std::span<const uint8_t> font(data + 1, size - 1);
  std::string fontPath = scratch.Write(collectionName ? "font.ttc" : "font.ttf", font);

  // The headless stream goes into a file of the scratch folder, read back below.
  std::string streamPath = scratch.File("stream.txt");
  std::FILE* stream = std::fopen(streamPath.c_str(), "wb");
  Check(stream != nullptr, "a stream file opens");
  editor::FontAnalysis analysis;
  testsupport::RecordedMessages messages;
  bool ready;
  std::string logText;
  {
    TeeLog log(stream);
    ready = editor::OpenAndAnalyse(editor::AnalysisRequest{fontPath, scratch.path()}, &analysis, log, messages);
    log.Finish();
    logText = log.text();
  }
  std::fclose(stream);
  std::string streamed = fuzzsupport::ReadFileText(streamPath);

  Check(ready, "the analysis run reaches Ready on any file");
  Check(messages.count() == 0, "no message box for a file that opens");
  Check(logText.ends_with("Ready\r\n--\r\n"), "the report ends with Ready");
  Check(streamed == shell::CrlfToLf(logText), "the headless stream gives the report with plain line feeds");
  bool cut = logText.find("The report stops here: ") != std::string::npos;
  Check(cut ? analysis.fonts.size() <= analysis.fontOffsets.size()
            : analysis.fonts.size() == analysis.fontOffsets.size(),
        "one font record per font offset, up to where a report too long stops");
  if (!collectionName) Check(analysis.fontOffsets.size() == 1 && analysis.fontOffsets[0] == 0, "a .ttf is one font");

  core::ReadableFile file;
  Check(file.Open(fontPath), "the font opens again");
  for (size_t i = 0; i < analysis.fonts.size(); ++i) {
    const editor::FontRecord& record = analysis.fonts[i];
    if (record.repeat) continue;
    Check(record.calculatedSums.size() == record.entries.size(), "one calculated sum per entry");
    testsupport::FontCheckSums sums =
        testsupport::ComputeFontCheckSums(file, analysis.fontOffsets[i], record.offsetTable.numTables, record.entries);
    Check(sums.tableSums == record.calculatedSums, "the library's sums are the core's");
    Check(sums.trueAdjustment == record.trueAdjustment, "the run's adjustment is the core's");
  }
  if (const editor::FontRecord* listed = editor::ListedFont(analysis))
    Check(editor::ReadTableCount(scratch.path()) == listed->entries.size(),
          "the table list counts the last font's entries");
  return 0;
}
