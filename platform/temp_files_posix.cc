#include "platform/temp_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {

std::string TempFolder() {
  const char* folder = std::getenv("TMPDIR");
  if (folder && *folder) return folder;
  return "/tmp";
}

WorkFile::~WorkFile() { Close(); }

void WorkFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  name_.clear();
}

bool WorkFile::Create(int* error) {
  Close();
  std::string pattern = TempFolder() + "/emfXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = errno;
    return false;
  }
  ::unlink(name.data());
  fd_ = fd;
  name_ = name.data();
  if (error) *error = 0;
  return true;
}

std::string WorkFile::path() const { return fd_ < 0 ? std::string() : "/proc/self/fd/" + std::to_string(fd_); }

}  // namespace platform
