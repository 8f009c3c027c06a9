// The analysis on a worker thread as the window runs it: the log handed over
// through the locked buffer while the window's side reads it, the result
// taken on the owner's side when the run has ended.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "editor/render/analysis_run.h"
#include "editor/session/commands.h"
#include "editor/session/log_buffer.h"
#include "platform/program_folder.h"
#include "shell/worker.h"
#include "tests/editor/editor_test_support.h"

namespace {

editor::AnalysisRequest Request(const std::string& font, const testsupport::TempDir& dir) {
  return editor::AnalysisRequest{font, dir.path(),
                                 platform::JoinPath(testsupport::BinFolder(), editor::kChecksumLibraryName)};
}

TEST(AnalysisOnAWorker, HandsTheLogOverWhileTheWindowReadsIt) {
  testsupport::TempDir dir;
  std::string font = dir.File("Sample.ttf");
  testsupport::WriteBytes(font, testsupport::BuildCollection(
                                    {testsupport::SampleFont(), testsupport::SampleFont(), testsupport::SampleFont()},
                                    true));
  std::string ttc = font.substr(0, font.size() - 4) + ".ttc";
  std::rename(font.c_str(), ttc.c_str());
  editor::LogBuffer buffer(editor::Banner());
  std::atomic<int> refreshes{0};
  editor::LogBufferSink log(buffer, [&] { refreshes.fetch_add(1); });
  testsupport::RecordedMessages messages;
  shell::Worker worker([] {});
  for (int run = 0; run < 2; ++run) {
    auto result = std::make_shared<editor::FontAnalysis>();
    std::shared_ptr<const editor::FontAnalysis> taken;
    ASSERT_TRUE(worker.Start([&, result] { editor::AnalysisRun(Request(ttc, dir), result.get(), log, messages); },
                             [&, result] { taken = result; }));
    // The window's side: read the buffer while the run writes, and take
    // the end when it comes.
    while (!taken) {
      std::string shown = buffer.Text();
      ASSERT_LE(shown.size(), editor::kLogTextLimit);
      worker.Deliver();
    }
    EXPECT_EQ(taken->fonts.size(), 3u);
  }
  EXPECT_TRUE(messages.empty());
  std::string text = buffer.Text();
  EXPECT_EQ(text.substr(text.size() - 11), "Ready\r\n--\r\n");
  EXPECT_GT(refreshes.load(), 100);
}

}  // namespace
