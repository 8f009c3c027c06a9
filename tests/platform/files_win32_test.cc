// The Win32 side of the platform layer: UTF-8 names reach the file system
// as UTF-16, outputs never replace, settings files are replaced whole, work
// files come from the system's temporary folder, values go to the registry.
#include <io.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/io/readable_file.h"
#include "platform/output_file.h"
#include "platform/program_folder.h"
#include "platform/registry.h"
#include "platform/temp_files.h"
#include "platform/wide_text.h"
#include "tests/support/temp_dir.h"

#undef ReplaceFile  // windows.h's name for ReplaceFileA, not platform::ReplaceFile

namespace {

using testsupport::TempDir;

std::span<const uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Read(const std::string& path) {
  std::vector<uint8_t> bytes;
  return core::ReadWholeFile(path, &bytes) ? std::string(bytes.begin(), bytes.end()) : std::string("(unreadable)");
}

bool WideNameExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(Win32Files, JapaneseNamesAndMovesThatNeverReplace) {
  TempDir dir;
  const std::string name = dir.File("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.ttf");  // 日本語.ttf
  ASSERT_TRUE(platform::WriteNewFile(name, AsBytes("font")));
  EXPECT_TRUE(WideNameExists(platform::Widen(dir.path()) + L"/\u65E5\u672C\u8A9E.ttf"));
  EXPECT_EQ(Read(name), "font");
  int error = 0;
  EXPECT_FALSE(platform::WriteNewFile(name, AsBytes("other"), &error));
  EXPECT_EQ(error, EEXIST);

  ASSERT_TRUE(platform::WriteNewFile(dir.File("b"), AsBytes("b")));
  EXPECT_FALSE(platform::MoveNoReplace(dir.File("b"), name, &error));
  EXPECT_EQ(error, EEXIST);
  EXPECT_EQ(Read(name), "font");
  EXPECT_TRUE(platform::MoveNoReplace(dir.File("b"), dir.File("\xE3\x81\x8B.bin"), &error));  // か.bin
  EXPECT_EQ(Read(dir.File("\xE3\x81\x8B.bin")), "b");

  // A font held open by a reader can still be replaced by another program.
  core::ReadableFile held;
  ASSERT_TRUE(held.Open(name));
  EXPECT_TRUE(::DeleteFileW(platform::Widen(name).c_str()));
}

TEST(Win32Files, SettingsFilesAreReplacedWhole) {
  TempDir dir;
  std::string path = dir.File("Pellout.ini");
  ASSERT_TRUE(platform::ReplaceFile(path, AsBytes("one")));  // nothing there yet
  ASSERT_TRUE(platform::ReplaceFile(path, AsBytes("two")));
  EXPECT_EQ(Read(path), "two");
  {
    platform::ReplacementSet set;
    ASSERT_TRUE(set.Stage(dir.File("000.txt"), AsBytes("text")));
    ASSERT_TRUE(set.Stage(path, AsBytes("three")));
  }  // dropped: nothing replaced
  EXPECT_EQ(Read(path), "two");
  EXPECT_EQ(testsupport::ListFolder(dir.path()), std::vector<std::string>{"Pellout.ini"});
}

// The console tools name their text files relative to the current folder;
// a set replaces files named so as well as by full path.
TEST(Win32Files, RelativeNamesAreReplacedToo) {
  TempDir dir;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  ASSERT_TRUE(platform::ReplaceFile("Corvout.ini", AsBytes("one")));
  ASSERT_TRUE(platform::ReplaceFile("000.txt", AsBytes("a")));
  platform::ReplacementSet set;
  int error = 0;
  EXPECT_TRUE(set.Stage("000.txt", AsBytes("b")));
  EXPECT_TRUE(set.StageFirst("Corvout.ini", AsBytes("two")));
  EXPECT_TRUE(set.Commit(&error)) << error;
  EXPECT_EQ(set.placed(), 2u);
  EXPECT_TRUE(platform::ReplaceFile("Corvout.ini", AsBytes("three")));
  std::filesystem::current_path(before);
  EXPECT_EQ(Read(dir.File("000.txt")), "b");
  EXPECT_EQ(Read(dir.File("Corvout.ini")), "three");
  EXPECT_EQ(testsupport::ListFolder(dir.path()), (std::vector<std::string>{"000.txt", "Corvout.ini"}));
}

TEST(Win32Files, WorkFiles) {
  std::string name;
  {
    platform::WorkFile work;
    ASSERT_TRUE(work.Create());
    name = work.name();
    EXPECT_EQ(name.rfind(platform::TempFolder() + "\\emf", 0), 0u) << name;
    ASSERT_EQ(::_write(work.fd(), "abc", 3), 3);
    EXPECT_EQ(Read(work.path()), "abc");
  }
  EXPECT_FALSE(platform::FileExists(name));  // gone with its last handle
}

TEST(Win32Files, ProgramFolder) {
  std::string exe = platform::ExecutablePath();
  EXPECT_NE(exe.find("platform_tests.exe"), std::string::npos) << exe;
  EXPECT_EQ(platform::FolderOf(exe), platform::ExecutableFolder());
  EXPECT_EQ(platform::SettingsFolder(), platform::ExecutableFolder());  // writable in the build
}

TEST(Registry, TextAndNumbersWithTheirTypes) {
  namespace registry = platform::registry;
  const std::string myself = "C:\\\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB\\drumlin.exe";  // ツール
  ASSERT_TRUE(registry::WriteText(registry::kTolvaKey, "myself", myself));
  EXPECT_EQ(registry::ReadText(registry::kTolvaKey, "myself"), myself);
  ASSERT_TRUE(registry::WriteNumber(registry::kDrumlinKey, "nWidth", 640));
  EXPECT_EQ(registry::ReadNumber(registry::kDrumlinKey, "nWidth"), 640u);
  EXPECT_EQ(registry::ReadNumber(registry::kDrumlinKey, "no such value"), std::nullopt);
  EXPECT_EQ(registry::ReadNumber(registry::kTolvaKey, "myself"), std::nullopt);  // a text is no number

  // What another program reading the registry finds: REG_SZ with its zero, REG_DWORD.
  DWORD type = 0, size = 0;
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Marlowby\\tolva", L"myself", RRF_RT_ANY, &type, nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, (platform::Widen(myself).size() + 1) * sizeof(wchar_t));
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Marlowby\\Drumlin", L"nWidth", RRF_RT_ANY, &type, nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
}

}  // namespace
