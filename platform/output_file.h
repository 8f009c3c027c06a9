// Files the suite writes. A written file is always new: it is built in a
// file without a name in its destination's folder (a hidden temporary file
// where the file system cannot make one) and linked or moved into place only
// when complete, in a way that refuses to replace, so a failed or killed
// command leaves no empty or partial output and never touches a file that
// exists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/io/byte_sink.h"
#include "core/io/readable_file.h"

namespace platform {

using CopyStatus = core::CopyStatus;

// The suite's one way of writing a file: bytes appended to an open file
// through one large buffer, patches of bytes already written (in the buffer
// or in the file), and ranges of a readable file copied in large blocks.
// The first failure sticks and is kept in error(). The owner opens and
// closes the descriptor.
class BufferedWriter {
 public:
  void Attach(int fd);
  void Detach();

  bool Write(const void* data, size_t size);
  // Overwrites bytes already written.
  bool WriteAt(uint64_t offset, const void* data, size_t size);
  // Appends the bytes of [offset, offset + length) that `file` holds;
  // *copied tells how many. A read that delivers less than the file's size
  // promises is a read failure.
  CopyStatus CopyFrom(const core::ReadableFile& file, uint64_t offset, uint64_t length, uint64_t* copied);
  bool Flush();

  int error() const { return error_; }
  uint64_t size() const { return written_; }

 private:
  int fd_ = -1;
  int error_ = 0;
  uint64_t written_ = 0;  // bytes appended
  uint64_t flushed_ = 0;  // bytes already in the file
  std::vector<uint8_t> buffer_;
};

class AtomicOutput : public core::ByteSink {
 public:
  AtomicOutput() = default;
  ~AtomicOutput() override;  // removes the temporary file unless committed
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
  // Appends what `file` holds of [offset, offset + length); see BufferedWriter.
  CopyStatus CopyFrom(const core::ReadableFile& file, uint64_t offset, uint64_t length, uint64_t* copied);

  // Flushes, closes and moves the file into place without replacing one that
  // appeared meanwhile. After a failure the temporary file is gone.
  bool Commit();
  // Drops the temporary file.
  void Abandon();

  // The same as a sink of bytes.
  bool Append(std::span<const uint8_t> bytes) override { return Write(bytes); }
  bool Overwrite(uint64_t offset, std::span<const uint8_t> bytes) override {
    return WriteAt(offset, bytes.data(), bytes.size());
  }
  CopyStatus AppendFrom(const core::ReadableFile& file, uint64_t offset, uint64_t length, uint64_t* copied) override {
    return CopyFrom(file, offset, length, copied);
  }

  int error() const override { return error_ ? error_ : writer_.error(); }
  uint64_t size() const override { return writer_.size(); }
  const std::string& destination() const { return destination_; }

 private:
  std::string destination_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;  // failures outside the writer: creating, flushing to disk, moving
  BufferedWriter writer_;
};

// Writes a whole new file at once; false with errno in *error on failure
// (EEXIST when the file exists). Nothing is left behind on failure.
bool WriteNewFile(const std::string& path, std::span<const uint8_t> bytes, int* error = nullptr);

// Replaces a file's content atomically (temporary file and rename). For the
// files the suite may replace freely: settings files and text files. The
// name is replaced, never written through: a symbolic link there becomes the
// new file and the file it pointed to is left as it was.
bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, int* error = nullptr);

// Files replaced as one set: each is written in full beside its destination
// first, and only when all are written do they take their names, in the
// order staged (so the file that refers to the others goes last). A set
// dropped before Commit leaves every destination as it was.
class ReplacementSet {
 public:
  ReplacementSet() = default;
  ~ReplacementSet();  // removes what is staged and not yet in place
  ReplacementSet(const ReplacementSet&) = delete;
  ReplacementSet& operator=(const ReplacementSet&) = delete;

  // False with errno in *error when the new content cannot be written.
  bool Stage(const std::string& path, std::span<const uint8_t> bytes, int* error = nullptr);
  // The same for a file that takes its name before every file staged so far.
  bool StageFirst(const std::string& path, std::span<const uint8_t> bytes, int* error = nullptr);
  // Moves the staged files into place; false when a move failed (what is
  // staged after it is removed).
  bool Commit(int* error = nullptr);
  // How many files Commit has moved into place.
  size_t placed() const { return placed_; }

 private:
  struct Staged {
    std::string path;
    std::string temporary;
  };
  std::vector<Staged> staged_;
  size_t placed_ = 0;
};

// Copies a file to a new name, refusing to replace an existing one.
bool CopyFileNoReplace(const std::string& from, const std::string& to, int* error = nullptr);

// Moves a finished file into place, refusing to replace (rename without
// replace, or link and unlink where the file system lacks it).
bool MoveNoReplace(const std::string& from, const std::string& to, int* error = nullptr);

bool FileExists(const std::string& path);

}  // namespace platform
