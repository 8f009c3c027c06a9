// Big-endian fields of font files: the in-place byte reversal every tool
// applies to a raw field, the tag order key, and small typed readers and
// writers over byte spans.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace core {

// Reverses the first `length` bytes of `buffer` in place. Returns 1, or 0
// (leaving the buffer untouched) when length is above 1024. Length 0 is a
// no-op that succeeds.
int ReverseBytes(void* buffer, unsigned length);

// A tag's four bytes taken as a big-endian number: the order of tags in a
// table directory.
inline uint32_t TagValue(const uint8_t tag[4]) {
  return (uint32_t{tag[0]} << 24) | (uint32_t{tag[1]} << 16) | (uint32_t{tag[2]} << 8) | tag[3];
}

// Plain loads and stores of big-endian numbers; the caller has checked the range.
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

// A bounds-checked reading cursor over bytes. Every read says whether it
// succeeded; a failed read leaves the value zero and the cursor where it was.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes, size_t offset = 0)
      : bytes_(bytes), offset_(offset) {}

  size_t offset() const { return offset_; }
  size_t size() const { return bytes_.size(); }
  size_t remaining() const { return offset_ < bytes_.size() ? bytes_.size() - offset_ : 0; }
  bool Seek(size_t offset) {
    if (offset > bytes_.size()) return false;
    offset_ = offset;
    return true;
  }
  bool Skip(size_t count) {
    if (count > remaining()) return false;
    offset_ += count;
    return true;
  }

  bool ReadU8(uint8_t* value) {
    *value = 0;
    if (remaining() < 1) return false;
    *value = bytes_[offset_++];
    return true;
  }
  bool ReadU16(uint16_t* value) {
    *value = 0;
    if (remaining() < 2) return false;
    *value = LoadU16(bytes_.data() + offset_);
    offset_ += 2;
    return true;
  }
  bool ReadS16(int16_t* value) {
    uint16_t raw;
    bool ok = ReadU16(&raw);
    *value = static_cast<int16_t>(raw);
    return ok;
  }
  bool ReadU32(uint32_t* value) {
    *value = 0;
    if (remaining() < 4) return false;
    *value = LoadU32(bytes_.data() + offset_);
    offset_ += 4;
    return true;
  }
  bool ReadTag(uint8_t tag[4]) {
    std::memset(tag, 0, 4);
    if (remaining() < 4) return false;
    std::memcpy(tag, bytes_.data() + offset_, 4);
    offset_ += 4;
    return true;
  }
  bool ReadBytes(uint8_t* out, size_t count) {
    if (remaining() < count) return false;
    if (count) std::memcpy(out, bytes_.data() + offset_, count);
    offset_ += count;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t offset_;
};

// An appending writer of big-endian numbers.
class ByteWriter {
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
  void WriteTag(const uint8_t tag[4]) { bytes_.insert(bytes_.end(), tag, tag + 4); }
  void PatchU16(size_t at, uint16_t v) { StoreU16(bytes_.data() + at, v); }
  void PatchU32(size_t at, uint32_t v) { StoreU32(bytes_.data() + at, v); }
  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t>& bytes() { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// The four tag bytes as text, the way the tools print and compare tags.
inline std::string TagText(const uint8_t tag[4]) { return std::string(reinterpret_cast<const char*>(tag), 4); }

}  // namespace core
