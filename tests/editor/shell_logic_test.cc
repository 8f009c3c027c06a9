// The plain logic under the window: the log buffer's trimming, the headless
// line ends, the settings path, the proposed "New" name, the filter lists
// and the gate before the first analysis.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "editor/session/choosers.h"
#include "editor/session/commands.h"
#include "shell/headless.h"
#include "editor/session/log_buffer.h"
#include "editor/session/settings_path.h"
#include "editor/render/text_block.h"
#include "tests/editor/editor_test_support.h"

namespace {

std::string Numbered(size_t size) {
  std::string text(size, ' ');
  for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 26);
  return text;
}

TEST(LogBuffer, TrimsTheOldestCharacters) {
  std::string start = Numbered(65000);
  editor::LogBuffer log(start);
  log.Append(std::string(535, '!'));
  EXPECT_EQ(log.size(), 65535u);
  EXPECT_EQ(log.Text().substr(0, 65000), start);

  editor::LogBuffer sliding(start);
  sliding.Append(std::string(600, '!'));
  EXPECT_EQ(sliding.size(), 65000u);
  EXPECT_EQ(sliding.Text(), start.substr(600) + std::string(600, '!'));
  EXPECT_EQ(sliding.version(), 1u);

  // Longer than the whole buffer: its own last 65,535 characters.
  std::string huge = Numbered(70000);
  sliding.Append(huge);
  EXPECT_EQ(sliding.Text(), huge.substr(70000 - 65535));
  std::string small = "abc";
  editor::AppendTrimmed(small, std::string(65533, 'x'));  // 65,536 in all: the first three go
  EXPECT_EQ(small, std::string(65533, 'x'));
}

TEST(HeadlessOutput, LineEndsEvenWhenSplit) {
  EXPECT_EQ(shell::CrlfToLf("a\r\nb\rc\r\n"), "a\nb\rc\n");
  std::FILE* file = std::tmpfile();
  {
    shell::StreamLog log(file);
    for (const char* part : {"one\r", "\ntwo\r", "x\r\n", "\r"}) log.Append(part);
  }
  std::rewind(file);
  char buffer[64] = {};
  size_t got = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  EXPECT_EQ(std::string(buffer, got), "one\ntwo\rx\n\r");
}

TEST(TextBlock, CutsAt1023Characters) {
  std::string long_(2000, 'y');
  EXPECT_EQ(editor::FormatBlock("%s!", long_.c_str()), std::string(1023, 'y'));
  EXPECT_EQ(editor::FormatBlock("%02d,%c", 7, 'q'), "07,q");
}

TEST(Choosers, ProposedNamesAndFilters) {
  EXPECT_EQ(editor::ProposedSaveName("/a/b.ttf", ""), "/a/Newb.ttf");
  EXPECT_EQ(editor::ProposedSaveName("b.ttf", ""), "Newb.ttf");
  EXPECT_EQ(editor::ProposedSaveName("", ""), "New");
  EXPECT_EQ(editor::ProposedSaveName("/f/Sample.ttf", "OS_2"), "/f/NewSample.ttf.OS_2");
  auto save = editor::SaveChooserRequest("/f/Sample.ttf", "");
  EXPECT_EQ(save.title, "Quillet File Save");
  EXPECT_EQ(save.defaultSuffix, "ttf");
  EXPECT_TRUE(save.saving);
  EXPECT_EQ(editor::TableFileChooserRequest().defaultSuffix, "");
  auto pairs = shell::FilterPairs(editor::FontChooserRequest().filterList);
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[1], (std::pair<std::string, std::string>{"TrueType Comp (*.ttc)", "*.ttc"}));
  EXPECT_EQ(shell::FilterPairs(editor::kSaveFilter)[0].first, "All Files (*.*)");
}

TEST(Commands, GateBeforeTheFirstRun) {
  editortest::CaptureLog log;
  for (auto command : {editor::MenuCommand::kAddTable, editor::MenuCommand::kExportTable,
                       editor::MenuCommand::kDeleteTable}) {
    EXPECT_FALSE(editor::PassesGate(command, false, log));
    EXPECT_TRUE(editor::PassesGate(command, true, log));
  }
  EXPECT_TRUE(editor::PassesGate(editor::MenuCommand::kRecalc, false, log));
  EXPECT_EQ(log.text(), std::string(editor::kOpenFirstLine) + editor::kOpenFirstLine + editor::kOpenFirstLine);
  std::string banner = editor::Banner();
  EXPECT_EQ(banner.rfind("Quillet Version 1.1\r\n", 0), 0u);
  EXPECT_EQ(banner.substr(banner.size() - 4), "--\r\n");
  EXPECT_EQ(std::count(banner.begin(), banner.end(), '\n'), 6);
}

}  // namespace
