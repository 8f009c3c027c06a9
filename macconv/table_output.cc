#include "macconv/table_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace macconv {

void MemoryTableOutput::Patch(uint64_t offset, std::span<const uint8_t> bytes) {
  if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset) return;
  std::memcpy(bytes_.data() + offset, bytes.data(), bytes.size());
}

FileTableOutput::~FileTableOutput() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileTableOutput::Open(int fd) {
  fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (fd_ < 0 || ::ftruncate(fd_, 0) != 0) {
    error_ = errno;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return false;
  }
  writer_.Attach(fd_);
  return true;
}

bool FileTableOutput::Close() {
  bool ok = fd_ >= 0 && writer_.Flush();
  if (fd_ >= 0 && ::close(fd_) != 0 && ok) {
    error_ = errno;
    ok = false;
  }
  fd_ = -1;
  writer_.Detach();
  if (!ok && error() == 0) error_ = EBADF;
  return ok;
}

}  // namespace macconv
