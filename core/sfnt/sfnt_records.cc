#include "core/sfnt/sfnt_records.h"

#include "core/io/byte_cursor.h"

namespace core {

SearchFields BinarySearchFields(uint32_t count, uint32_t unitSize) {
  SearchFields fields;
  if (count == 0) return fields;
  uint32_t power = 1;
  uint16_t log2 = 0;
  while (power * 2 <= count) {
    power *= 2;
    ++log2;
  }
  fields.searchRange = static_cast<uint16_t>(unitSize * power);
  fields.entrySelector = log2;
  fields.rangeShift = static_cast<uint16_t>(unitSize * count - unitSize * power);
  return fields;
}

OffsetTable ReadOffsetTable(const ReadableFile& file, uint64_t fontOffset) {
  return DecodeRecord<OffsetTable>(file.ReadRange(fontOffset, OffsetTable::kSize));
}

CollectionHeader ReadCollectionHeader(const ReadableFile& file) {
  return DecodeRecord<CollectionHeader>(file.ReadRange(0, CollectionHeader::kSize));
}

std::vector<TableDirEntry> ReadTableDirectory(const ReadableFile& file, uint64_t fontOffset, uint16_t numTables,
                                              bool* complete) {
  uint64_t start = fontOffset + OffsetTable::kSize;
  std::vector<uint8_t> raw = file.ReadRange(start, TableDirEntry::kSize * uint64_t{numTables});
  uint64_t present = RecordsThatFit(raw.size(), 0, numTables, TableDirEntry::kSize, Rounding::kTouchingRecords);
  ByteCursor cursor(raw);
  std::vector<TableDirEntry> entries;
  entries.reserve(static_cast<size_t>(present));
  for (uint64_t i = 0; i < present; ++i) entries.push_back(ReadRecord<TableDirEntry>(cursor));
  if (complete) *complete = present == numTables && cursor.whole();
  return entries;
}

std::vector<uint32_t> ReadCollectionOffsets(const ReadableFile& file, uint32_t numFonts, bool* complete) {
  std::vector<uint8_t> raw = file.ReadRange(CollectionHeader::kSize, 4 * uint64_t{numFonts});
  uint64_t present = RecordsThatFit(raw.size(), 0, numFonts, 4, Rounding::kTouchingRecords);
  ByteCursor cursor(raw);
  std::vector<uint32_t> offsets(static_cast<size_t>(present));
  for (uint32_t& offset : offsets) cursor.ReadU32(&offset);
  if (complete) *complete = present == numFonts && cursor.whole();
  return offsets;
}

}  // namespace core
