// A table file held in memory, read by offset: big-endian numbers whose bytes
// lie beyond the end of the table read as zero, so no offset or length from
// the file can reach past the bytes that are really there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_order.h"

namespace macconv {

class TableBytes {
 public:
  TableBytes() = default;
  explicit TableBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  uint64_t size() const { return bytes_.size(); }

  uint8_t U8(uint64_t offset) const { return offset < bytes_.size() ? bytes_[offset] : 0; }
  uint16_t U16(uint64_t offset) const {
    if (offset < bytes_.size() && bytes_.size() - offset >= 2) return core::LoadU16(bytes_.data() + offset);
    return static_cast<uint16_t>((U8(offset) << 8) | U8(offset + 1));
  }
  uint32_t U32(uint64_t offset) const {
    if (offset < bytes_.size() && bytes_.size() - offset >= 4) return core::LoadU32(bytes_.data() + offset);
    return (uint32_t{U16(offset)} << 16) | U16(offset + 2);
  }

  // The part of [offset, offset + count) that lies inside the table.
  std::span<const uint8_t> Clip(uint64_t offset, uint64_t count) const {
    if (offset >= bytes_.size()) return {};
    uint64_t available = bytes_.size() - offset;
    return bytes_.subspan(static_cast<size_t>(offset), static_cast<size_t>(count < available ? count : available));
  }

 private:
  std::span<const uint8_t> bytes_;
};

}  // namespace macconv
