// A temporary folder per test, removed with everything in it at the end.
#pragma once

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
std::vector<uint8_t> ReadBytes(const std::string& path);  // empty when missing
std::string ReadText(const std::string& path);
bool Exists(const std::string& path);
// Names of the files in a folder, sorted.
std::vector<std::string> ListFolder(const std::string& path);

// Runs a command line through the shell; returns its exit status (or -1)
// and collects standard output and standard error.
struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};
CommandResult RunCommand(const std::string& commandLine);

// Makes a folder (its parent must exist).
void MakeFolder(const std::string& path);

// Sets an environment variable for one test and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::string old_;
  bool hadOld_ = false;
};

// The variable that names the system's temporary folder.
#if defined(_WIN32)
inline constexpr const char* kTempFolderVariable = "TMP";
#else
inline constexpr const char* kTempFolderVariable = "TMPDIR";
#endif

// The codes the platform layer reports when a file, or a folder on the way
// to it, is missing, and when a file stands where a folder should.
#if defined(_WIN32)
inline constexpr int kNoSuchFile = 2;    // ERROR_FILE_NOT_FOUND
inline constexpr int kNoSuchFolder = 3;  // ERROR_PATH_NOT_FOUND
inline constexpr int kNotAFolder = 3;    // ERROR_PATH_NOT_FOUND
#else
inline constexpr int kNoSuchFile = ENOENT;
inline constexpr int kNoSuchFolder = ENOENT;
inline constexpr int kNotAFolder = ENOTDIR;
#endif

// A program's file name on this system ("quillet", "quillet.exe").
#if defined(_WIN32)
inline std::string ProgramFile(const std::string& name) { return name + ".exe"; }
#else
inline std::string ProgramFile(const std::string& name) { return name; }
#endif

// Folder of the built programs (set by the build as SUITE_BIN_DIR).
std::string BinFolder();
// A system font if the machine has it, else empty.
std::string SystemFont(const std::string& path);
// The Python with fontTools (Debian's python3).
std::string FontToolsPython();

}  // namespace testsupport
