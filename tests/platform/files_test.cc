#include <sys/stat.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/output_file.h"
#include "platform/paths.h"
#include "platform/program_folder.h"
#include "platform/staged_files.h"
#include "platform/temp_files.h"
#include "tests/support/temp_dir.h"

namespace {

using Names = std::vector<std::string>;
using testsupport::ListFolder;
using testsupport::ReadText;
using testsupport::TempDir;
using testsupport::WriteText;

std::span<const uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

#if !defined(_WIN32)
mode_t ModeOf(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}
#endif

using testsupport::ScopedEnv;

TEST(AtomicOutput, WritesPatchesAndCommits) {
  TempDir dir;
  std::string path = dir.File("out.bin");
#if !defined(_WIN32)
  mode_t oldMask = ::umask(027);
#endif
  {
    platform::AtomicOutput out;
    ASSERT_TRUE(out.Begin(path));
    std::string big(3 << 20, 'b');
    ASSERT_TRUE(out.Write("head", 4) && out.Write(AsBytes(big)) && out.Write("tail", 4));
    ASSERT_TRUE(out.WriteAt(0, "HE", 2));
    ASSERT_TRUE(out.WriteAt(out.size() - 2, "IL", 2));
#if !defined(_WIN32)  // Windows names every file from its start
    EXPECT_TRUE(ListFolder(dir.path()).empty());  // no name before the commit: a killed run leaves none
#endif
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadText(path), "HEad" + big + "taIL");
  }
#if !defined(_WIN32)
  ::umask(oldMask);
  EXPECT_EQ(ModeOf(path), 0640u);  // the usual mode for new files, not a private one
#endif
  EXPECT_EQ(ListFolder(dir.path()), Names{"out.bin"});
}

TEST(AtomicOutput, NeverReplacesAndLeavesNothingBehind) {
  TempDir dir;
  std::string path = dir.File("font.ttf");
  WriteText(path, "original");
  {
    platform::AtomicOutput out;
    EXPECT_FALSE(out.Begin(path));
    EXPECT_EQ(out.error(), EEXIST);
  }
  {
    platform::AtomicOutput out;  // dropped without Commit
    ASSERT_TRUE(out.Begin(dir.File("dropped")));
    ASSERT_TRUE(out.Write("x", 1));
  }
  {
    platform::AtomicOutput out;  // the destination appears meanwhile
    ASSERT_TRUE(out.Begin(dir.File("late")));
    ASSERT_TRUE(out.Write("mine", 4));
    WriteText(dir.File("late"), "theirs");
    EXPECT_FALSE(out.Commit());
    EXPECT_EQ(out.error(), EEXIST);
  }
  EXPECT_EQ(ReadText(path), "original");
  EXPECT_EQ(ReadText(dir.File("late")), "theirs");
  EXPECT_EQ(ListFolder(dir.path()), (Names{"font.ttf", "late"}));
}

TEST(AtomicOutput, LongNamesAndMissingFolders) {
  TempDir dir;
  std::string longName(250, 'n');
  EXPECT_TRUE(platform::WriteNewFile(dir.File(longName), AsBytes("x")));
  EXPECT_EQ(ReadText(dir.File(longName)), "x");
  int error = 0;
  EXPECT_FALSE(platform::WriteNewFile(dir.File("none/x"), AsBytes("x"), &error));
  EXPECT_EQ(error, testsupport::kNoSuchFolder);

  platform::AtomicOutput out;
  ASSERT_TRUE(out.Begin(dir.File("patched")));
  ASSERT_TRUE(out.Write("abc", 3));
  EXPECT_FALSE(out.WriteAt(2, "xy", 2));  // past what was written
  EXPECT_FALSE(out.WriteAt(UINT64_MAX, "xy", 2));
  EXPECT_EQ(out.error(), EINVAL);
  EXPECT_FALSE(out.Commit());  // a failure sticks
  EXPECT_FALSE(testsupport::Exists(dir.File("patched")));
}

TEST(StagedFiles, NamesCarryTheirWriterAndOnlyTheyAreTakenForStaged) {
  using platform::StagedKind;
  std::string name = platform::StagedFileName("font.part-x.ttf", StagedKind::kHeld, "build-7", 4242, "abc123");
  EXPECT_EQ(name, ".font.part-x.ttf.part-build-7.h4242.abc123");
  auto parts = platform::ParseStagedFileName(name);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->host, "build-7");
  EXPECT_EQ(parts->process, 4242u);
  EXPECT_EQ(parts->kind, StagedKind::kHeld);
  parts = platform::ParseStagedFileName(".000.txt.part-_.p1.Zz09aa");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->kind, StagedKind::kClosed);
  // Plain names of earlier versions, other hidden files and damaged names
  // are never taken for staged files.
  for (const char* other : {".font.ttf.part-abcdef", "font.ttf.part-h.p1.abcdef", ".font.ttf.part-h.x1.abcdef",
                            ".font.ttf.part-h.p.abcdef", ".font.ttf.part-h.p1.abcde", ".font.ttf.part-h.p1x.abcdef",
                            ".font.ttf.part-h.o.st.p1.abcdef", ".font.ttf.part-h.p12345678901234567890.abcdef",
                            ".part-h.p1.abcdef", ".font.ttf.part-.p1.abcdef", ".font.ttf"}) {
    EXPECT_FALSE(platform::ParseStagedFileName(other)) << other;
  }
}

TEST(StagedFiles, LongNamesStayWithinTheNameLimit) {
  // A staged name carries the host and the process as well; the longest
  // name a folder takes still gets one.
  TempDir dir;
  std::string longName(255, 'n');
  EXPECT_TRUE(platform::ReplaceFile(dir.File(longName), AsBytes("x")));
  EXPECT_EQ(ReadText(dir.File(longName)), "x");
  EXPECT_EQ(ListFolder(dir.path()), Names{longName});
}

TEST(NewFiles, WriteNewFileAndCopyRefuseToReplace) {
  TempDir dir;
  int error = 0;
  ASSERT_TRUE(platform::WriteNewFile(dir.File("a"), AsBytes("first"), &error));
  EXPECT_FALSE(platform::WriteNewFile(dir.File("a"), AsBytes("second"), &error));
  EXPECT_EQ(error, EEXIST);
  EXPECT_EQ(ReadText(dir.File("a")), "first");

  std::string big(5 << 20, 'c');
  big[12345] = 'Q';
  WriteText(dir.File("big"), big);
  ASSERT_TRUE(platform::CopyFileNoReplace(dir.File("big"), dir.File("copy"), &error));
  EXPECT_EQ(ReadText(dir.File("copy")), big);
  EXPECT_FALSE(platform::CopyFileNoReplace(dir.File("a"), dir.File("copy"), &error));
  EXPECT_EQ(error, EEXIST);
  EXPECT_FALSE(platform::CopyFileNoReplace(dir.File("missing"), dir.File("c2"), &error));
  EXPECT_EQ(error, testsupport::kNoSuchFile);
  testsupport::MakeFolder(dir.File("sub"));
  EXPECT_FALSE(platform::CopyFileNoReplace(dir.File("sub"), dir.File("c3"), &error));  // a folder
  EXPECT_EQ(error, EISDIR);

  EXPECT_FALSE(platform::MoveNoReplace(dir.File("a"), dir.File("big"), &error));
  EXPECT_EQ(error, EEXIST);
  EXPECT_TRUE(platform::MoveNoReplace(dir.File("a"), dir.File("moved"), &error));
  EXPECT_EQ(ListFolder(dir.path()), (Names{"big", "copy", "moved", "sub"}));
  EXPECT_EQ(ReadText(dir.File("moved")), "first");
  EXPECT_EQ(ReadText(dir.File("big")), big);
}

TEST(NewFiles, ReplaceFileKeepsModeAndReplacesLinksNotTheirTargets) {
#if defined(_WIN32)
  GTEST_SKIP() << "POSIX modes and symbolic links; Win32Files.SettingsFilesAreReplacedWhole tests ReplaceFileW";
#else
  TempDir dir;
  std::string path = dir.File("Tool.ini");
  ASSERT_TRUE(platform::ReplaceFile(path, AsBytes("one")));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(platform::ReplaceFile(path, AsBytes("two")));
  EXPECT_EQ(ReadText(path), "two");
  EXPECT_EQ(ModeOf(path), 0600u);
  ASSERT_EQ(::symlink("Tool.ini", dir.File("link.ini").c_str()), 0);
  ASSERT_TRUE(platform::ReplaceFile(dir.File("link.ini"), AsBytes("three")));
  EXPECT_EQ(ReadText(path), "two");
  EXPECT_EQ(ReadText(dir.File("link.ini")), "three");
  struct stat info;
  ASSERT_EQ(::lstat(dir.File("link.ini").c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  int error = 0;
  EXPECT_FALSE(platform::ReplaceFile(dir.File("none/x"), AsBytes("x"), &error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(ListFolder(dir.path()), (Names{"Tool.ini", "link.ini"}));
#endif
}

// A work file has no name in any folder while it is used, so that a run
// killed at any moment leaves nothing behind.
TEST(WorkFiles, LeaveNoNameBehind) {
#if defined(_WIN32)
  GTEST_SKIP() << "a Windows work file keeps its name until its last handle closes; Win32Files.WorkFiles tests it";
#else
  TempDir dir;
  ScopedEnv tmp("TMPDIR", dir.path());
  EXPECT_EQ(platform::TempFolder(), dir.path());
  {
    platform::WorkFile work;
    ASSERT_TRUE(work.Create());
    EXPECT_EQ(work.name().rfind(dir.path() + "/emf", 0), 0u) << work.name();
    ASSERT_EQ(::write(work.fd(), "abc", 3), 3);
    EXPECT_EQ(testsupport::ReadText(work.path()), "abc");
    EXPECT_TRUE(ListFolder(dir.path()).empty());
  }
  ScopedEnv none("TMPDIR", "");
  EXPECT_EQ(platform::TempFolder(), "/tmp");
#endif
}

TEST(Paths, OneRuleForCuttingAndJoining) {
  EXPECT_EQ(platform::JoinPath("/a", "b.ini"), "/a/b.ini");
  EXPECT_EQ(platform::JoinPath("/", "b.ini"), "/b.ini");
  EXPECT_EQ(platform::JoinPath("", "b.ini"), "b.ini");
  EXPECT_EQ(platform::FolderOf("name"), ".");
  EXPECT_EQ(platform::FolderOf("/name"), "/");
  EXPECT_EQ(platform::FolderOf("/a/b/name"), "/a/b");
  EXPECT_EQ(platform::FolderPrefix("/a/b.ttf"), "/a/");
  EXPECT_EQ(platform::FolderPrefix("b.ttf"), "");
  EXPECT_EQ(platform::NameOf("/a/b.ttf"), "b.ttf");
  EXPECT_EQ(platform::NameOf("b.ttf"), "b.ttf");
  EXPECT_EQ(platform::LastSeparator("C:\\tools/sub\\x.exe", true), 12u);
  EXPECT_EQ(platform::LastSeparator("C:\\tools\\x.exe", false), std::string::npos);
}

TEST(ProgramFolder, ExecutableAndUserFolders) {
  std::string exe = platform::ExecutablePath();
  EXPECT_EQ(platform::FolderOf(exe), platform::ExecutableFolder());
  EXPECT_NE(exe.find("platform_tests"), std::string::npos);
#if defined(_WIN32)
  GTEST_SKIP() << "the per-user folder is under %APPDATA% there; Win32Files.ProgramFolder tests it";
#else
  TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", dir.File("cfg"));
  EXPECT_EQ(platform::UserSettingsFolder(), dir.File("cfg/marlowby"));
  struct stat info;
  EXPECT_EQ(::stat(dir.File("cfg/marlowby").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
#endif
}

}  // namespace
