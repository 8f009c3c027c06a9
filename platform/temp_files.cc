#include "platform/temp_files.h"

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

std::string MakeWorkFile(int* error) {
  std::string pattern = TempFolder() + "/emfXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    if (error) *error = errno;
    return std::string();
  }
  ::close(fd);
  if (error) *error = 0;
  return name.data();
}

WorkFile::~WorkFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

bool WorkFile::Create(int* error) {
  if (!path_.empty()) ::unlink(path_.c_str());
  path_ = MakeWorkFile(error);
  return !path_.empty();
}

}  // namespace platform
