// The one work folder of a fuzz process: every input is written into it as
// the files a program would read, and it is emptied before the next input, so
// that no run sees what an earlier one left behind. It lies in the folder
// that SUITE_FUZZ_SCRATCH names, else in /dev/shm when the machine has it (no
// disk traffic), else in the temporary folder, and is removed when the
// process ends normally.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fuzzsupport {

class ScratchFolder {
 public:
  // The process's folder, made on first use.
  static ScratchFolder& Get();

  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const;

  // Removes everything inside the folder (the folder stays).
  void Clear() const;
  // Writes `bytes` as the file `name` in the folder; returns its path.
  std::string Write(std::string_view name, std::span<const uint8_t> bytes) const;
  std::string Write(std::string_view name, std::string_view text) const;

  ~ScratchFolder();

 private:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string path_;
};

// The bytes of a file, empty when it cannot be read.
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);

// Stops the process with a message when a property of the code under test
// does not hold, so that the fuzzer keeps the input (and the replay fails).
[[noreturn]] void Fail(const char* what);
inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace fuzzsupport
