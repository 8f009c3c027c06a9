// A file opened for reading by name, read at explicit offsets through
// positioned reads. Every checksum rule and table reader takes one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace core {

class ReadableFile {
 public:
  ReadableFile() = default;
  ~ReadableFile();
  ReadableFile(ReadableFile&& other) noexcept;
  ReadableFile& operator=(ReadableFile&& other) noexcept;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;

  // Opens an existing file for reading. On failure returns false and keeps
  // the system error code in error().
  bool Open(const std::string& path);
  void Close();

  bool is_open() const { return fd_ >= 0; }
  // The descriptor, for copies the system makes itself; -1 when closed.
  int fd() const { return fd_; }
  int error() const { return error_; }
  uint64_t size() const { return size_; }

  // Reads up to `count` bytes at `offset` into `out`; returns how many bytes
  // the file held there (fewer at its end, 0 past it). Bytes not read are
  // left as they were.
  size_t ReadAt(uint64_t offset, void* out, size_t count) const;

  // Reads `count` bytes at `offset`; bytes past the end of the file are zero.
  // Returns how many bytes the file really held.
  size_t ReadAtZeroFilled(uint64_t offset, void* out, size_t count) const;

  // The bytes at [offset, offset + count) clipped to the file's end.
  std::vector<uint8_t> ReadRange(uint64_t offset, uint64_t count) const;

 private:
  int fd_ = -1;
  int error_ = 0;
  uint64_t size_ = 0;
};

// Reads a whole file into memory; false (with errno in *error) when it
// cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, int* error = nullptr);

}  // namespace core
