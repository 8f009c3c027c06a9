// A file opened for reading by name, read at explicit offsets through
// positioned reads. Every checksum rule and table reader takes one.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace core {

// What Open reports for a path that names no regular file (a pipe, a FIFO, a
// device): such inputs are refused rather than read as empty or waited on.
// open(2) itself never fails with this code.
inline constexpr int kNotRegularFile = ESPIPE;

// " (not a regular file)" for kNotRegularFile, else nothing: what follows the
// error code in a message about an open that failed.
const char* OpenErrorNote(int error);

// The system's reason for an error code in plain words ("No such file or
// directory."), for a message's detail; "Not a regular file." for
// kNotRegularFile; empty for 0.
std::string ErrorReason(int error);

// The same as a note to follow a message's own text on its line:
// " (No such file or directory)"; " (not a regular file)" for
// kNotRegularFile; empty for 0.
std::string ReasonNote(int error);

// Which file a path named and how it was when it was opened. Two opens of the
// same, unchanged file have equal identities.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedSeconds = 0;
  int64_t modifiedNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

class ReadableFile {
 public:
  ReadableFile() = default;
  ~ReadableFile();
  ReadableFile(ReadableFile&& other) noexcept;
  ReadableFile& operator=(ReadableFile&& other) noexcept;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;

  // Opens an existing regular file for reading, without waiting on a FIFO.
  // On failure returns false and keeps the system error code in error()
  // (kNotRegularFile for anything but a regular file).
  bool Open(const std::string& path);
  void Close();

  bool is_open() const { return fd_ >= 0; }
  // The descriptor, for copies the system makes itself; -1 when closed.
  int fd() const { return fd_; }
  int error() const { return error_; }
  uint64_t size() const { return size_; }
  const FileIdentity& identity() const { return identity_; }

  // The first read that failed since Open: its system error code, or
  // ENODATA when the file ended before the size it had at Open. 0 when every
  // read so far delivered what the file promised.
  int read_error() const { return readError_; }

  // True while the open file keeps the size and time it had at Open and its
  // path still names it; false when it was truncated, written, replaced or
  // removed meanwhile.
  bool Unchanged() const;

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
  mutable int readError_ = 0;
  uint64_t size_ = 0;
  std::string path_;
  FileIdentity identity_;
};

// Reads a whole file into memory; false (with errno in *error) when it
// cannot be opened or a read fails.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, int* error = nullptr);

}  // namespace core
