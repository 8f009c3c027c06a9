// The character to glyph index mapping table 'cmap': its header, the
// encoding records, the opening fields of its subtables, and the subtable
// formats that the Mac conversions read (2) and write (4).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/io/byte_cursor.h"
#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

struct CmapHeader {
  uint16_t version = 0;    // 0
  uint16_t numTables = 0;  // encoding records that follow

  static constexpr size_t kSize = 4;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.version, "version");
    io.U16(r.numTables, "numTables");
  }
};
static_assert(CheckedRecord<CmapHeader>());

struct EncodingRecord {
  uint16_t platformID = 0;
  uint16_t encodingID = 0;
  uint32_t subtableOffset = 0;  // from the start of the cmap table

  static constexpr size_t kSize = 8;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.platformID, "platformID");
    io.U16(r.encodingID, "encodingID");
    io.U32(r.subtableOffset, "subtableOffset", FieldType::kUInt32, kReported, "offset");
  }
};
static_assert(CheckedRecord<EncodingRecord>());

// Where the encoding record `index` lies, from the start of the table.
inline constexpr uint64_t EncodingRecordAt(uint64_t index) { return CmapHeader::kSize + EncodingRecord::kSize * index; }

// The header and the encoding records that a table's bytes hold, counted
// by `rounding`.
struct CmapRecords {
  CmapHeader header;
  std::vector<EncodingRecord> records;
};
CmapRecords ReadCmapRecords(std::span<const uint8_t> table, Rounding rounding);

// The first field of every subtable.
inline uint16_t SubtableFormat(const ByteCursor& table, uint64_t subtableOffset) { return table.U16At(subtableOffset); }

// The opening of subtable formats 0, 2, 4 and 6: a 16-bit length.
struct SubtableHead16 {
  uint16_t format = 0;
  uint16_t length = 0;  // of the whole subtable, these fields included

  static constexpr size_t kSize = 4;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.format, "format");
    io.U16(r.length, "length");
  }
};
static_assert(CheckedRecord<SubtableHead16>());

// The opening of subtable formats 8, 10 and 12: a 32-bit length.
struct SubtableHead32 {
  uint16_t format = 0;
  uint16_t reserved = 0;
  uint32_t length = 0;  // of the whole subtable, these fields included

  static constexpr size_t kSize = 8;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.format, "format");
    io.U16(r.reserved, "reserved", FieldType::kReserved);
    io.U32(r.length, "length");
  }
};
static_assert(CheckedRecord<SubtableHead32>());

// Format 2, high-byte mapping through table: after format, length and
// language come 256 subHeaderKeys (8 x a subheader's index), then the
// subheaders, then the glyph index array.
struct Format2SubHeader {
  uint16_t firstCode = 0;      // first valid low byte
  uint16_t entryCount = 0;     // valid low bytes from firstCode on
  uint16_t idDelta = 0;        // added to a non-zero glyph index, modulo 65536
  uint16_t idRangeOffset = 0;  // from this field to the glyph index of firstCode

  static constexpr size_t kSize = 8;
  static constexpr uint64_t kIdRangeOffsetAt = 6;  // where idRangeOffset lies in the record
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.firstCode, "firstCode");
    io.U16(r.entryCount, "entryCount");
    io.U16(r.idDelta, "idDelta");
    io.U16(r.idRangeOffset, "idRangeOffset");
  }
};
static_assert(CheckedRecord<Format2SubHeader>());

// A format 2 subtable inside the bytes of its cmap table.
struct Format2Subtable {
  ByteCursor table;                           // the whole cmap table
  uint64_t subHeaderBase = 0;                 // offset of subHeaders[0] in the table
  std::array<uint16_t, 256> subHeaderKeys{};
};

inline constexpr uint64_t kFormat2KeysAt = 6;         // after format, length, language
inline constexpr uint64_t kFormat2SubHeadersAt = 518;  // after the 256 keys

// Reads the fields before the subheaders of the subtable at `offset` (bytes
// beyond the table read as zero).
Format2Subtable ReadFormat2(std::span<const uint8_t> table, uint64_t offset);

// The glyph the subtable gives the two-byte code `code` (0 to 0xFFFF): the
// high byte picks a subheader through its key (a one-byte code goes through
// key 0 with the byte itself as low byte); a low byte outside the
// subheader's range, or a zero entry, gives 0; otherwise the entry plus
// idDelta, modulo 65536.
uint16_t Format2Glyph(const Format2Subtable& subtable, uint32_t code);

// Format 4, segment mapping to delta values: the fields before endCode[].
struct Format4Head {
  uint16_t format = 4;
  uint16_t length = 0;
  uint16_t language = 0;
  uint16_t segCountX2 = 0;
  uint16_t searchRange = 0;    // 2 x the largest power of two not above segCount
  uint16_t entrySelector = 0;  // log2 of that power of two
  uint16_t rangeShift = 0;     // segCountX2 - searchRange

  static constexpr size_t kSize = 14;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.format, "format");
    io.U16(r.length, "length");
    io.U16(r.language, "language");
    io.U16(r.segCountX2, "segCountX2");
    io.U16(r.searchRange, "searchRange");
    io.U16(r.entrySelector, "entrySelector");
    io.U16(r.rangeShift, "rangeShift");
  }
};
static_assert(CheckedRecord<Format4Head>());

// The header of a format 4 subtable with `segCount` segments and
// `glyphCount` entries in its glyph index array (length cut to 16 bits).
Format4Head MakeFormat4Head(uint32_t segCount, uint32_t glyphCount);

}  // namespace core
