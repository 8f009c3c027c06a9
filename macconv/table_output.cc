#include "macconv/table_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace macconv {
namespace {

constexpr size_t kBufferSize = 1 << 20;

bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset, int* error) {
  while (size > 0) {
    ssize_t put = ::pwrite(fd, data, size, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      *error = put < 0 ? errno : EIO;
      return false;
    }
    data += put;
    offset += static_cast<uint64_t>(put);
    size -= static_cast<size_t>(put);
  }
  return true;
}

}  // namespace

void MemoryTableOutput::Patch(uint64_t offset, std::span<const uint8_t> bytes) {
  if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset) return;
  std::memcpy(bytes_.data() + offset, bytes.data(), bytes.size());
}

FileTableOutput::~FileTableOutput() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileTableOutput::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
  if (fd_ < 0) {
    error_ = errno;
    return false;
  }
  buffer_.reserve(kBufferSize);
  return true;
}

bool FileTableOutput::Flush() {
  if (error_ != 0 || fd_ < 0) return false;
  if (buffer_.empty()) return true;
  if (!WriteAllAt(fd_, buffer_.data(), buffer_.size(), flushed_, &error_)) return false;
  flushed_ += buffer_.size();
  buffer_.clear();
  return true;
}

void FileTableOutput::Append(std::span<const uint8_t> bytes) {
  if (error_ != 0 || fd_ < 0) return;
  if (buffer_.size() + bytes.size() > kBufferSize) {
    if (!Flush()) return;
    if (bytes.size() >= kBufferSize) {
      if (WriteAllAt(fd_, bytes.data(), bytes.size(), flushed_, &error_)) {
        flushed_ += bytes.size();
        size_ += bytes.size();
      }
      return;
    }
  }
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  size_ += bytes.size();
}

void FileTableOutput::Patch(uint64_t offset, std::span<const uint8_t> bytes) {
  if (error_ != 0 || fd_ < 0) return;
  if (offset > size_ || bytes.size() > size_ - offset) {
    error_ = EINVAL;
    return;
  }
  // The part that is still in the buffer is patched there, the rest in the file.
  size_t done = 0;
  if (offset < flushed_) {
    size_t inFile = static_cast<size_t>(std::min<uint64_t>(bytes.size(), flushed_ - offset));
    if (!WriteAllAt(fd_, bytes.data(), inFile, offset, &error_)) return;
    done = inFile;
  }
  if (done < bytes.size()) {
    std::memcpy(buffer_.data() + (offset + done - flushed_), bytes.data() + done, bytes.size() - done);
  }
}

bool FileTableOutput::Close() {
  bool ok = Flush();
  if (fd_ >= 0 && ::close(fd_) != 0 && ok) {
    error_ = errno;
    ok = false;
  }
  fd_ = -1;
  if (!ok && error_ == 0) error_ = EBADF;
  return ok;
}

}  // namespace macconv
