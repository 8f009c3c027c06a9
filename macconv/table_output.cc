#include "macconv/table_output.h"

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace macconv {

void MemoryTableOutput::Patch(uint64_t offset, std::span<const uint8_t> bytes) {
  if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset) return;
  std::memcpy(bytes_.data() + offset, bytes.data(), bytes.size());
}

FileTableOutput::~FileTableOutput() {
  if (fd_ >= 0) platform::files::CloseFile(fd_);
}

bool FileTableOutput::Open(int fd) {
  fd_ = platform::files::DuplicateEmptied(fd, &error_);
  if (fd_ < 0) return false;
  writer_.Attach(fd_);
  return true;
}

bool FileTableOutput::Close() {
  bool ok = fd_ >= 0 && writer_.Flush();
  if (int closeError = fd_ >= 0 ? platform::files::CloseFile(fd_) : 0; closeError != 0 && ok) {
    error_ = closeError;
    ok = false;
  }
  fd_ = -1;
  writer_.Detach();
  if (!ok && error() == 0) error_ = EBADF;
  return ok;
}

}  // namespace macconv
