#include "core/tables/cmap.h"

#include "core/sfnt/sfnt_records.h"

namespace core {

CmapRecords ReadCmapRecords(std::span<const uint8_t> table, Rounding rounding) {
  CmapRecords read;
  ByteCursor cursor(table);
  read.header = ReadRecord<CmapHeader>(cursor);
  uint64_t present =
      RecordsThatFit(table.size(), CmapHeader::kSize, read.header.numTables, EncodingRecord::kSize, rounding);
  read.records.reserve(static_cast<size_t>(present));
  for (uint64_t n = 0; n < present; ++n) read.records.push_back(ReadRecord<EncodingRecord>(cursor));
  return read;
}

Format2Subtable ReadFormat2(std::span<const uint8_t> table, uint64_t offset) {
  Format2Subtable subtable;
  subtable.table = ByteCursor(table);
  subtable.subHeaderBase = offset + kFormat2SubHeadersAt;
  ByteCursor keys(table, offset + kFormat2KeysAt);
  for (uint16_t& key : subtable.subHeaderKeys) keys.ReadU16(&key);
  return subtable;
}

uint16_t Format2Glyph(const Format2Subtable& subtable, uint32_t code) {
  uint32_t high = (code >> 8) & 0xFF;
  uint32_t low = code & 0xFF;
  uint64_t at = subtable.subHeaderBase + subtable.subHeaderKeys[high];
  ByteCursor cursor(subtable.table.bytes(), at);
  Format2SubHeader sub = ReadRecord<Format2SubHeader>(cursor);
  if (low < sub.firstCode || low >= uint32_t{sub.firstCode} + sub.entryCount) return 0;
  uint16_t entry =
      subtable.table.U16At(at + Format2SubHeader::kIdRangeOffsetAt + sub.idRangeOffset + 2 * (low - sub.firstCode));
  if (entry == 0) return 0;
  return static_cast<uint16_t>(entry + sub.idDelta);
}

Format4Head MakeFormat4Head(uint32_t segCount, uint32_t glyphCount) {
  Format4Head head;
  head.length = static_cast<uint16_t>(16 + 8 * segCount + 2 * glyphCount);
  head.segCountX2 = static_cast<uint16_t>(2 * segCount);
  SearchFields search = BinarySearchFields(segCount, 2);
  head.searchRange = search.searchRange;
  head.entrySelector = search.entrySelector;
  head.rangeShift = search.rangeShift;
  return head;
}

}  // namespace core
