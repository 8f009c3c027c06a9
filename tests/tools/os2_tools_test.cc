#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <sstream>

#include "core/io/byte_order.h"
#include "platform/profile.h"
#include "tests/tools/tool_test_support.h"
#include "tools/pellin/profile_to_os2.h"
#include "tools/pellout/os2_to_profile.h"

namespace {

using testsupport::Bytes;
using testsupport::TempDir;
using tooltest::RunIn;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

core::Os2Record RecordOf(const Bytes& table) {
  core::Os2Record record{};
  std::copy_n(table.begin(), std::min(table.size(), record.size()), record.begin());
  return record;
}

std::string FieldText(const core::Os2Record& record, const std::string& name) {
  if (const tools::Os2Key* key = tools::Os2KeyNamed(name)) return tools::Os2FieldText(*key, record);
  ADD_FAILURE() << "no field " << name;
  return "";
}

void StoreField(const char* name, uint32_t value, core::Os2Record* record) {
  ASSERT_TRUE(core::StoreFieldBits(*tools::Os2KeyNamed(name)->field, value, *record));
}

// The keys of a profile text in the order they stand, with section names.
std::vector<std::string> KeysInOrder(const std::string& text) {
  std::vector<std::string> keys;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    keys.push_back(line[0] == '[' ? line.substr(0, line.find(']') + 1) : line.substr(0, line.find('=')));
  }
  return keys;
}

core::Os2Record FromProfile(const std::string& text) {
  platform::Profile profile;
  profile.Parse(text);
  return tools::BuildOs2Table(profile).record;
}

// A table of `version` that holds every field of its layout (at least 86 bytes).
Bytes Os2OfVersion(uint16_t version) {
  Bytes table = testsupport::MakeOs2("MRLW");
  table[0] = static_cast<uint8_t>(version >> 8);
  table[1] = static_cast<uint8_t>(version);
  size_t size = std::max(core::kOs2Version1Size, core::Os2LayoutSize(version));
  for (size_t at = table.size(); at < size; ++at) table.push_back(static_cast<uint8_t>(at - 80));
  return table;
}

TEST(Pellout, TextFormsOfTheFields) {
  core::Os2Record record = RecordOf(testsupport::MakeOs2());
  StoreField("sTypoDescender", static_cast<uint16_t>(-278), &record);
  StoreField("usWinDescent", 278, &record);
  StoreField("usLastCharIndex", 0xFFE5, &record);
  EXPECT_EQ(FieldText(record, "fsType"), "0x8");
  EXPECT_EQ(FieldText(record, "ulUnicodeRange1"), "0x00000001");
  EXPECT_EQ(FieldText(record, "sTypoDescender"), "-278");
  EXPECT_EQ(FieldText(record, "usWinDescent"), "278");
  EXPECT_EQ(FieldText(record, "usLastCharIndex"), "0xffe5");
  EXPECT_EQ(FieldText(record, "fsSelection"), "64");
  EXPECT_EQ(FieldText(record, "bFamilyType"), "2");
  StoreField("fsType", 0x8004, &record);  // bit 15 set
  EXPECT_EQ(FieldText(record, "fsType"), "0xffff8004");
  // ... and the merge tool keeps the low 16 bits of it.
  EXPECT_EQ(core::LoadU16(FromProfile("[SUMMARY]\nfsType=0xffff8004\n").data() + 8), 0x8004);
}

TEST(Pellout, VendorIdKeepsWhatTheProfileRulesWouldStrip) {
  struct Case {
    const char vendor[4];
    const char* text;
  } cases[] = {
      {{'A', 'B', 'C', 'D'}, "ABCD"},     {{'A', 'B', 0, 0}, "AB"},           {{'A', 'B', 0, 'D'}, "AB"},
      {{'I', 'P', 'A', ' '}, "\"IPA \""}, {{' ', 'A', 'B', ' '}, "\" AB \""}, {{'\'', 'A', 'B', '\''}, "\"'AB'\""},
      {{0, 'A', 'B', 'C'}, ""},
  };
  for (const Case& c : cases) {
    const uint8_t* vendor = reinterpret_cast<const uint8_t*>(c.vendor);
    EXPECT_EQ(tools::VendorText(vendor), c.text);
    // Read back by the profile rules, the written text gives the bytes up to the first zero.
    core::Os2Record back = FromProfile(std::string("[SUMMARY]\nachVendID=") + tools::VendorText(vendor) + "\n");
    size_t kept = std::find(vendor, vendor + 4, 0) - vendor;
    EXPECT_TRUE(std::equal(vendor, vendor + kept, back.data() + 58)) << c.text;
    EXPECT_TRUE(std::all_of(back.data() + 58 + kept, back.data() + 62, [](uint8_t b) { return b == 0; })) << c.text;
  }
}

TEST(Pellout, WritesEveryKeyInProfileOrderAndKeepsOtherEntries) {
  TempDir dir;
  testsupport::WriteText(dir.File("Pellout.ini"), "[EARLIER]\r\nkept=1\r\n[SUMMARY]\r\nFileName=old.os_2\r\n");
  testsupport::WriteBytes(dir.File("a.os_2"), testsupport::MakeOs2("MRLW"));
  auto run = RunIn(tools::RunPellout, dir, {"pellout", "a.os_2"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "argc = 2\n");

  // The keys of an 86-byte table of version 1, in the file's order.
  const std::vector<std::string> expected{
      "[EARLIER]", "kept", "[SUMMARY]", "FileName", "version", "xAvgCharWidth", "usWeightClass", "usWidthClass",
      "fsType", "ySubscriptXSize", "ySubscriptYSize", "ySubscriptXOffset", "ySubscriptYOffset", "ySuperscriptXSize",
      "ySuperscriptYSize", "ySuperscriptXOffset", "ySuperscriptYOffset", "yStrikeoutSize", "yStrikeoutPosition",
      "sFamilyClass", "ulUnicodeRange1", "ulUnicodeRange2", "ulUnicodeRange3", "ulUnicodeRange4", "fsSelection",
      "usFirstCharIndex", "usLastCharIndex", "sTypoAscender", "sTypoDescender", "sTypoLineGap", "usWinAscent",
      "usWinDescent", "ulCodePageRange1", "ulCodePageRange2", "achVendID", "[PANOSE]", "bFamilyType", "bSerifStyle",
      "bWeight", "bProportion", "bContrast", "bStrokeVariation", "bArmStyle", "bLetterform", "bMidline", "bXHeight"};
  std::string text = testsupport::ReadText(dir.File("Pellout.ini"));
  EXPECT_EQ(KeysInOrder(text), expected);
  EXPECT_NE(text.find("FileName=a.os_2\r\n"), std::string::npos);
  EXPECT_NE(text.find("achVendID=MRLW\r\n"), std::string::npos);
}

TEST(Pellout, ShortTableNamesTheFieldsItLacksAndWritesNoneOfThem) {
  struct Case {
    uint16_t version;
    size_t size;
    const char* warning;  // after "Warning: short.os_2 holds "
  } cases[] = {
      {1, 60, "60 bytes, fewer than the 86 of an OS/2 table of version 1; these fields are missing and are not "
              "written: fsSelection, usFirstCharIndex, usLastCharIndex, sTypoAscender, sTypoDescender, sTypoLineGap, "
              "usWinAscent, usWinDescent, ulCodePageRange1, ulCodePageRange2, achVendID.\n"},
      {0, 78, nullptr},  // all of version 0; the code pages of version 1 are simply absent
      {4, 90, "90 bytes, fewer than the 96 of an OS/2 table of version 4; these fields are missing and are not "
              "written: usDefaultChar, usBreakChar, usMaxContext.\n"},
      {5, 96, "96 bytes, fewer than the 100 of an OS/2 table of version 5; these fields are missing and are not "
              "written: usLowerOpticalPointSize, usUpperOpticalPointSize.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    TempDir dir;
    // Keys that an earlier run left are emptied, never taken for this table's.
    testsupport::WriteText(dir.File("Pellout.ini"), "[SUMMARY]\r\nachVendID=OLD\r\nusMaxContext=9\r\n"
                                                    "usUpperOpticalPointSize=9\r\nulCodePageRange2=0x1\r\n");
    Bytes table = Os2OfVersion(c.version);
    table.resize(c.size);
    testsupport::WriteBytes(dir.File("short.os_2"), table);
    auto run = RunIn(tools::RunPellout, dir, {"pellout", "short.os_2"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, std::string("argc = 2\n") + (c.warning ? std::string("Warning: short.os_2 holds ") + c.warning : ""));
    platform::Profile profile;
    ASSERT_TRUE(profile.Load(dir.File("Pellout.ini")));
    for (const tools::Os2Key& key : tools::Os2Keys()) {
      const core::FieldInfo& field = *key.field;
      bool held = field.end() <= c.size && (field.offset < core::kOs2Version1Size || field.since <= c.version);
      EXPECT_EQ(!profile.GetString(key.section, field.name, "").empty(), held) << field.name;
    }
  }
}

TEST(Os2RoundTrip, EveryVersionComesBackWholeAtItsLength) {
  for (uint16_t version : {0, 1, 2, 3, 4, 5, 6}) {
    SCOPED_TRACE(version);
    TempDir dir;
    Bytes table = Os2OfVersion(version);
    testsupport::WriteBytes(dir.File("in.os_2"), table);
    auto out = RunIn(tools::RunPellout, dir, {"pellout", "in.os_2"});
    EXPECT_EQ(out.status, 1);
    EXPECT_EQ(out.out.find("Warning: in.os_2 is an OS/2 table of version 6, which is newer than version 5; it is read "
                           "with the fields of version 5.\n") != std::string::npos,
              version == 6)
        << out.out;
    platform::Profile profile;
    ASSERT_TRUE(profile.Load(dir.File("Pellout.ini")));
    EXPECT_EQ(profile.GetString("SUMMARY", "usBreakChar", "-"), version >= 2 ? "0xc0d" : "-");
    profile.Set("SUMMARY", "FileName", "back.os_2");
    ASSERT_TRUE(profile.Save(dir.File("Pellout.ini")));
    auto in = RunIn(tools::RunPellin, dir, {"pellin", "Pellout.ini"});
    EXPECT_EQ(in.status, 1);
    EXPECT_EQ(in.out, version == 6 ? "Warning: version 6 is newer than version 5; the table is written with the "
                                     "fields of version 5.\n"
                                   : "");
    EXPECT_EQ(testsupport::ReadBytes(dir.File("back.os_2")), table);
  }
}

TEST(Pellin, LengthFollowsTheVersionAndEveryMissingKeyIsNamed) {
  struct Case {
    const char* version;
    size_t size;
    const char* named;  // the defaults around the fields of the version
  } cases[] = {
      {"0", 86, "usWinDescent=278, ulCodePageRange1=0x00040000, ulCodePageRange2=0x00000000, achVendID=\"\", bFamilyType=2"},
      {"1", 86, "usWinDescent=278, ulCodePageRange1=0x00040000, ulCodePageRange2=0x00000000, achVendID=\"\", bFamilyType=2"},
      {"3", 96, "achVendID=\"\", sxHeight=0, sCapHeight=0, usDefaultChar=0x0, usBreakChar=0x20, usMaxContext=0, "
                "bFamilyType=2"},
      {"5", 100, "usMaxContext=0, usLowerOpticalPointSize=0, usUpperOpticalPointSize=0, bFamilyType=2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    TempDir dir;
    testsupport::WriteText(dir.File("p.ini"), std::string("[SUMMARY]\r\nFileName=t.os_2\r\nversion=") + c.version +
                                                  "\r\nsxHeight=\r\n");
    auto run = RunIn(tools::RunPellin, dir, {"pellin", "p.ini"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, StartsWith(std::string("p.ini gives no value for these keys of version ") + c.version +
                                    "; they take their defaults: xAvgCharWidth=1024, "));
    EXPECT_THAT(run.out, HasSubstr(c.named));
    EXPECT_THAT(run.out, HasSubstr("sTypoDescender=-278,"));
    EXPECT_THAT(run.out, EndsWith("bXHeight=4.\n"));
    EXPECT_THAT(run.out, Not(HasSubstr("version=")));
    Bytes table = testsupport::ReadBytes(dir.File("t.os_2"));
    ASSERT_EQ(table.size(), c.size);
    if (c.size > 93) {
      EXPECT_EQ(tooltest::Hex(Bytes(table.begin() + 86, table.begin() + 96)), "00 00 00 00 00 00 00 20 00 00");
    }
  }
}

TEST(Pellout, FailuresEndWithMinusOne) {
  TempDir dir;
  auto missing = RunIn(tools::RunPellout, dir, {"pellout", "absent.os_2"});
  EXPECT_EQ(missing.status, -1);
  EXPECT_THAT(missing.out, StartsWith("argc = 2\nCan not open a file absent.os_2\nabsent.os_2: "));
  EXPECT_FALSE(testsupport::Exists(dir.File("Pellout.ini")));

  // A profile file that cannot be written is reported, not taken for success.
  testsupport::WriteBytes(dir.File("a.os_2"), testsupport::MakeOs2());
  tools::TextConsole console;
  std::string folder = dir.File("no-such-folder");
  int status = tools::RunPellout({"pellout", dir.File("a.os_2")}, tools::ToolPlace{folder, ""}, console);
  EXPECT_EQ(status, -1);
  EXPECT_THAT(console.text(), StartsWith("argc = 2\nCan not open a file " + folder + "/Pellout.ini\n" + folder +
                                         "/Pellout.ini: "));
}

TEST(Pellin, DefaultsFillAnAlmostEmptyProfile) {
  core::Os2Record record = FromProfile("[SUMMARY]\nFileName=x\n");
  Bytes bytes(record.begin(), record.end());
  EXPECT_EQ(tooltest::Hex(Bytes(bytes.begin(), bytes.begin() + 10)), "00 01 04 00 01 90 00 05 00 08");
  EXPECT_EQ(tooltest::Hex(Bytes(bytes.begin() + 30, bytes.begin() + 62)),
            "08 05 02 0B 06 09 07 02 05 08 02 04 00 00 00 01 08 07 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(tooltest::Hex(Bytes(bytes.begin() + 62, bytes.begin() + 86)),
            "00 40 00 20 FF E5 06 EA FE EA 02 00 06 EA 01 16 00 04 00 00 00 00 00 00");
}

TEST(Pellin, ValuesKeepTheirLowBits) {
  core::Os2Record record = FromProfile(
      "[SUMMARY]\nusWeightClass=70000\nsTypoDescender=-278\nulUnicodeRange2=0x80000001\n"
      "ulUnicodeRange3=2147483649\nachVendID=ABCDEFGH\n[PANOSE]\nbFamilyType=258\n");
  EXPECT_EQ(core::LoadU16(record.data() + 4), 4464);
  EXPECT_EQ(record[32], 2);
  EXPECT_EQ(tooltest::Hex(Bytes(record.begin() + 70, record.begin() + 72)), "FE EA");
  EXPECT_EQ(core::LoadU32(record.data() + 46), 0x80000001u);
  EXPECT_EQ(core::LoadU32(record.data() + 50), 0x80000001u);
  EXPECT_EQ(tooltest::Hex(Bytes(record.begin() + 58, record.begin() + 62)), "41 42 43 44");
  record = FromProfile("[SUMMARY]\nachVendID=ABC\n");
  EXPECT_EQ(tooltest::Hex(Bytes(record.begin() + 58, record.begin() + 62)), "41 42 43 00");
}

TEST(Pellin, FailuresLeaveNothingBehind) {
  TempDir dir;
  auto missingProfile = RunIn(tools::RunPellin, dir, {"pellin", "none.ini"});
  EXPECT_EQ(missingProfile.status, -1);
  EXPECT_EQ(missingProfile.out, "Can not open a file " + dir.File("none.ini") + "\n");

  testsupport::WriteText(dir.File("p.ini"), "[SUMMARY]\r\nversion=1\r\n");
  auto noName = RunIn(tools::RunPellin, dir, {"pellin", "p.ini"});
  EXPECT_EQ(noName.status, -1);
  EXPECT_EQ(noName.out, "Can not open a file " + dir.File("p.ini") + "\n" + dir.File("p.ini") +
                            " names no table file: FileName in [SUMMARY] is missing or empty.\n");

  testsupport::WriteText(dir.File("p.ini"), "[SUMMARY]\r\nFileName=taken.os_2\r\n");
  testsupport::WriteText(dir.File("taken.os_2"), "keep me");
  auto exists = RunIn(tools::RunPellin, dir, {"pellin", "p.ini"});
  EXPECT_EQ(exists.status, -1);
  EXPECT_EQ(exists.out, "File  taken.os_2 exists.\n");
  EXPECT_EQ(testsupport::ReadText(dir.File("taken.os_2")), "keep me");
  EXPECT_EQ(testsupport::ListFolder(dir.path()), (std::vector<std::string>{"p.ini", "taken.os_2"}));
}

// pellout then pellin on a real OS/2 table gives back exactly its bytes.
void ExpectOs2RoundTrip(const char* fontPath, const char* vendor) {
  Bytes table = tooltest::TableOfFont(fontPath, "OS/2");
  if (table.size() < 86) GTEST_SKIP() << fontPath << " is not installed";
  TempDir dir;
  testsupport::WriteBytes(dir.File("font.os_2"), table);
  ASSERT_EQ(RunIn(tools::RunPellout, dir, {"pellout", "font.os_2"}).status, 1);
  platform::Profile profile;
  ASSERT_TRUE(profile.Load(dir.File("Pellout.ini")));
  EXPECT_EQ(profile.GetString("SUMMARY", "achVendID", ""), vendor);
  profile.Set("SUMMARY", "FileName", "back.os_2");
  ASSERT_TRUE(profile.Save(dir.File("Pellout.ini")));
  auto run = RunIn(tools::RunPellin, dir, {"pellin", "Pellout.ini"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(testsupport::ReadBytes(dir.File("back.os_2")), table);
}

TEST(Os2RoundTrip, IpaGothicWithItsBlankPaddedVendor) { ExpectOs2RoundTrip(tooltest::kIpaGothic, "IPA "); }
TEST(Os2RoundTrip, DejaVuSans) { ExpectOs2RoundTrip(tooltest::kDejaVuSans, "PfEd"); }

}  // namespace
