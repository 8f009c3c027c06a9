// The TrueType extraction: the windowed signature search and the new file.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/io/readable_file.h"
#include "macconv/engine/extraction.h"
#include "macconv/headless/drumlin_headless.h"
#include "macconv/session/menu_commands.h"
#include "tests/macconv/mac_tables.h"
#include "tests/support/doubles.h"

namespace {

using mactest::Bytes;
using testsupport::TempDir;

// Bytes that hold neither signature.
Bytes Filler(size_t size, uint32_t start = 1) {
  std::mt19937 random(start);
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>('A' + random() % 20);  // upper case only
  return bytes;
}

void Put(Bytes& bytes, size_t at, const char* text) { std::memcpy(bytes.data() + at, text, std::strlen(text)); }

std::optional<uint64_t> FindInFile(const Bytes& bytes) {
  TempDir dir;
  testsupport::WriteBytes(dir.File("in"), bytes);
  core::ReadableFile file;
  EXPECT_TRUE(file.Open(dir.File("in")));
  return macconv::FindFontStart(file);
}

TEST(FontStart, TrueBeatsMor0WithinAWindowButNotAcrossWindows) {
  Bytes data = Filler(2000);
  Put(data, 10, "mor0");
  Put(data, 100, "true");
  EXPECT_EQ(macconv::FindFontStart(data), 100u);

  data = Filler(2000);
  Put(data, 10, "mor0");
  Put(data, 1000, "true");
  EXPECT_EQ(macconv::FindFontStart(data), 10u);

  // "true" at 200 and "mor0" at 130 share the window over bytes 0-255.
  data = Filler(2000);
  Put(data, 130, "mor0");
  Put(data, 200, "true");
  EXPECT_EQ(macconv::FindFontStart(data), 200u);

  // A file that already starts with the version number and holds no signature.
  data = Filler(500);
  data[0] = 0, data[1] = 1, data[2] = 0, data[3] = 0;
  EXPECT_FALSE(macconv::FindFontStart(data).has_value());
  EXPECT_FALSE(macconv::FindFontStart(Bytes{}).has_value());
  EXPECT_FALSE(macconv::FindFontStart(Bytes{'t', 'r', 'u'}).has_value());
  EXPECT_EQ(macconv::FindFontStart(Bytes{'t', 'r', 'u', 'e'}), 0u);
}

TEST(FontStart, FindsTheSignatureAtEveryPlaceAlsoAcrossReadsAndBlocks) {
  // Every offset around the 128-byte reads (a signature whose halves lie in
  // two reads included), and around the large blocks the file search reads.
  Bytes data = Filler(70000);
  std::vector<size_t> places;
  for (size_t at = 0; at < 700; ++at) places.push_back(at);
  for (size_t at = 65536 - 260; at < 65536 + 260; ++at) places.push_back(at);
  places.push_back(data.size() - 4);
  for (size_t at : places) {
    Bytes copy = data;
    Put(copy, at, "true");
    ASSERT_EQ(macconv::FindFontStart(copy), at) << at;
  }
  for (size_t at : {126u, 65534u, 65600u, 69996u}) {
    Bytes copy = data;
    Put(copy, at, "mor0");
    EXPECT_EQ(FindInFile(copy), at) << at;
    Put(copy, at + 40 < copy.size() - 4 ? at + 40 : at - 40, "true");
    EXPECT_EQ(FindInFile(copy), macconv::FindFontStart(copy)) << at;
  }
  EXPECT_FALSE(FindInFile(data).has_value());
}

class ExtractionTest : public ::testing::Test {
 protected:
  shell::Outcome Extract(const std::string& input, std::vector<std::string> answers) {
    chooser_ = std::make_unique<shell::ScriptedChooser>(std::move(answers));
    return macconv::ExtractTrueType(input, *chooser_, messages_);
  }
  TempDir dir_;
  testsupport::RecordedMessages messages_;
  std::unique_ptr<shell::ScriptedChooser> chooser_;
};

TEST_F(ExtractionTest, WritesTheFontFromItsSignatureOn) {
  Bytes font = testsupport::SampleFont().Build();
  Bytes wrapped = Filler(300);
  Bytes macFont = font;
  Put(macFont, 0, "true");
  wrapped.insert(wrapped.end(), macFont.begin(), macFont.end());
  Bytes trailer = Filler(50, 2);
  wrapped.insert(wrapped.end(), trailer.begin(), trailer.end());
  testsupport::WriteBytes(dir_.File("suitcase.bin"), wrapped);

  EXPECT_EQ(Extract(dir_.File("suitcase.bin"), {dir_.File("font.ttf")}), shell::Outcome::kDone);
  ASSERT_EQ(chooser_->requests().size(), 1u);
  EXPECT_EQ(chooser_->requests()[0].title, "Drumlin File Save");
  EXPECT_EQ(chooser_->requests()[0].proposedName, dir_.File("suitcase.bin.ttf"));
  Bytes expected = font;
  expected.insert(expected.end(), trailer.begin(), trailer.end());
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("font.ttf")), expected);
  EXPECT_EQ(messages_.lines(), std::vector<std::string>{"Message: Successfully Extracted the TrueType Font. (" +
                                                      std::to_string(expected.size()) + " bytes)"});

  // A Mac font file that starts with "true": the whole file, version replaced.
  testsupport::WriteBytes(dir_.File("mac.ttf"), macFont);
  messages_.Clear();
  EXPECT_EQ(Extract(dir_.File("mac.ttf"), {dir_.File("win.ttf")}), shell::Outcome::kDone);
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("win.ttf")), font);
  EXPECT_EQ(messages_.lines().back(),
            "Message: Successfully Extracted the TrueType Font. (" + std::to_string(font.size()) + " bytes)");
}

TEST_F(ExtractionTest, ReportsEachFailureAndWritesNothing) {
  testsupport::WriteBytes(dir_.File("plain.ttf"), testsupport::SampleFont().Build());
  Bytes withSignature = Filler(200);
  Put(withSignature, 20, "true");
  testsupport::WriteBytes(dir_.File("mac.bin"), withSignature);
  testsupport::WriteText(dir_.File("taken.ttf"), "keep");

  EXPECT_EQ(Extract(dir_.File("plain.ttf"), {dir_.File("a.ttf")}), shell::Outcome::kFailed);
  EXPECT_TRUE(chooser_->requests().empty());
  EXPECT_EQ(Extract(dir_.File("none.bin"), {dir_.File("b.ttf")}), shell::Outcome::kFailed);
  EXPECT_EQ(Extract(dir_.File("mac.bin"), {dir_.File("taken.ttf")}), shell::Outcome::kFailed);
  EXPECT_EQ(Extract(dir_.File("mac.bin"), {}), shell::Outcome::kCancelled);
  EXPECT_EQ(messages_.lines(), (std::vector<std::string>{
                                 "Message: Can't find TrueType Font.",
                                 "ERROR: Function CreateFile(" + dir_.File("none.bin") + ") failed!! File exist?",
                                 "ERROR: Function CreateFile(" + dir_.File("taken.ttf") + ") failed!! File exist?",
                             }));
  EXPECT_EQ(testsupport::ReadText(dir_.File("taken.ttf")), "keep");
  EXPECT_EQ(testsupport::ListFolder(dir_.path()), (std::vector<std::string>{"mac.bin", "plain.ttf", "taken.ttf"}));
}

TEST_F(ExtractionTest, MenuCommandsSetTheCurrentFile) {
  Bytes data = Filler(200);
  Put(data, 20, "true");
  testsupport::WriteBytes(dir_.File("mac.bin"), data);
  shell::ScriptedChooser chooser({dir_.File("mac.bin"), dir_.File("out.ttf")});
  std::string current = "old";
  EXPECT_EQ(macconv::OpenAndExtract(current, chooser, messages_), shell::Outcome::kDone);
  EXPECT_EQ(chooser.requests().at(0).title, "Drumlin File Open");
  EXPECT_EQ(chooser.requests().at(0).proposedName, "");
  EXPECT_EQ(current, dir_.File("mac.bin"));

  shell::ScriptedChooser handed({dir_.File("out2.ttf")});
  current = "";
  EXPECT_EQ(macconv::ExtractNamedFile(current, dir_.File("mac.bin"), handed, messages_), shell::Outcome::kDone);
  EXPECT_EQ(current, dir_.File("mac.bin"));
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("out2.ttf")).size(), 180u);
  current = "";
  EXPECT_EQ(macconv::ExtractNamedFile(current, "", handed, messages_), shell::Outcome::kCancelled);
}

}  // namespace
