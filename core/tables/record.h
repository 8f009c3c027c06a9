// Fixed-size records of the font tables, each declared once as a list of its
// fields in file order:
//
//   struct Hhea {
//     int16_t ascender = 0;  // distance from the baseline to the highest ascender
//     ...
//     static constexpr size_t kSize = 36;
//     template <typename Io, typename Self>
//     static constexpr void Fields(Io& io, Self& r) { io.U32(r.version); io.S16(r.ascender); ... }
//   };
//
// The same list drives the decoder (through the reading cursor), the encoder
// (through the writer) and a compile-time count of the record's bytes, which
// CheckedRecord compares with kSize where the record is declared. A field's
// call may go on with its OpenType name, type and flags, and `io.Since(v)`
// may stand between fields; those drive the named views (core/tables/fields.h)
// and are ignored here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "core/io/byte_cursor.h"
#include "core/io/byte_order.h"

namespace core {

// Reads each field through the cursor.
struct FieldReader {
  ByteCursor& cursor;
  constexpr void Since(uint32_t) {}
  template <typename... Note>
  void U8(uint8_t& v, Note...) { cursor.ReadU8(&v); }
  template <typename... Note>
  void U16(uint16_t& v, Note...) { cursor.ReadU16(&v); }
  template <typename... Note>
  void S16(int16_t& v, Note...) { cursor.ReadS16(&v); }
  template <typename... Note>
  void U32(uint32_t& v, Note...) { cursor.ReadU32(&v); }
  template <typename... Note>
  void S64(int64_t& v, Note...) {
    uint32_t high, low;
    cursor.ReadU32(&high);
    cursor.ReadU32(&low);
    v = static_cast<int64_t>((uint64_t{high} << 32) | low);
  }
  template <size_t N, typename... Note>
  void Bytes(std::array<uint8_t, N>& v, Note...) {
    cursor.ReadBytes(v.data(), N);
  }
};

// Appends each field big-endian.
struct FieldWriter {
  ByteWriter& writer;
  constexpr void Since(uint32_t) {}
  template <typename... Note>
  void U8(uint8_t v, Note...) { writer.WriteU8(v); }
  template <typename... Note>
  void U16(uint16_t v, Note...) { writer.WriteU16(v); }
  template <typename... Note>
  void S16(int16_t v, Note...) { writer.WriteU16(static_cast<uint16_t>(v)); }
  template <typename... Note>
  void U32(uint32_t v, Note...) { writer.WriteU32(v); }
  template <typename... Note>
  void S64(int64_t v, Note...) {
    writer.WriteU32(static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
    writer.WriteU32(static_cast<uint32_t>(v));
  }
  template <size_t N, typename... Note>
  void Bytes(const std::array<uint8_t, N>& v, Note...) {
    writer.WriteBytes(v);
  }
};

// Counts the bytes of the fields at compile time.
struct FieldCounter {
  size_t bytes = 0;
  constexpr void Since(uint32_t) {}
  template <typename... Note>
  constexpr void U8(uint8_t, Note...) { bytes += 1; }
  template <typename... Note>
  constexpr void U16(uint16_t, Note...) { bytes += 2; }
  template <typename... Note>
  constexpr void S16(int16_t, Note...) { bytes += 2; }
  template <typename... Note>
  constexpr void U32(uint32_t, Note...) { bytes += 4; }
  template <typename... Note>
  constexpr void S64(int64_t, Note...) { bytes += 8; }
  template <size_t N, typename... Note>
  constexpr void Bytes(const std::array<uint8_t, N>&, Note...) {
    bytes += N;
  }
};

template <typename Record>
constexpr size_t FieldBytes() {
  FieldCounter counter;
  const Record record{};
  Record::Fields(counter, record);
  return counter.bytes;
}

// True when the field list covers exactly kSize bytes.
template <typename Record>
constexpr bool CheckedRecord() {
  return FieldBytes<Record>() == Record::kSize;
}

// Decodes a record from the cursor's position; missing bytes read as zero.
// *whole tells whether the input held all of it.
template <typename Record>
Record ReadRecord(ByteCursor& cursor, bool* whole = nullptr) {
  Record record{};
  uint64_t start = cursor.offset();
  FieldReader reader{cursor};
  Record::Fields(reader, record);
  if (whole) *whole = start < cursor.size() && cursor.size() - start >= Record::kSize;
  return record;
}

// Decodes a record from the start of `bytes`.
template <typename Record>
Record DecodeRecord(std::span<const uint8_t> bytes, bool* whole = nullptr) {
  ByteCursor cursor(bytes);
  return ReadRecord<Record>(cursor, whole);
}

template <typename Record>
void WriteRecord(const Record& record, ByteWriter& writer) {
  FieldWriter fields{writer};
  Record::Fields(fields, record);
}

template <typename Record>
std::array<uint8_t, Record::kSize> EncodeRecord(const Record& record) {
  ByteWriter writer;
  WriteRecord(record, writer);
  std::array<uint8_t, Record::kSize> bytes{};
  std::memcpy(bytes.data(), writer.bytes().data(), Record::kSize);
  return bytes;
}

}  // namespace core
