// Temporary work files in the system temporary folder (TMPDIR, else /tmp),
// named with the prefix "emf". A work file loses its name as soon as it is
// made, so that nothing is left behind when a run is killed: it lives on
// through its descriptor until the WorkFile goes.
#pragma once

#include <string>

namespace platform {

std::string TempFolder();

class WorkFile {
 public:
  WorkFile() = default;
  ~WorkFile();
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  // False with errno in *error when no file can be made.
  bool Create(int* error = nullptr);
  // The name it was made under, for messages.
  const std::string& name() const { return name_; }
  // A path that opens the file again while it exists (for reading).
  std::string path() const;
  int fd() const { return fd_; }

 private:
  void Close();

  std::string name_;
  int fd_ = -1;
};

}  // namespace platform
