// The readers of profile files: pellin and corvin on the files a user edits,
// and pellout, corvout and the editor on the profile files they keep, when
// those are empty, missing, hold huge counts, name missing, large or taken
// files, or hold 100,000 sections. A run either writes its complete table or
// none, and a file that exists is never touched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/badinput/bad_files.h"
#include "tests/badinput/program_box.h"

namespace badinput {
namespace {

using ::testing::HasSubstr;

size_t CountOf(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Runs a merge tool on a profile file in its tool folder and checks that it
// failed with `line` and wrote nothing.
void ExpectRefused(ProgramBox& box, const std::string& tool, const std::string& profileName,
                   const std::string& profile, const std::string& line) {
  testsupport::WriteText(box.Bin(profileName), profile);
  std::vector<std::string> before = box.WorkFiles();
  ProgramRun run = box.Run(tool, {profileName});
  EXPECT_EQ(run.status, kToolFailure) << run.out;
  EXPECT_THAT(run.out, HasSubstr(line));
  EXPECT_EQ(box.WorkFiles(), before) << "a refused run writes no table file";
  EXPECT_EQ(testsupport::ReadText(box.Bin(profileName)), profile) << "the profile file is only read";
}

TEST(Pellin, ProfilesWithoutAUsableNameAreRefused) {
  ProgramBox box;
  box.Put("taken.os_2", {'k', 'e', 'p', 't'});
  const std::string cannotOpen = "Can not open a file " + box.BinAsNamed("Pellout.ini");
  ExpectRefused(box, "pellin", "Pellout.ini", "", cannotOpen);
  ExpectRefused(box, "pellin", "Pellout.ini", "[SUMMARY]\r\nversion=1\r\n", cannotOpen);
  ExpectRefused(box, "pellin", "Pellout.ini", "[SUMMARY]\nFileName=\"\"\n", cannotOpen);
  ExpectRefused(box, "pellin", "Pellout.ini", "[SUMMARY]\nFileName=taken.os_2\n", "File  taken.os_2 exists.");
  // A table file that cannot be made is named itself, not the profile file.
  ExpectRefused(box, "pellin", "Pellout.ini", "[SUMMARY]\nFileName=no/such/folder.os_2\n",
                "Can not open a file no/such/folder.os_2\nno/such/folder.os_2: ");
  EXPECT_EQ(box.Get("taken.os_2"), (Bytes{'k', 'e', 'p', 't'}));

  ProgramRun missing = box.Run("pellin", {"Missing.ini"});
  EXPECT_EQ(missing.status, kToolFailure);
  EXPECT_THAT(missing.out, HasSubstr("Can not open a file " + box.BinAsNamed("Missing.ini")));
}

TEST(Pellin, OutOfRangeValuesKeepTheirLowBits) {
  ProgramBox box;
  testsupport::WriteText(box.Bin("Pellout.ini"),
                         "[SUMMARY]\nFileName=new.os_2\nversion=4294967297\nxAvgCharWidth=-70000\n"
                         "usWeightClass=0x123456789\nachVendID=TOOLONGVENDOR\n[PANOSE]\nbWeight=-1\n");
  ProgramRun run = box.Run("pellin", {"Pellout.ini"});
  ASSERT_EQ(run.status, kToolComplete) << run.out;
  Bytes table = box.Get("new.os_2");
  ASSERT_EQ(table.size(), 86u);
  EXPECT_EQ(table[0] * 256 + table[1], 1);                                // 2^32 + 1 wraps to 1
  EXPECT_EQ(table[2] * 256 + table[3], static_cast<uint16_t>(-70000));    // cut to 16 bits
  EXPECT_EQ(table[4] * 256 + table[5], 0x6789);                           // hex wraps modulo 2^32, then 16 bits
  EXPECT_EQ(std::string(table.begin() + 58, table.begin() + 62), "TOOL");  // the first four characters
  EXPECT_EQ(table[34], 0xFF);
}

TEST(Pellin, AProfileOf100000SectionsIsRead) {
  ProgramBox box;
  std::string profile = Os2ProfileWithSections(100000, "new.os_2");
  testsupport::WriteText(box.Bin("Pellout.ini"), profile);
  ProgramRun run = box.Run("pellin", {"Pellout.ini"});
  ASSERT_EQ(run.status, kToolComplete) << run.out;
  Bytes table = box.Get("new.os_2");
  ASSERT_EQ(table.size(), 86u);
  EXPECT_EQ(table[4] * 256 + table[5], 700);
  EXPECT_EQ(std::string(table.begin() + 58, table.begin() + 62), "LAST");
  EXPECT_EQ(table[34], 8);
}

TEST(Pellout, AKeptProfileOf100000SectionsSurvivesTheRun) {
  ProgramBox box;
  std::string profile = Os2ProfileWithSections(100000, "old.os_2");
  testsupport::WriteText(box.Bin("Pellout.ini"), profile);
  box.Put("in.os_2", testsupport::MakeOs2("NEWV"));
  ProgramRun run = box.Run("pellout", {"in.os_2"});
  ASSERT_EQ(run.status, kToolComplete) << run.out;
  std::string after = testsupport::ReadText(box.Bin("Pellout.ini"));
  EXPECT_EQ(CountOf(after, "[filler"), 100000u);
  EXPECT_THAT(after, HasSubstr("[filler99999]\r\nkey=99999\r\n[SUMMARY]\r\nFileName=in.os_2\r\n"));
  EXPECT_THAT(after, HasSubstr("achVendID=NEWV\r\n"));
  EXPECT_EQ(CountOf(after, "[SUMMARY]"), 1u);
}

TEST(Corvin, ProfilesWithBadCountsNamesOrTextFilesAreRefused) {
  ProgramBox box;
  box.Put("000.txt", testsupport::AsciiBytes("Sample"));
  box.Put("big.txt", Bytes(65536, 'x'));
  box.Put("half.txt", Bytes(30000, 'x'));
  box.Put("taken.name", {'k', 'e', 'p', 't'});
  const std::string cannotOpen = "Can not open a file " + box.BinAsNamed("Corvout.ini");
  auto profile = [](const std::string& summary, const std::vector<std::string>& texts) {
    std::string text = "[SUMMARY]\r\n" + summary;
    for (size_t k = 0; k < texts.size(); ++k) text += "[" + std::to_string(k) + "]\r\nFileName=" + texts[k] + "\r\n";
    return text;
  };
  ExpectRefused(box, "corvin", "Corvout.ini", "", cannotOpen);
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=65535\r\n", {}),
                "numOfNameRec = 65535 is too large");
  // Counts are judged as written, not after they wrap at 16 bits.
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=0x1FFFF\r\n", {}),
                "numOfNameRec = 131071 is too large");
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=65536\r\n", {}),
                "numOfNameRec = 65536 is too large");
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=65537\r\n", {"000.txt"}),
                "numOfNameRec = 65537 is too large");
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=99999\r\n", {}),
                "numOfNameRec = 99999 is too large");
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=-65535\r\n", {"000.txt"}),
                "numOfNameRec = -65535 is not a count of records.");
  ExpectRefused(box, "corvin", "Corvout.ini",
                profile("FileName=new.name\r\nnumOfNameRec=0\r\nformat=1\r\nlangTagCount=65536\r\n", {}),
                "langTagCount = 65536 is not a count of language tags.");
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=taken.name\r\nnumOfNameRec=1\r\n", {"000.txt"}),
                "File  taken.name exists.");
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=2\r\n", {"000.txt"}),
                cannotOpen);
  ExpectRefused(box, "corvin", "Corvout.ini", profile("FileName=new.name\r\nnumOfNameRec=1\r\n", {"big.txt"}),
                "StringLength is too long. big.txt");
  ExpectRefused(box, "corvin", "Corvout.ini",
                profile("FileName=new.name\r\nnumOfNameRec=4\r\n", {"half.txt", "half.txt", "half.txt", "000.txt"}),
                "Offset is too long. entry 3");
  EXPECT_EQ(box.Get("taken.name"), (Bytes{'k', 'e', 'p', 't'}));
}

TEST(Corvin, AProfileOf100000SectionsAnd5460RecordsIsMerged) {
  ProgramBox box;
  box.Put("one.txt", testsupport::AsciiBytes("0123456789"));
  testsupport::WriteText(box.Bin("Corvout.ini"), NameProfileWithSections(100000, 5460, "one.txt", "new.name"));
  ProgramRun run = box.Run("corvin", {"Corvout.ini"});
  ASSERT_EQ(run.status, kToolComplete) << run.out.substr(0, 400);
  Bytes table = box.Get("new.name");
  ASSERT_EQ(table.size(), 6u + 12 * 5460 + 10 * 5460);
  EXPECT_EQ(table[2] * 256 + table[3], 5460);
  EXPECT_EQ(table[4] * 256 + table[5], 6 + 12 * 5460);
  size_t last = 6 + 12 * 5459;
  EXPECT_EQ(table[last + 10] * 256 + table[last + 11], 10 * 5459) << "the last string's offset";
}

TEST(EditorSettings, ASettingsFileOf100000SectionsKeepsThoseNoTagNamesAndGetsTheTableList) {
  ProgramBox box;
  std::string settings = "[Quillet]\r\nNumber_Of_Tables=4294967295\r\nTable0=zz\r\n";
  for (size_t k = 0; k < 100000; ++k) settings += "[old" + std::to_string(k) + "\"]\r\noffset=1\r\n";
  testsupport::WriteText(box.Bin("Quillet.ini"), settings);
  box.Put("font.ttf", SampleFontBytes());
  ProgramRun run = box.Run("quillet", {"--export", "font.ttf", "name", "font.name"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string after = testsupport::ReadText(box.Bin("Quillet.ini"));
  EXPECT_THAT(after, HasSubstr("Number_Of_Tables=8\r\n"));
  // "[old0\"]" to "[old9\"]" are shaped like the sections of tags an earlier
  // font had, and go; the others are no table list's and stay.
  EXPECT_EQ(CountOf(after, "[old"), 99990u);
  EXPECT_FALSE(box.Get("font.name").empty());
}

}  // namespace
}  // namespace badinput
