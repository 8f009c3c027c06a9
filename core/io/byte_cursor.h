// The one way the suite reads big-endian data: a cursor over bytes in
// memory. Bytes past the end read as zero, the cursor always moves on by the
// width it read, and every read says whether it was whole, so a record cut
// short by the end of its input decodes with its missing fields as zero and
// its caller still learns that it was cut.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "core/io/byte_order.h"

namespace core {

class ByteCursor {
 public:
  ByteCursor() = default;
  explicit ByteCursor(std::span<const uint8_t> bytes, uint64_t offset = 0) : bytes_(bytes), offset_(offset) {}

  uint64_t offset() const { return offset_; }
  uint64_t size() const { return bytes_.size(); }
  uint64_t remaining() const { return offset_ < bytes_.size() ? bytes_.size() - offset_ : 0; }
  // True while every read so far was whole.
  bool whole() const { return whole_; }

  // Any offset; reads past the end give zeros.
  void Seek(uint64_t offset) { offset_ = offset; }
  void Skip(uint64_t count) { offset_ += count; }

  bool ReadU8(uint8_t* value) { return ReadBytes(value, 1); }
  bool ReadU16(uint16_t* value) {
    uint8_t raw[2];
    bool got = ReadBytes(raw, sizeof raw);
    *value = LoadU16(raw);
    return got;
  }
  bool ReadS16(int16_t* value) {
    uint16_t raw;
    bool got = ReadU16(&raw);
    *value = static_cast<int16_t>(raw);
    return got;
  }
  bool ReadU32(uint32_t* value) {
    uint8_t raw[4];
    bool got = ReadBytes(raw, sizeof raw);
    *value = LoadU32(raw);
    return got;
  }
  bool ReadTag(std::array<uint8_t, 4>* tag) { return ReadBytes(tag->data(), 4); }

  // `count` bytes into `out`, those past the end as zero.
  bool ReadBytes(uint8_t* out, size_t count) {
    uint64_t present = offset_ < bytes_.size() ? bytes_.size() - offset_ : 0;
    if (present > count) present = count;
    if (present) std::memcpy(out, bytes_.data() + offset_, static_cast<size_t>(present));
    if (present < count) std::memset(out + present, 0, count - static_cast<size_t>(present));
    offset_ += count;
    bool got = present == count;
    whole_ = whole_ && got;
    return got;
  }

  // Reads at an offset without moving the cursor.
  uint16_t U16At(uint64_t offset) const {
    ByteCursor at(bytes_, offset);
    uint16_t value;
    at.ReadU16(&value);
    return value;
  }
  uint32_t U32At(uint64_t offset) const {
    ByteCursor at(bytes_, offset);
    uint32_t value;
    at.ReadU32(&value);
    return value;
  }

  // The part of [offset, offset + count) that lies inside the bytes.
  std::span<const uint8_t> Clip(uint64_t offset, uint64_t count) const {
    if (offset >= bytes_.size()) return {};
    uint64_t available = bytes_.size() - offset;
    return bytes_.subspan(static_cast<size_t>(offset), static_cast<size_t>(count < available ? count : available));
  }
  std::span<const uint8_t> bytes() const { return bytes_; }

 private:
  std::span<const uint8_t> bytes_;
  uint64_t offset_ = 0;
  bool whole_ = true;
};

// How a record that the end of the input cuts short is counted.
enum class Rounding {
  kWholeRecords,    // only records that lie wholly inside count
  kTouchingRecords  // a record that begins inside counts; its missing bytes read as zero
};

// How many of `count` records of `recordSize` bytes, starting at `start`,
// an input of `available` bytes holds. A count from a file never drives a
// loop or an allocation past what the input really holds.
inline uint64_t RecordsThatFit(uint64_t available, uint64_t start, uint64_t count, uint64_t recordSize,
                               Rounding rounding) {
  if (start >= available || recordSize == 0) return 0;
  uint64_t bytes = available - start;
  uint64_t fit = rounding == Rounding::kWholeRecords ? bytes / recordSize : (bytes + recordSize - 1) / recordSize;
  return count < fit ? count : fit;
}

}  // namespace core
