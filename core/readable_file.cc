#include "core/readable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace core {

ReadableFile::~ReadableFile() { Close(); }

ReadableFile::ReadableFile(ReadableFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_), size_(other.size_) {}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    error_ = other.error_;
    size_ = other.size_;
  }
  return *this;
}

bool ReadableFile::Open(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return false;
  }
  struct stat info;
  if (::fstat(fd_, &info) != 0) {
    error_ = errno;
    Close();
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    error_ = EISDIR;
    Close();
    return false;
  }
  size_ = S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size) : 0;
  error_ = 0;
  return true;
}

void ReadableFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

size_t ReadableFile::ReadAt(uint64_t offset, void* out, size_t count) const {
  if (fd_ < 0 || offset >= size_) return 0;
  if (count > size_ - offset) count = static_cast<size_t>(size_ - offset);
  auto* dest = static_cast<char*>(out);
  size_t done = 0;
  while (done < count) {
    ssize_t got = ::pread(fd_, dest + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

size_t ReadableFile::ReadAtZeroFilled(uint64_t offset, void* out, size_t count) const {
  size_t got = ReadAt(offset, out, count);
  if (got < count) std::memset(static_cast<char*>(out) + got, 0, count - got);
  return got;
}

std::vector<uint8_t> ReadableFile::ReadRange(uint64_t offset, uint64_t count) const {
  std::vector<uint8_t> bytes;
  if (offset >= size_) return bytes;
  uint64_t available = size_ - offset;
  if (count > available) count = available;
  bytes.resize(static_cast<size_t>(count));
  bytes.resize(ReadAt(offset, bytes.data(), bytes.size()));
  return bytes;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, int* error) {
  ReadableFile file;
  if (!file.Open(path)) {
    if (error) *error = file.error();
    return false;
  }
  *bytes = file.ReadRange(0, file.size());
  if (error) *error = 0;
  return true;
}

}  // namespace core
