// The analysis thread: one run at a time, the result published only when
// the run ends, the log handed over through the locked buffer, and the ready
// flag going up after the first run whatever its outcome.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "editor/analysis_worker.h"
#include "editor/commands.h"
#include "editor/log_buffer.h"
#include "platform/program_folder.h"
#include "tests/editor/editor_test_support.h"

namespace {

// A message box that holds the analysis thread until the test lets it go.
class HeldMessages : public editor::MessageSink {
 public:
  void Show(const editor::Message& message) override {
    std::unique_lock<std::mutex> hold(lock_);
    seen_.push_back(message.caption + ": " + message.text);
    shown_ = true;
    changed_.notify_all();
    changed_.wait(hold, [this] { return released_; });
  }
  void WaitUntilShown() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return shown_; });
  }
  void Release() {
    std::lock_guard<std::mutex> hold(lock_);
    released_ = true;
    changed_.notify_all();
  }
  std::vector<std::string> seen() {
    std::lock_guard<std::mutex> hold(lock_);
    return seen_;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> seen_;
  bool shown_ = false;
  bool released_ = false;
};

editor::AnalysisRequest Request(const std::string& font, const testsupport::TempDir& dir) {
  return editor::AnalysisRequest{font, dir.path(),
                                 platform::JoinPath(testsupport::BinFolder(), platform::kChecksumLibraryName)};
}

TEST(AnalysisWorker, RefusesASecondRunWhileOneIsUnderWay) {
  testsupport::TempDir dir;
  editor::LogBuffer buffer;
  editor::LogBufferSink log(buffer);
  HeldMessages messages;
  editor::AnalysisWorker worker;
  EXPECT_FALSE(worker.ready());
  std::string missing = dir.File("missing.ttf");
  ASSERT_TRUE(worker.Start(Request(missing, dir), log, messages));
  messages.WaitUntilShown();  // the run is inside its message box
  EXPECT_TRUE(worker.running());
  EXPECT_FALSE(worker.Start(Request(missing, dir), log, messages));
  EXPECT_EQ(worker.analysis(), nullptr);
  EXPECT_FALSE(worker.ready());
  messages.Release();
  worker.Wait();
  EXPECT_TRUE(worker.ready());  // a failed run ends too
  ASSERT_NE(worker.analysis(), nullptr);
  EXPECT_TRUE(worker.analysis()->fonts.empty());
  EXPECT_EQ(messages.seen(), std::vector<std::string>{"ERROR: Function CreateFile(" + missing + ") has an error at 2!! 2"});
  EXPECT_EQ(buffer.Text(), "TrueType Font " + missing + " is opened.\r\nInitializing...\r\n");
}

TEST(AnalysisWorker, HandsTheLogOverWhileTheWindowReadsIt) {
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
  editortest::CaptureMessages messages;
  std::atomic<bool> finished{false};
  editor::AnalysisWorker worker;
  for (int run = 0; run < 2; ++run) {
    finished = false;
    ASSERT_TRUE(worker.Start(Request(ttc, dir), log, messages, [&] { finished = true; }));
    // The window's side: read the buffer and the flag while the run writes.
    while (worker.running()) {
      std::string shown = buffer.Text();
      ASSERT_LE(shown.size(), editor::kLogTextLimit);
      (void)worker.ready();
      (void)worker.analysis();
    }
    worker.Wait();
    ASSERT_NE(worker.analysis(), nullptr);
    EXPECT_EQ(worker.analysis()->fonts.size(), 3u);
  }
  EXPECT_TRUE(messages.seen.empty());
  std::string text = buffer.Text();
  EXPECT_EQ(text.substr(text.size() - 11), "Ready\r\n--\r\n");
  EXPECT_GT(refreshes.load(), 100);
  // The callback runs after the result is published; give it its moment.
  worker.Wait();
  while (!finished) std::this_thread::yield();
}

}  // namespace
