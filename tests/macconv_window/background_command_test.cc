// The hand-over between a worker thread running a converter command and the
// window's thread: every report arrives, in order, while the owner takes them
// as they come; holds end early on Stop; a real cmap conversion runs through it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "macconv/background_command.h"
#include "macconv/cmap_file_conversion.h"
#include "tests/macconv/mac_tables.h"

namespace {

using macconv::BackgroundCommand;
using macconv::CommandReport;
using macconv::Outcome;

// A wake-up the owner can wait for, as the window's event loop would.
class Doorbell {
 public:
  void Ring() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++rings_;
    }
    rung_.notify_all();
  }
  void WaitFor(int rings) {
    std::unique_lock<std::mutex> lock(mutex_);
    rung_.wait_for(lock, std::chrono::seconds(30), [&] { return rings_ >= rings; });
  }
  int rings() {
    std::lock_guard<std::mutex> lock(mutex_);
    return rings_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable rung_;
  int rings_ = 0;
};

// Takes reports until the work's end has been taken.
std::vector<CommandReport> TakeAll(BackgroundCommand& command, Doorbell& bell, Outcome* outcome) {
  std::vector<CommandReport> all;
  for (int seen = 0;;) {
    bell.WaitFor(seen + 1);
    seen = bell.rings();
    BackgroundCommand::Taken taken = command.Take();
    all.insert(all.end(), taken.reports.begin(), taken.reports.end());
    if (taken.finished) {
      *outcome = *taken.finished;
      return all;
    }
  }
}

std::string Describe(const CommandReport& report) {
  switch (report.kind) {
    case CommandReport::Kind::kProgress:
      return "progress " + report.text;
    case CommandReport::Kind::kClear:
      return "clear";
    case CommandReport::Kind::kMessage:
      return report.caption + ": " + report.text;
  }
  return {};
}

TEST(BackgroundCommand, HandsEveryReportOverInOrderWhileTheOwnerTakes) {
  Doorbell bell;
  BackgroundCommand command([&] { bell.Ring(); });
  std::vector<std::string> expected;
  for (int i = 0; i < 3000; ++i) {
    if (i % 500 == 0) expected.push_back("clear");
    expected.push_back("progress " + std::to_string(i));
  }
  expected.push_back("ERROR at 001: failed");
  ASSERT_TRUE(command.Start([](macconv::MessageSink& messages, macconv::ProgressSink& progress) {
    for (int i = 0; i < 3000; ++i) {
      if (i % 500 == 0) progress.ClearProgress();
      progress.ShowProgress(std::to_string(i));
    }
    messages.Show("ERROR at 001", "failed");
    return Outcome::kFailed;
  }));
  EXPECT_TRUE(command.Busy());
  EXPECT_FALSE(command.Start([](macconv::MessageSink&, macconv::ProgressSink&) { return Outcome::kDone; }));

  Outcome outcome = Outcome::kDone;
  std::vector<std::string> seen;
  for (const CommandReport& report : TakeAll(command, bell, &outcome)) seen.push_back(Describe(report));
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(outcome, Outcome::kFailed);
  EXPECT_FALSE(command.Busy());
  EXPECT_TRUE(command.Take().empty());

  // Once its end is taken, the next command may start.
  ASSERT_TRUE(command.Start([](macconv::MessageSink&, macconv::ProgressSink&) { return Outcome::kDone; }));
  TakeAll(command, bell, &outcome);
  EXPECT_EQ(outcome, Outcome::kDone);
}

TEST(BackgroundCommand, StopCutsAHoldShortAndKeepsTheEnd) {
  Doorbell bell;
  std::atomic<bool> holding{false};
  {
    BackgroundCommand command([&] { bell.Ring(); });
    ASSERT_TRUE(command.Start([&](macconv::MessageSink&, macconv::ProgressSink& progress) {
      progress.ShowProgress("last");
      holding = true;
      progress.HoldProgress(60000);
      return Outcome::kDone;
    }));
    bell.WaitFor(1);
    while (!holding) std::this_thread::yield();
    auto start = std::chrono::steady_clock::now();
    command.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    BackgroundCommand::Taken taken = command.Take();
    ASSERT_EQ(taken.reports.size(), 1u);
    EXPECT_EQ(taken.reports[0].text, "last");
    EXPECT_EQ(taken.finished, Outcome::kDone);

    // A command left running is stopped and joined by the destructor.
    ASSERT_TRUE(command.Start([](macconv::MessageSink&, macconv::ProgressSink& progress) {
      progress.HoldProgress(60000);
      return Outcome::kDone;
    }));
  }
}

TEST(BackgroundCommand, RunsACmapConversionWithItsProgressTexts) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir.File("cmap.bin"),
                          mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs())}));
  Doorbell bell;
  BackgroundCommand command([&] { bell.Ring(); });
  std::string input = dir.File("cmap.bin"), output = dir.File("Newcmap.bin");
  ASSERT_TRUE(command.Start([&](macconv::MessageSink& messages, macconv::ProgressSink& progress) {
    return macconv::ConvertCmapFile(input, output, messages, &progress);
  }));
  Outcome outcome = Outcome::kFailed;
  std::vector<CommandReport> reports = TakeAll(command, bell, &outcome);
  EXPECT_EQ(outcome, Outcome::kDone);
  EXPECT_EQ(testsupport::ReadBytes(output).size(), 12u + 35334);

  int clears = 0;
  bool counting = false, recording = false;
  for (const CommandReport& report : reports) {
    EXPECT_NE(report.kind, CommandReport::Kind::kMessage) << report.text;
    clears += report.kind == CommandReport::Kind::kClear;
    counting |= report.text.find("     Counting Segments     ") != std::string::npos;
    recording |= report.text == "\n     Number of Segments = 1873     \n     Recording Segments     \n"
                                "     UNICODE = 0xffff     \n     Count of Segments = 1872     ";
  }
  EXPECT_TRUE(counting);
  EXPECT_TRUE(recording);
  EXPECT_EQ(clears, 3);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back().text,
            "\n     Number of Glyphs = 10167     \n     Count of Glyphs = 10167     \n     UNICODE = 0xffff     ");
}

}  // namespace
