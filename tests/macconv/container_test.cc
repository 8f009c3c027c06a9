// Mac resource data built here byte by byte: resource forks alone and inside
// MacBinary, AppleSingle and AppleDouble, whole and damaged, read for their
// 'sfnt' resources and extracted by both commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "core/io/readable_file.h"
#include "macconv/engine/extraction.h"
#include "macconv/engine/mac_containers.h"
#include "tests/macconv/mac_tables.h"
#include "tests/support/doubles.h"
#include "tests/support/reasons.h"

namespace {

using mactest::Bytes;
using mactest::Fork;
using mactest::MakeFork;
using testsupport::AppendU16;
using testsupport::AppendU32;
using testsupport::SetU16;
using testsupport::SetU32;
using testsupport::TempDir;

Bytes Pad128(Bytes bytes) {
  bytes.resize((bytes.size() + 127) / 128 * 128);
  return bytes;
}

Bytes MacBinary(const Bytes& dataFork, const Bytes& resourceFork) {
  Bytes file(128);
  const std::string name = "Suitcase";
  file[1] = static_cast<uint8_t>(name.size());
  std::copy(name.begin(), name.end(), file.begin() + 2);
  std::copy_n("FFILDMOV", 8, file.begin() + 65);
  SetU32(file, 83, static_cast<uint32_t>(dataFork.size()));
  SetU32(file, 87, static_cast<uint32_t>(resourceFork.size()));
  file[122] = file[123] = 129;
  SetU16(file, 124, macconv::MacBinaryCrc({file.data(), 124}));
  for (const Bytes& fork : {Pad128(dataFork), Pad128(resourceFork)}) file.insert(file.end(), fork.begin(), fork.end());
  return file;
}

Bytes AppleFile(uint32_t magic, const std::vector<std::pair<uint32_t, Bytes>>& entries) {
  Bytes file;
  AppendU32(file, magic);
  AppendU32(file, 0x00020000);
  file.resize(24);
  AppendU16(file, static_cast<uint32_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(26 + 12 * entries.size());
  Bytes bodies;
  for (const auto& [id, body] : entries) {
    AppendU32(file, id);
    AppendU32(file, offset + static_cast<uint32_t>(bodies.size()));
    AppendU32(file, static_cast<uint32_t>(body.size()));
    bodies.insert(bodies.end(), body.begin(), body.end());
  }
  file.insert(file.end(), bodies.begin(), bodies.end());
  return file;
}

// Two fonts as Mac suitcases hold them: the version 00 01 00 00 and "true".
const Bytes& Plain() {
  static const Bytes font = testsupport::SampleFont().Build();
  return font;
}
const Bytes& MacStyle() {
  static const Bytes font = testsupport::SampleFont().AddTable("zzzz", Bytes(40, 7)).SetSfntVersion(0x74727565).Build();
  return font;
}

class ContainerTest : public ::testing::Test {
 protected:
  macconv::MacFonts Read(const Bytes& bytes) {
    testsupport::WriteBytes(dir_.File("in"), bytes);
    core::ReadableFile file;
    EXPECT_TRUE(file.Open(dir_.File("in")));
    return macconv::ReadMacFonts(file);
  }
  Bytes FontBytes(const Bytes& container, const macconv::SfntResource& font) {
    return Bytes(container.begin() + static_cast<long>(font.offset),
                 container.begin() + static_cast<long>(font.offset + font.length));
  }
  TempDir dir_;
  testsupport::RecordedMessages messages_;
};

TEST_F(ContainerTest, FindsEveryFontExactlyInEachContainer) {
  const Fork two = MakeFork({{128, "Gothic", Plain()}, {-5, std::nullopt, MacStyle()}});
  const Bytes& fork = two.bytes;
  struct Case {
    const char* label;
    Bytes file;
    macconv::MacContainer container;
  } cases[] = {
      {"bare fork", fork, macconv::MacContainer::kResourceFork},
      {"MacBinary", MacBinary({}, fork), macconv::MacContainer::kMacBinary},
      {"MacBinary, .dfont as data fork", MacBinary(fork, {}), macconv::MacContainer::kMacBinary},
      {"AppleSingle", AppleFile(0x00051600, {{3, {'x'}}, {1, Bytes(5)}, {2, fork}}), macconv::MacContainer::kAppleSingle},
      {"AppleDouble", AppleFile(0x00051607, {{9, Bytes(32)}, {2, fork}}), macconv::MacContainer::kAppleDouble},
  };
  for (const Case& c : cases) {
    macconv::MacFonts found = Read(c.file);
    EXPECT_EQ(found.container, c.container) << c.label;
    ASSERT_EQ(found.fonts.size(), 2u) << c.label;
    EXPECT_EQ(found.damaged, 0u) << c.label;
    EXPECT_EQ(found.fonts[0].id, 128);
    EXPECT_EQ(found.fonts[0].name, "Gothic");
    EXPECT_EQ(found.fonts[1].id, -5);
    EXPECT_FALSE(found.fonts[1].name.has_value());
    EXPECT_EQ(FontBytes(c.file, found.fonts[0]), Plain()) << c.label;
    EXPECT_EQ(FontBytes(c.file, found.fonts[1]), MacStyle()) << c.label;
  }
  // Not Mac resource data: a plain font, a fork of other resources, a
  // MacBinary header whose CRC is wrong.
  EXPECT_EQ(Read(Plain()).container, macconv::MacContainer::kNone);
  EXPECT_TRUE(Read(MakeFork({{1, "x", Plain()}}, "FOND").bytes).fonts.empty());
  Bytes badCrc = MacBinary({}, fork);
  badCrc[125] ^= 1;
  EXPECT_EQ(Read(badCrc).container, macconv::MacContainer::kNone);
  EXPECT_EQ(macconv::MacBinaryCrc(testsupport::AsciiBytes("123456789")), 0x31C3);  // CRC-16/XMODEM
}

TEST_F(ContainerTest, DamagedMapsGiveOnlyTheFontsThatAreWhole) {
  const Fork good = MakeFork({{1, "A", Plain()}, {2, "B", MacStyle()}});
  const size_t refs = good.map + good.references;
  struct Case {
    const char* label;
    std::function<void(Bytes&)> damage;
    bool fork;  // still read as a fork
    std::vector<int16_t> ids;
    size_t damaged;
  } cases[] = {
      {"whole", [](Bytes&) {}, true, {1, 2}, 0},
      {"map past the end", [&](Bytes& b) { SetU32(b, 12, static_cast<uint32_t>(b.size())); }, false, {}, 0},
      {"data past the end", [&](Bytes& b) { SetU32(b, 8, 0xFFFFFF00); }, false, {}, 0},
      {"map over the data", [&](Bytes& b) { SetU32(b, 4, 300); }, false, {}, 0},
      {"font longer than the data", [&](Bytes& b) { SetU32(b, 256, 0xFFFFFFF0); }, true, {2}, 1},
      {"data offset past the data", [&](Bytes& b) { SetU32(b, refs + 4, 0x00FFFFF0); }, true, {2}, 1},
      {"two references on one font",
       [&](Bytes& b) { SetU32(b, refs + 12 + 4, 0); }, true, {1}, 1},
      {"font overlapping another",
       [&](Bytes& b) { SetU32(b, refs + 12 + 4, 8); }, true, {1}, 1},
      {"empty type list (count 0xFFFF)", [&](Bytes& b) { SetU16(b, good.map + 28, 0xFFFF); }, true, {}, 0},
      {"type count past the map", [&](Bytes& b) { SetU16(b, good.map + 28, 0xFFFE); }, true, {1, 2}, 0},
      {"reference count that wraps", [&](Bytes& b) { SetU16(b, good.map + 28 + 2 + 4, 0xFFFF); }, true, {1, 2}, 0},
      {"type list past the map", [&](Bytes& b) { SetU16(b, good.map + 24, 0xFFF0); }, false, {}, 0},
      {"name past the map", [&](Bytes& b) { SetU16(b, refs + 2, 0x7FFF); }, true, {1, 2}, 0},
  };
  for (const Case& c : cases) {
    Bytes bytes = good.bytes;
    c.damage(bytes);
    macconv::MacFonts found = Read(bytes);
    EXPECT_EQ(found.container == macconv::MacContainer::kResourceFork, c.fork) << c.label;
    std::vector<int16_t> ids;
    for (const macconv::SfntResource& font : found.fonts) {
      ids.push_back(font.id);
      EXPECT_LE(font.offset + font.length, bytes.size()) << c.label;
    }
    EXPECT_EQ(ids, c.ids) << c.label;
    EXPECT_EQ(found.damaged, c.damaged) << c.label;
  }
  Bytes unnamed = good.bytes;
  SetU16(unnamed, refs + 2, 0x7FFF);
  EXPECT_FALSE(Read(unnamed).fonts.at(0).name.has_value());
}

TEST_F(ContainerTest, ExtractionFallsBackToTheFirstFontAndNamesTheOthers) {
  testsupport::WriteBytes(dir_.File("one.dfont"), MakeFork({{128, "Gothic", Plain()}}).bytes);
  testsupport::WriteBytes(dir_.File("two.bin"), MacBinary({}, MakeFork({{1, "A", Plain()}, {2, "B", Plain()}}).bytes));
  shell::ScriptedChooser chooser({dir_.File("one.ttf"), dir_.File("two.ttf")});
  EXPECT_EQ(macconv::ExtractTrueType(dir_.File("one.dfont"), chooser, messages_), shell::Outcome::kDone);
  EXPECT_EQ(macconv::ExtractTrueType(dir_.File("two.bin"), chooser, messages_), shell::Outcome::kDone);
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("one.ttf")), Plain());
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("two.ttf")), Plain());
  const std::string done = "Message: Successfully Extracted the TrueType Font. (" + std::to_string(Plain().size()) + " bytes)";
  EXPECT_EQ(messages_.lines(), (std::vector<std::string>{
                                 done,
                                 done + "\nThis MacBinary file holds 2 TrueType fonts; \"Extract All Fonts...\" in the "
                                        "File menu (drumlin --extract-all IN FOLDER) writes each of them.",
                             }));

  // A "true" font is found by its signature as before: the output runs to
  // the end of the input, and the message still counts the fonts.
  const Fork mac = MakeFork({{1, "A", MacStyle()}, {2, "B", Plain()}});
  testsupport::WriteBytes(dir_.File("mac.dfont"), mac.bytes);
  shell::ScriptedChooser macChooser({dir_.File("mac.ttf")});
  messages_.Clear();
  EXPECT_EQ(macconv::ExtractTrueType(dir_.File("mac.dfont"), macChooser, messages_), shell::Outcome::kDone);
  Bytes expected(mac.bytes.begin() + 256 + 4, mac.bytes.end());
  expected[0] = 0, expected[1] = 1, expected[2] = 0, expected[3] = 0;
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("mac.ttf")), expected);
  EXPECT_NE(messages_.lines().at(0).find("This resource fork holds 2 TrueType fonts"), std::string::npos);
}

TEST_F(ContainerTest, ExtractAllWritesEveryFontUnderANewName) {
  const Bytes fork = MakeFork({{128, "Osaka Mono/1", Plain()},
                               {129, "Osaka Mono/1", MacStyle()},
                               {130, std::nullopt, Plain()},
                               {131, "../..", MacStyle()}})
                         .bytes;
  testsupport::WriteBytes(dir_.File("._Fonts"), AppleFile(0x00051607, {{2, fork}}));
  const std::string out = dir_.File("out");
  std::filesystem::create_directory(out);
  testsupport::WriteText(out + "/Fonts.130.ttf", "keep");

  EXPECT_EQ(macconv::ExtractAllFonts(dir_.File("._Fonts"), out, messages_), shell::Outcome::kFailed);
  EXPECT_EQ(testsupport::ListFolder(out), (std::vector<std::string>{"Fonts.130.ttf", "Fonts.131.ttf",
                                                                    "Fonts.Osaka_Mono_1.129.ttf", "Fonts.Osaka_Mono_1.ttf"}));
  EXPECT_EQ(testsupport::ReadBytes(out + "/Fonts.Osaka_Mono_1.ttf"), Plain());
  EXPECT_EQ(testsupport::ReadBytes(out + "/Fonts.Osaka_Mono_1.129.ttf"), MacStyle());
  EXPECT_EQ(testsupport::ReadBytes(out + "/Fonts.131.ttf"), MacStyle());
  EXPECT_EQ(testsupport::ReadText(out + "/Fonts.130.ttf"), "keep");
  const std::string size1 = std::to_string(Plain().size()), size2 = std::to_string(MacStyle().size());
  EXPECT_EQ(messages_.lines(), std::vector<std::string>{
                                 "ERROR: Extracted 3 of 4 TrueType Fonts.\n" +
                                 out + "/Fonts.Osaka_Mono_1.ttf (" + size1 + " bytes)\n" +
                                 out + "/Fonts.Osaka_Mono_1.129.ttf (" + size2 + " bytes)\n" +
                                 out + "/Fonts.131.ttf (" + size2 + " bytes)\n" +
                                 "Function CreateFile(" + out + "/Fonts.130.ttf) failed!! File exist?" + testsupport::ExistsNote()});

  // Once more into the same folder: nothing is replaced.
  messages_.Clear();
  EXPECT_EQ(macconv::ExtractAllFonts(dir_.File("._Fonts"), out, messages_), shell::Outcome::kFailed);
  EXPECT_EQ(testsupport::ListFolder(out).size(), 4u);
  EXPECT_EQ(macconv::ExtractAllFonts(dir_.File("._Fonts"), dir_.File("missing"), messages_), shell::Outcome::kFailed);
  EXPECT_NE(messages_.lines().back().find("3 more not tried."), std::string::npos);
  testsupport::WriteBytes(dir_.File("plain.ttf"), Plain());
  EXPECT_EQ(macconv::ExtractAllFonts(dir_.File("plain.ttf"), out, messages_), shell::Outcome::kFailed);
  EXPECT_EQ(messages_.lines().back(), "Message: Can't find TrueType Font.");
}

}  // namespace
