// A temporary folder per test, removed with everything in it at the end.
#pragma once

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

// Folder of the built programs (set by the build as SUITE_BIN_DIR).
std::string BinFolder();
// A system font if the machine has it, else empty.
std::string SystemFont(const std::string& path);
// The Python with fontTools (Debian's python3).
std::string FontToolsPython();

}  // namespace testsupport
