#include "core/io/readable_file.h"

#include <cstring>
#include <utility>

namespace core {

const char* OpenErrorNote(int error) { return error == kNotRegularFile ? " (not a regular file)" : ""; }

std::string ReasonNote(int error) {
  if (error == 0 || error == kNotRegularFile) return OpenErrorNote(error);
  std::string reason = ErrorReason(error);
  if (!reason.empty() && reason.back() == '.') reason.pop_back();
  return reason.empty() ? reason : " (" + reason + ")";
}

ReadableFile::~ReadableFile() { Close(); }

ReadableFile::ReadableFile(ReadableFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      error_(other.error_),
      readError_(other.readError_),
      size_(other.size_),
      path_(std::move(other.path_)),
      identity_(other.identity_) {}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    error_ = other.error_;
    readError_ = other.readError_;
    size_ = other.size_;
    path_ = std::move(other.path_);
    identity_ = other.identity_;
  }
  return *this;
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
  if (file.read_error() != 0) {
    bytes->clear();
    if (error) *error = file.read_error();
    return false;
  }
  if (error) *error = 0;
  return true;
}

}  // namespace core
