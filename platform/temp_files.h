// Temporary work files in the system temporary folder (TMPDIR, else /tmp),
// named with the prefix "emf".
#pragma once

#include <string>

namespace platform {

std::string TempFolder();

// Creates a new empty work file and returns its path; empty on failure with
// errno in *error.
std::string MakeWorkFile(int* error = nullptr);

// A work file that removes itself unless released.
class WorkFile {
 public:
  WorkFile() = default;
  ~WorkFile();
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  bool Create(int* error = nullptr);
  const std::string& path() const { return path_; }
  // The file is kept (it was moved into place or handed on).
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

}  // namespace platform
