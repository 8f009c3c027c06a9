// Where the suite's writers put bytes: an output that appends, overwrites
// bytes it already holds, and copies ranges of a readable file. The file
// outputs of platform/ and the in-memory ByteWriter are both sinks, so one
// builder writes a font to a file or into memory alike.
#pragma once

#include <cstdint>
#include <span>

#include "core/io/readable_file.h"

namespace core {

enum class CopyStatus { kOk, kReadFailed, kWriteFailed };

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // The first failure sticks: every later call fails.
  virtual bool Append(std::span<const uint8_t> bytes) = 0;
  // Overwrites bytes already appended.
  virtual bool Overwrite(uint64_t offset, std::span<const uint8_t> bytes) = 0;
  // Appends the bytes of [offset, offset + length) that `file` holds;
  // *copied tells how many. A read that delivers less than the file's size
  // promises is a read failure.
  virtual CopyStatus AppendFrom(const ReadableFile& file, uint64_t offset, uint64_t length, uint64_t* copied) = 0;
  virtual uint64_t size() const = 0;
  // The system's error code of the first failure, or 0.
  virtual int error() const = 0;
};

}  // namespace core
