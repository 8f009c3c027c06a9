// The cmap conversion and the diagnostic dump between files: outputs appear
// only when complete, never replace a file, and leave no work file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "macconv/engine/cmap_dump.h"
#include "macconv/engine/cmap_file_conversion.h"
#include "macconv/headless/drumlin_headless.h"
#include "macconv/session/menu_commands.h"
#include "platform/temp_files.h"
#include "tests/macconv/mac_tables.h"
#include "tests/support/doubles.h"

namespace {

using mactest::Bytes;
using testsupport::RecordedMessages;
using testsupport::TempDir;

// Points the temporary-file service at a folder of the test's own.
class CmapFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tmp_ = std::make_unique<testsupport::ScopedEnv>(testsupport::kTempFolderVariable, work_.path());
    testsupport::WriteBytes(dir_.File("cmap.bin"),
                            mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs())}));
  }
  void TearDown() override { tmp_.reset(); }
  bool NoWorkFilesLeft() const { return testsupport::ListFolder(work_.path()).empty(); }

  TempDir dir_;
  TempDir work_;
  RecordedMessages messages_;

 private:
  std::unique_ptr<testsupport::ScopedEnv> tmp_;
};

TEST_F(CmapFileTest, ConvertsIntoANewFileThroughAWorkFile) {
  macconv::NullProgress progress;
  EXPECT_EQ(macconv::ConvertCmapFile(dir_.File("cmap.bin"), dir_.File("out.bin"), messages_, &progress),
            shell::Outcome::kDone);
  EXPECT_TRUE(messages_.empty());
  Bytes output = testsupport::ReadBytes(dir_.File("out.bin"));
  ASSERT_EQ(output.size(), 12u + 35334);
  EXPECT_EQ(mactest::U16(output, 12), 4);
  EXPECT_TRUE(NoWorkFilesLeft());
  struct stat info;
  ASSERT_EQ(::stat(dir_.File("out.bin").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & 0044, 0u) << "the output has the usual mode of a new file, not a work file's";
}

TEST_F(CmapFileTest, FailuresLeaveNoOutputAndNoWorkFile) {
  // The output name is taken: the file there stays as it was.
  testsupport::WriteText(dir_.File("taken.bin"), "keep");
  EXPECT_EQ(macconv::ConvertCmapFile(dir_.File("cmap.bin"), dir_.File("taken.bin"), messages_, nullptr),
            shell::Outcome::kFailed);
  EXPECT_EQ(testsupport::ReadText(dir_.File("taken.bin")), "keep");
  ASSERT_EQ(messages_.count(), 1u);
  EXPECT_EQ(messages_.lines()[0], "ERROR: File exist? : " + dir_.File("taken.bin"));

  // The output's folder does not exist.
  EXPECT_EQ(macconv::ConvertCmapFile(dir_.File("cmap.bin"), dir_.File("no/out.bin"), messages_, nullptr),
            shell::Outcome::kFailed);

  // The input does not exist.
  messages_.Clear();
  EXPECT_EQ(macconv::ConvertCmapFile(dir_.File("none.bin"), dir_.File("out.bin"), messages_, nullptr),
            shell::Outcome::kFailed);
  EXPECT_EQ(messages_.lines(),
            std::vector<std::string>{"ERROR: Function CreateFile(" + dir_.File("none.bin") + ") failed!! File exist?"});
  EXPECT_FALSE(testsupport::Exists(dir_.File("out.bin")));
  EXPECT_TRUE(NoWorkFilesLeft());

  // No work file can be made.
  testsupport::ScopedEnv missing(testsupport::kTempFolderVariable, dir_.File("missing"));
  messages_.Clear();
  EXPECT_EQ(macconv::ConvertCmapFile(dir_.File("cmap.bin"), dir_.File("out.bin"), messages_, nullptr),
            shell::Outcome::kFailed);
  ASSERT_EQ(messages_.count(), 1u);
  EXPECT_NE(platform::TempFolder().find("missing"), std::string::npos);
  EXPECT_EQ(messages_.lines()[0].rfind("ERROR at 001: Function CreateFile(" + platform::TempFolder() + "/emf", 0), 0u);
  EXPECT_FALSE(testsupport::Exists(dir_.File("out.bin")));
}

TEST_F(CmapFileTest, TheCommandProposesNamesAndRefusesATakenOutputBeforeWork) {
  shell::ScriptedChooser chooser({dir_.File("cmap.bin"), dir_.File("Newcmap.bin")});
  std::string current = "old";
  EXPECT_EQ(macconv::ConvertCmapCommand(current, chooser, messages_, nullptr), shell::Outcome::kDone);
  ASSERT_EQ(chooser.requests().size(), 2u);
  EXPECT_EQ(chooser.requests()[0].title, "Drumlin cmap file Open");
  EXPECT_EQ(chooser.requests()[0].proposedName, "");
  EXPECT_EQ(chooser.requests()[1].title, "Drumlin cmap file Save");
  EXPECT_EQ(chooser.requests()[1].proposedName, dir_.File("Newcmap.bin"));
  EXPECT_EQ(current, dir_.File("cmap.bin"));

  shell::ScriptedChooser again({dir_.File("cmap.bin"), dir_.File("Newcmap.bin")});
  EXPECT_EQ(macconv::ConvertCmapCommand(current, again, messages_, nullptr), shell::Outcome::kFailed);
  EXPECT_EQ(messages_.lines().back(), "ERROR: File exist? : " + dir_.File("Newcmap.bin"));

  shell::ScriptedChooser cancelled({});
  EXPECT_EQ(macconv::ConvertCmapCommand(current, cancelled, messages_, nullptr), shell::Outcome::kCancelled);
  EXPECT_EQ(current, "");
  EXPECT_EQ(shell::NewNameBeside("cmap.bin"), "Newcmap.bin");
  EXPECT_TRUE(NoWorkFilesLeft());
}

TEST_F(CmapFileTest, DumpWritesTheTriplesToTheNamedFile) {
  RecordedMessages messages;
  EXPECT_EQ(macconv::DumpCmapMapping(dir_.File("cmap.bin"), dir_.File("dump.txt"), macconv::DumpTarget::kReplaceFreely, messages), shell::Outcome::kDone);
  EXPECT_EQ(messages.lines(), std::vector<std::string>{"Message: Done!!"});
  std::string text = testsupport::ReadText(dir_.File("dump.txt"));
  EXPECT_EQ(text.rfind("dwSubHeaderOffset = 0x212\nunicode, sjiscode, index\n0x0, 0x0, 0x0\n", 0), 0u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 0xFFFF);
  // U+0041 is Shift-JIS 0x41, the 34th code of the list; U+3000 is 0x8140.
  EXPECT_NE(text.find("\n0x41, 0x41, 0x22\n"), std::string::npos);
  EXPECT_NE(text.find("\n0x3000, 0x8140, 0x60\n"), std::string::npos);
  const std::string lastLine = "\n0xfffe, 0x0, 0x0\n";
  EXPECT_EQ(text.substr(text.size() - lastLine.size()), lastLine);

  // Without a (1, 1) format 2 subtable nothing is written, and it still ends with "Done!!".
  testsupport::WriteBytes(dir_.File("plain.bin"), testsupport::MakeCmap({0x41}));
  messages.Clear();
  EXPECT_EQ(macconv::DumpCmapMapping(dir_.File("plain.bin"), dir_.File("none.txt"), macconv::DumpTarget::kReplaceFreely, messages), shell::Outcome::kDone);
  EXPECT_EQ(messages.lines(), std::vector<std::string>{"Message: Done!!"});
  EXPECT_FALSE(testsupport::Exists(dir_.File("none.txt")));

  messages.Clear();
  EXPECT_EQ(macconv::DumpCmapMapping(dir_.File("none.bin"), dir_.File("none.txt"), macconv::DumpTarget::kReplaceFreely, messages), shell::Outcome::kFailed);
  EXPECT_EQ(messages.lines(), std::vector<std::string>{"ERROR: Function CreateFile(" + dir_.File("none.bin") +
                                                     ") failed!! File exist?"});
}

TEST_F(CmapFileTest, DumpCommandProposesJunkBesideTheInput) {
  shell::ScriptedChooser chooser({dir_.File("cmap.bin"), dir_.File("mine.txt")});
  std::string current = dir_.File("last.bin");
  EXPECT_EQ(macconv::DumpCmapCommand(current, chooser, messages_), shell::Outcome::kDone);
  ASSERT_EQ(chooser.requests().size(), 2u);
  EXPECT_EQ(chooser.requests()[0].proposedName, dir_.File("last.bin"));
  EXPECT_EQ(chooser.requests()[1].proposedName, dir_.File("junk.txt"));
  EXPECT_TRUE(testsupport::Exists(dir_.File("mine.txt")));
}

}  // namespace

// Records at different offsets into one run of overlapping subtables (each
// reads as format 0 with length 0xFFFF) would each be copied whole: the
// conversion stops at its bound and writes nothing.
TEST_F(CmapFileTest, OverlappingSubtablesStopAtTheBound) {
  constexpr uint32_t kRecords = 65535;
  const uint32_t region = 4 + 8 * kRecords;
  Bytes cmap(region + 4 * kRecords + 4, 0);
  cmap[2] = cmap[3] = 0xFF;
  for (uint32_t k = 0; k < kRecords; ++k) {
    const uint32_t offset = region + 4 * k;
    uint8_t* record = cmap.data() + 4 + 8 * k;
    record[1] = 3, record[3] = 1;  // (3, 1)
    record[4] = static_cast<uint8_t>(offset >> 24), record[5] = static_cast<uint8_t>(offset >> 16);
    record[6] = static_cast<uint8_t>(offset >> 8), record[7] = static_cast<uint8_t>(offset);
    cmap[offset + 2] = cmap[offset + 3] = 0xFF;
  }
  testsupport::WriteBytes(dir_.File("overlap.bin"), cmap);
  EXPECT_EQ(macconv::ConvertCmapFile(dir_.File("overlap.bin"), dir_.File("out.bin"), messages_, nullptr),
            shell::Outcome::kFailed);
  EXPECT_NE(messages_.lines().back().find("would be larger than 67108864 bytes"), std::string::npos);
  EXPECT_FALSE(testsupport::Exists(dir_.File("out.bin")));
}
