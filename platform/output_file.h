// Files the suite writes. A written file is always new: it is built in a
// temporary file beside its destination and moved into place only when
// complete, with a move that refuses to replace, so a failed command leaves
// no empty or partial output and never touches a file that exists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform {

class AtomicOutput {
 public:
  AtomicOutput() = default;
  ~AtomicOutput();  // removes the temporary file unless committed
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  // Creates the temporary file in the destination's folder. Fails with
  // EEXIST when the destination exists already.
  bool Begin(const std::string& destination);

  // Appends bytes (buffered); the first failure sticks and is kept in error().
  bool Write(const void* data, size_t size);
  bool Write(std::span<const uint8_t> bytes) { return Write(bytes.data(), bytes.size()); }
  // Overwrites bytes already written (for fields patched at the end).
  bool WriteAt(uint64_t offset, const void* data, size_t size);

  // Flushes, closes and moves the file into place without replacing one that
  // appeared meanwhile. After a failure the temporary file is gone.
  bool Commit();
  // Drops the temporary file.
  void Abandon();

  int error() const { return error_; }
  uint64_t size() const { return written_; }
  const std::string& destination() const { return destination_; }

 private:
  bool Flush();

  std::string destination_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;
  uint64_t written_ = 0;
  std::string buffer_;
};

// Writes a whole new file at once; false with errno in *error on failure
// (EEXIST when the file exists). Nothing is left behind on failure.
bool WriteNewFile(const std::string& path, std::span<const uint8_t> bytes, int* error = nullptr);

// Replaces a file's content atomically (temporary file and rename). For the
// files the suite may replace freely: settings files and text files. A
// symbolic link is kept and the file it points to replaced.
bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, int* error = nullptr);

// Copies a file to a new name, refusing to replace an existing one.
bool CopyFileNoReplace(const std::string& from, const std::string& to, int* error = nullptr);

// Moves a finished file into place, refusing to replace (rename without
// replace, or link and unlink where the file system lacks it).
bool MoveNoReplace(const std::string& from, const std::string& to, int* error = nullptr);

bool FileExists(const std::string& path);

// The folder part of a path (up to its last '/'), "." when there is none.
std::string FolderOf(const std::string& path);

}  // namespace platform
