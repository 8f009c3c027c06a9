// Big-endian fields of font files: the tag order key, the loads and stores
// beneath the reading cursor (core/io/byte_cursor.h), and the suite's one byte
// writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "core/io/byte_sink.h"

namespace core {

// A tag's four bytes taken as a big-endian number: the order of tags in a
// table directory.
inline uint32_t TagValue(const uint8_t tag[4]) {
  return (uint32_t{tag[0]} << 24) | (uint32_t{tag[1]} << 16) | (uint32_t{tag[2]} << 8) | tag[3];
}

// Plain loads and stores of big-endian numbers; the caller has checked the
// range. Tables and records are read through the cursor, not with these.
inline uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t LoadU32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

// The suite's one byte writer: big-endian numbers appended in memory, and a
// sink that the font builder and the table writers fill alike.
class ByteWriter : public ByteSink {
 public:
  void WriteU8(uint8_t v) { bytes_.push_back(v); }
  void WriteU16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
    bytes_.push_back(static_cast<uint8_t>(v));
  }
  void WriteU32(uint32_t v) {
    WriteU16(static_cast<uint16_t>(v >> 16));
    WriteU16(static_cast<uint16_t>(v));
  }
  void WriteBytes(std::span<const uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
  uint64_t size() const override { return bytes_.size(); }

  bool Append(std::span<const uint8_t> data) override {
    WriteBytes(data);
    return true;
  }
  // False, and nothing written, for bytes that reach past the end.
  bool Overwrite(uint64_t offset, std::span<const uint8_t> data) override;
  CopyStatus AppendFrom(const ReadableFile& file, uint64_t offset, uint64_t length, uint64_t* copied) override;
  int error() const override { return 0; }
  std::vector<uint8_t>& bytes() { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// The four tag bytes as text, the way the tools print and compare tags.
inline std::string TagText(const uint8_t tag[4]) { return std::string(reinterpret_cast<const char*>(tag), 4); }

}  // namespace core
