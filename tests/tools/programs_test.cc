// The four programs as a user runs them: copied into a folder of their own,
// which holds their profile files, and started from another folder.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>

#include "platform/profile.h"
#include "tests/tools/tool_test_support.h"

namespace {

using testsupport::Bytes;
using testsupport::TempDir;
using tooltest::RunProgram;

const char kMaker[] =
    "Marlowby font tools, console edition.\nQuestions and reports: the Marlowby font tools maintainers.\n--\n\n";

TEST(Programs, WrongArgumentCountPrintsUsageAndEndsWith255) {
  TempDir tools, work;
  auto pellout = RunProgram("pellout", tools.path(), work.path(), "");
  EXPECT_EQ(pellout.status, 255);
  EXPECT_EQ(pellout.out, std::string("argc = 1\nUSAGE : pellout.exe ver. 1.0\npellout.exe filename.os_2\n") + kMaker);
  auto pellin = RunProgram("pellin", tools.path(), work.path(), "a.ini b");
  EXPECT_EQ(pellin.status, 255);
  EXPECT_EQ(pellin.out, std::string("USAGE : pellin.exe ver. 1.0\npellin.exe name.ini\n") + kMaker);
  auto corvout = RunProgram("corvout", tools.path(), work.path(), "a b c");
  EXPECT_EQ(corvout.status, 255);
  EXPECT_EQ(corvout.out, std::string("argc = 4\nUSAGE : corvout.exe ver. 1.0\ncorvout.exe filename.name [u]\n"
                                     "[u] : unicode high/low byte swap.\n") +
                             kMaker);
  auto corvin = RunProgram("corvin", tools.path(), work.path(), "");
  EXPECT_EQ(corvin.status, 255);
  EXPECT_EQ(corvin.out,
            std::string("USAGE : corvin.exe ver. 1.0\ncorvin.exe name.ini [u]\n[u] : Unicode high/low bytes swap\n") +
                kMaker);
  // Nothing was written anywhere.
  EXPECT_EQ(testsupport::ListFolder(tools.path()),
            (std::vector<std::string>{testsupport::ProgramFile("corvin"), testsupport::ProgramFile("corvout"),
                                      testsupport::ProgramFile("pellin"), testsupport::ProgramFile("pellout")}));
  EXPECT_TRUE(testsupport::ListFolder(work.path()).empty());
}

// Sets SUMMARY/FileName of a profile file as a user would edit it.
void SetTableName(const std::string& profilePath, const std::string& name) {
  platform::Profile profile;
  ASSERT_TRUE(profile.Load(profilePath));
  profile.Set("SUMMARY", "FileName", name);
  ASSERT_TRUE(profile.Save(profilePath));
}

TEST(Programs, PelloutAndPellinMeetInTheirOwnFolder) {
  Bytes table = tooltest::TableOfFont(tooltest::kIpaGothic, "OS/2");
  if (table.size() < 86) GTEST_SKIP() << "IPA Gothic is not installed";
  TempDir tools, work;
  testsupport::WriteBytes(work.File("ipag.os_2"), table);
  auto out = RunProgram("pellout", tools.path(), work.path(), "ipag.os_2");
  EXPECT_EQ(out.status, 1);
  EXPECT_EQ(out.out, "argc = 2\n");
  ASSERT_TRUE(testsupport::Exists(tools.File("Pellout.ini")));

  SetTableName(tools.File("Pellout.ini"), "new.os_2");
  auto in = RunProgram("pellin", tools.path(), work.path(), "Pellout.ini");
  EXPECT_EQ(in.status, 1);
  EXPECT_EQ(in.out, "");
  EXPECT_EQ(testsupport::ReadBytes(work.File("new.os_2")), table);

  // The no-overwrite rule: a second run changes nothing on disk.
  auto again = RunProgram("pellin", tools.path(), work.path(), "Pellout.ini");
  EXPECT_EQ(again.status, 255);
  EXPECT_EQ(again.out, "File  new.os_2 exists.\n");
  EXPECT_EQ(testsupport::ReadBytes(work.File("new.os_2")), table);
  EXPECT_EQ(testsupport::ListFolder(work.path()), (std::vector<std::string>{"ipag.os_2", "new.os_2"}));
}

TEST(Programs, CorvoutAndCorvinRebuildARealNameTable) {
  Bytes table = tooltest::TableOfFont(tooltest::kDejaVuSans, "name");
  if (table.empty()) GTEST_SKIP() << "DejaVu Sans is not installed";
  TempDir tools, work;
  testsupport::WriteBytes(work.File("dejavu.name"), table);
  auto out = RunProgram("corvout", tools.path(), work.path(), "dejavu.name U");
  EXPECT_EQ(out.status, 1);
  EXPECT_EQ(out.out.rfind("argc = 3\nargv[2] = U\nUnicode High/Low bytes swap mode\nnumOfNameRec = ", 0), 0u);
  EXPECT_TRUE(testsupport::Exists(work.File("000.txt")));

  SetTableName(tools.File("Corvout.ini"), "rebuilt.name");
  auto in = RunProgram("corvin", tools.path(), work.path(), "Corvout.ini u");
  EXPECT_EQ(in.status, 1) << in.out;
#if defined(_WIN32)
  GTEST_SKIP() << "the programs ran; the judge of their table is Linux's fontTools";
#endif
  std::string listing = tooltest::NameListing(work.File("dejavu.name"), work.File("rebuilt.name"));
  EXPECT_TRUE(listing.starts_with("same ")) << listing;
}

TEST(Programs, ReadOnlyToolFolderFallsBackToTheUserFolderForBothTools) {
#if defined(_WIN32)
  GTEST_SKIP() << "takes the write permission away with POSIX modes";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "every folder is writable for root";
#endif
  TempDir tools, work, config;
  testsupport::WriteBytes(work.File("a.os_2"), testsupport::MakeOs2("MRLW"));
  RunProgram("pellout", tools.path(), work.path(), "");  // copies the programs in
  RunProgram("pellin", tools.path(), work.path(), "");
  std::filesystem::permissions(tools.path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  std::string env = "XDG_CONFIG_HOME='" + config.path() + "' ";
  auto out = testsupport::RunCommand("cd '" + work.path() + "' && " + env + "'" + tools.File("pellout") + "' a.os_2");
  EXPECT_EQ(out.status, 1) << out.out;
  std::string profilePath = config.File("marlowby/Pellout.ini");
  ASSERT_TRUE(testsupport::Exists(profilePath));
  SetTableName(profilePath, "b.os_2");
  auto in =
      testsupport::RunCommand("cd '" + work.path() + "' && " + env + "'" + tools.File("pellin") + "' Pellout.ini");
  EXPECT_EQ(in.status, 1) << in.out;
  EXPECT_EQ(testsupport::ReadBytes(work.File("b.os_2")), testsupport::MakeOs2("MRLW"));
}

}  // namespace
