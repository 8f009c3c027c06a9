// Runs that must not claim more than they did, through the real programs:
// defaults that are named, profile files that are read as their user wrote
// them (or left alone when they are too large), collections whose header is
// cut, failures that say which file failed and why, and the options a shell
// user types.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/badinput/bad_files.h"
#include "tests/badinput/program_box.h"
#include "tests/support/font_builder.h"
#include "tests/support/reasons.h"
#include "tests/support/temp_dir.h"

namespace badinput {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// Pellout.ini of the sample font's OS/2 table, as pellout writes it.
std::string PelloutProfile(ProgramBox& box) {
  box.Put("os2.bin", testsupport::MakeOs2("IPA "));
  ProgramRun out = box.Run("pellout", {"os2.bin"});
  EXPECT_EQ(out.status, kToolComplete) << out.out;
  return box.GetText("../bin/Pellout.ini");
}

std::string WithoutLine(std::string text, const std::string& key) {
  size_t at = text.find("\r\n" + key + "=");
  if (at == std::string::npos) return text;
  return text.erase(at, text.find("\r\n", at + 2) - at);
}

TEST(HonestRuns, PellinNamesEveryKeyThatTookItsDefault) {
  ProgramBox box;
  std::string profile = PelloutProfile(box);
  profile = WithoutLine(WithoutLine(profile, "usWinDescent"), "ulCodePageRange1");
  size_t name = profile.find("FileName=os2.bin");
  ASSERT_NE(name, std::string::npos);
  box.PutText("../bin/Pellout.ini", profile.replace(name, 16, "FileName=new.bin"));
  ProgramRun run = box.Run("pellin", {"Pellout.ini"});
  EXPECT_EQ(run.status, kToolComplete);
  EXPECT_THAT(run.out, HasSubstr("Pellout.ini gives no value for these keys of version 1; they take their defaults: "
                                 "usWinDescent=278, ulCodePageRange1=0x00040000.\n"));
}

TEST(HonestRuns, ProfileFilesAreReadAsTheirUserWroteThem) {
  // Lines ended by a CR alone, as old Mac editors save them.
  {
    ProgramBox box;
    box.PutText("../bin/Pellout.ini", "[SUMMARY]\rFileName=t.bin\rversion=1\rachVendID=\"IPA \"\r");
    ProgramRun run = box.Run("pellin", {"Pellout.ini"});
    EXPECT_EQ(run.status, kToolComplete) << run.out;
    Bytes table = box.Get("t.bin");
    ASSERT_EQ(table.size(), 86u);
    EXPECT_EQ(std::string(table.begin() + 58, table.begin() + 62), "IPA ");
  }
  // An absolute path names the profile file itself.
  {
    ProgramBox box;
    box.PutText("elsewhere.ini", "[SUMMARY]\r\nFileName=abs.bin\r\nversion=1\r\n");
    ProgramRun run = box.Run("pellin", {box.Work("elsewhere.ini")});
    EXPECT_EQ(run.status, kToolComplete) << run.out;
    EXPECT_TRUE(box.Has("abs.bin"));
  }
  // UTF-16 and a profile without its summary are said as such.
  {
    ProgramBox box;
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[SUMMARY]\r\nFileName=u.bin\r\n")) utf16 += std::string{c, '\0'};
    box.PutText("../bin/Pellout.ini", utf16);
    ProgramRun run = box.Run("pellin", {"Pellout.ini"});
    EXPECT_EQ(run.status, kToolFailure);
    EXPECT_THAT(run.out, HasSubstr("Pellout.ini is UTF-16 text; save it as ANSI or UTF-8 text and run again."));
    box.PutText("../bin/Corvout.ini", "[0]\r\nFileName=000.txt\r\n");
    run = box.Run("corvin", {"Corvout.ini"});
    EXPECT_EQ(run.status, kToolFailure);
    EXPECT_THAT(run.out, HasSubstr("Corvout.ini has no [SUMMARY] section."));
  }
}

// A settings file far larger than any the suite writes is left alone: the
// report runs without it, and the tools that would rewrite it refuse.
TEST(HonestRuns, SettingsFilesOver16MiBAreLeftAlone) {
  ProgramBox box;
  box.Put("font.ttf", SampleFontBytes());
  const uintmax_t huge = (uintmax_t{16} << 20) + 1;
  for (const char* name : {"Quillet.ini", "Pellout.ini"}) {
    std::filesystem::path path = box.Bin(name);
    testsupport::WriteText(path.string(), "[Quillet]\r\n");
    std::filesystem::resize_file(path, huge);
  }
  ProgramRun report = box.Run("quillet", {"--report", "font.ttf"});
  EXPECT_EQ(report.status, 0) << report.err;
  EXPECT_THAT(report.out, HasSubstr("Ready"));
  EXPECT_THAT(report.err, HasSubstr("Quillet.ini is larger than 16 MiB, so it is left alone and the table list is not "
                                    "written."));
  EXPECT_EQ(std::filesystem::file_size(box.Bin("Quillet.ini")), huge);

  box.Put("os2.bin", testsupport::MakeOs2());
  ProgramRun pellout = box.Run("pellout", {"os2.bin"});
  EXPECT_EQ(pellout.status, kToolFailure);
  EXPECT_THAT(pellout.out, HasSubstr("Pellout.ini is larger than 16 MiB, too large for a profile file; it is left "
                                     "alone."));
  EXPECT_EQ(std::filesystem::file_size(box.Bin("Pellout.ini")), huge);
}

// Only the keys and sections of the last font's table list stay, and only
// the record sections of the last name table.
TEST(HonestRuns, SettingsFilesKeepNoStaleEntries) {
  ProgramBox box;
  Bytes big = SampleFontBytes();
  box.Put("big.ttf", big);
  box.Put("small.ttf", testsupport::FontBuilder().AddTable("maxp", testsupport::MakeMaxp()).Build());
  ASSERT_EQ(box.Run("quillet", {"--report", "big.ttf"}).status, 0);
  ASSERT_EQ(box.Run("quillet", {"--report", "small.ttf"}).status, 0);
  std::string ini = box.GetText("../bin/Quillet.ini");
  EXPECT_THAT(ini, HasSubstr("Number_Of_Tables=1\r\nTable0=maxp\""));
  EXPECT_THAT(ini, Not(HasSubstr("Table1=")));
  EXPECT_THAT(ini, Not(HasSubstr("[head\"]")));

  box.Put("many.name", NameTableOfRecords(40));
  box.Put("few.name", NameTableOfRecords(2));
  ProgramRun many = box.Run("corvout", {"many.name"});
  ASSERT_EQ(many.status, kToolComplete) << many.out << many.err;
  ProgramRun few = box.Run("corvout", {"few.name"});
  ASSERT_EQ(few.status, kToolComplete) << few.out << few.err;
  std::string names = box.GetText("../bin/Corvout.ini");
  EXPECT_THAT(names, HasSubstr("[1]\r\n"));
  EXPECT_THAT(names, Not(HasSubstr("[2]\r\n")));
  EXPECT_THAT(names, Not(HasSubstr("[39]\r\n")));
}

TEST(HonestRuns, ACollectionWithACutHeaderFailsTheCheck) {
  ProgramBox box;
  Bytes collection = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 1};
  for (size_t size : {4, 8, 11}) {
    SCOPED_TRACE(size);
    box.Put("cut.ttc", FirstBytes(collection, size));
    ProgramRun run = box.Run("quillet", {"--check", "cut.ttc"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "cut.ttc: error: the collection header is cut short: the file holds " + std::to_string(size) +
                           " of its 12 bytes\n");
  }
  Bytes none = collection;
  none[11] = 0;
  box.Put("none.ttc", none);
  ProgramRun run = box.Run("quillet", {"--check", "none.ttc"});
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.out, HasSubstr("the collection names no fonts"));
}

// A name table whose records claim far more text than it holds is refused
// before a text file is written.
TEST(HonestRuns, CorvoutRefusesStringsThatOutgrowTheTable) {
  ProgramBox box;
  Bytes table = NameTableOfRecords(5000);
  for (size_t k = 0; k < 5000; ++k) table[6 + 12 * k + 8] = table[6 + 12 * k + 9] = 0xFF;  // StringLen 0xFFFF
  box.Put("blown.name", table);
  ProgramRun run = box.Run("corvout", {"blown.name"});
  EXPECT_EQ(run.status, kToolFailure);
  EXPECT_THAT(run.out, HasSubstr("The strings of blown.name add up to 327675000 bytes"));
  EXPECT_THAT(run.out, HasSubstr("Nothing is written."));
  EXPECT_FALSE(box.Has("000.txt"));
  EXPECT_FALSE(box.Has("../bin/Corvout.ini"));
}

// Failures name the file at fault and the system's reason, in the log and
// on standard error alike; a font that is missing is never "opened".
TEST(HonestRuns, FailuresSayWhichFileAndWhy) {
  ProgramBox box;
  box.Put("font.ttf", SampleFontBytes());
  const std::string missingFolder = std::to_string(testsupport::kMissingFolderCode);
  ProgramRun add = box.Run("quillet", {"--add", "font.ttf", "zzzz", "font.ttf", "no/a.ttf"});
  EXPECT_EQ(add.status, 1);
  EXPECT_THAT(add.out, HasSubstr("Function CreateFile(no/a.ttf) has an error at 1!! " + missingFolder +
                                 " File exist?" + testsupport::MissingFolderNote()));
  ProgramRun recalc = box.Run("quillet", {"--recalc", "font.ttf", "no/r.ttf"});
  EXPECT_EQ(recalc.status, 1);
  EXPECT_THAT(recalc.out, HasSubstr("Failed in copying file from\n  font.ttf to\n  no/r.ttf\nno/r.ttf: " +
                                    testsupport::MissingFolderReason() + "\n"));
  ProgramRun missing = box.Run("quillet", {"--report", "missing.ttf"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.out, Not(HasSubstr("is opened")));
  EXPECT_EQ(missing.err, "ERROR: Function CreateFile(missing.ttf) has an error at 2!! 2" + testsupport::MissingFileNote() + "\n");

  box.Put("os2.bin", testsupport::MakeOs2());
  box.PutText("../bin/Pellout.ini", "[SUMMARY]\r\nFileName=no/t.bin\r\nversion=1\r\n");
  ProgramRun pellin = box.Run("pellin", {"Pellout.ini"});
  EXPECT_EQ(pellin.status, kToolFailure);
  EXPECT_EQ(pellin.out, "Can not open a file no/t.bin\nno/t.bin: " + testsupport::MissingFolderReason() + "\n");

  // A table list that cannot be written fails the report, on standard error.
  std::filesystem::remove(box.Bin("Quillet.ini"));
  std::filesystem::create_directory(box.Bin("Quillet.ini"));
  ProgramRun report = box.Run("quillet", {"--report", "font.ttf"});
  EXPECT_EQ(report.status, 1);
  EXPECT_THAT(report.err, HasSubstr("ERROR: Could not write the table list into "));
  EXPECT_THAT(report.out, Not(HasSubstr("Could not write")));
}

TEST(HonestRuns, DoubleDashEndsTheOptions) {
  ProgramBox box;
  box.Put("-font.ttf", SampleFontBytes());
  ProgramRun check = box.Run("quillet", {"--check", "--", "-font.ttf"});
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_EQ(check.out, "-font.ttf: no errors\n");
  ProgramRun raw = box.Run("quillet", {"--report", "--", "--raw"});
  EXPECT_EQ(raw.status, 1);
  EXPECT_THAT(raw.err, StartsWith("ERROR: Function CreateFile(--raw)"));
  EXPECT_EQ(box.Run("quillet", {"--export", "--", "-font.ttf", "head", "head.bin"}).status, 0);
  EXPECT_EQ(box.Get("head.bin").size(), 54u);
}

}  // namespace
}  // namespace badinput
