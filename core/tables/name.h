// The naming table 'name': a header, the name records, and the string
// storage that the records point into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/io/byte_cursor.h"
#include "core/io/readable_file.h"
#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

struct NameHeader {
  uint16_t format = 0;        // 0, or 1 with language-tag records
  uint16_t count = 0;         // name records that follow
  uint16_t stringOffset = 0;  // start of the string storage, from the start of the table

  static constexpr size_t kSize = 6;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.format, "format");
    io.U16(r.count, "count");
    io.U16(r.stringOffset, "stringOffset");
  }
};
static_assert(CheckedRecord<NameHeader>());

struct NameRecord {
  uint16_t platformID = 0;
  uint16_t encodingID = 0;
  uint16_t languageID = 0;
  uint16_t nameID = 0;
  uint16_t length = 0;  // string length in bytes
  uint16_t offset = 0;  // from the start of the string storage

  static constexpr size_t kSize = 12;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.platformID, "platformID");
    io.U16(r.encodingID, "encodingID");
    io.U16(r.languageID, "languageID");
    io.U16(r.nameID, "nameID");
    io.U16(r.length, "length");
    io.U16(r.offset, "offset");
  }
};
static_assert(CheckedRecord<NameRecord>());

// Format 1 follows its name records with a count of language tags and one
// record per tag; a tag's string is UTF-16BE in the string storage, and a
// name record's languageID of 0x8000 + n names tag n.
struct LangTagRecord {
  uint16_t length = 0;  // string length in bytes
  uint16_t offset = 0;  // from the start of the string storage

  static constexpr size_t kSize = 4;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.length, "length");
    io.U16(r.offset, "offset");
  }
};
static_assert(CheckedRecord<LangTagRecord>());

// Where the string storage would begin if it followed `count` records.
inline constexpr uint64_t NameRecordsEnd(uint64_t count) { return NameHeader::kSize + NameRecord::kSize * count; }
// ... and, in format 1, the count and `langTagCount` language-tag records.
inline constexpr uint64_t LangTagRecordsEnd(uint64_t count, uint64_t langTagCount) {
  return NameRecordsEnd(count) + 2 + LangTagRecord::kSize * langTagCount;
}

// A record's string, from the start of the table.
inline uint64_t NameStringStart(const NameHeader& header, const NameRecord& record) {
  return uint64_t{header.stringOffset} + record.offset;
}

// The header and the records that a table's bytes hold, counted by
// `rounding`: never more records than the bytes can hold, whatever the
// count says.
struct NameRecords {
  NameHeader header;
  std::vector<NameRecord> records;
  bool cut = false;  // the header or a record runs past the end of the bytes
  // Format 1 only: the count after the name records (as given) and the
  // language-tag records that the bytes hold, counted by `rounding`.
  uint16_t langTagCount = 0;
  std::vector<LangTagRecord> langTags;
  bool langTagsCut = false;  // the count or a tag record runs past the end
};
NameRecords ReadNameRecords(std::span<const uint8_t> table, Rounding rounding);

// The most bytes of one name string that the name dump shows and the Mac
// conversion converts; the rest of a longer string is left out.
inline constexpr size_t kNameStringLimit = 2048;

// The strings of a table's records, read from the file at `tableOffset`: in
// one piece where they lie close together, as in any ordinary table (one read
// instead of one per record), each on its own where the records reach much
// further than their strings' lengths add up to, so that the work stays in
// line with the records. At most `limit` bytes of each string are read.
class NameStrings {
 public:
  NameStrings(const ReadableFile& file, uint64_t tableOffset, const NameHeader& header,
              std::span<const NameRecord> records, size_t limit);
  // How many bytes of the record's string are read: its length, at most `limit`.
  size_t Want(const NameRecord& record) const { return record.length < limit_ ? record.length : limit_; }
  // Writes Want(record) bytes to `out`; bytes past the end of the file read as zero.
  void Read(const NameRecord& record, uint8_t* out) const;

 private:
  const ReadableFile& file_;
  uint64_t tableOffset_;
  NameHeader header_;
  size_t limit_;
  bool together_ = false;
  std::vector<uint8_t> strings_;  // from the start of the table, when `together_`
};

// Writes a header followed by its records (and, for format 1, the count
// and records of the language tags).
void WriteNameRecords(const NameHeader& header, std::span<const NameRecord> records, ByteWriter& writer,
                      std::span<const LangTagRecord> langTags = {});

}  // namespace core
