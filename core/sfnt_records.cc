#include "core/sfnt_records.h"

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"

namespace core {


OffsetTable DecodeOffsetTable(const uint8_t* bytes) {
  OffsetTable table;
  table.versionMajor = LoadU16(bytes + 0);
  table.versionMinor = LoadU16(bytes + 2);
  table.numTables = LoadU16(bytes + 4);
  table.searchRange = LoadU16(bytes + 6);
  table.entrySelector = LoadU16(bytes + 8);
  table.rangeShift = LoadU16(bytes + 10);
  return table;
}

TableDirEntry DecodeTableDirEntry(const uint8_t* bytes) {
  TableDirEntry entry;
  std::memcpy(entry.tag.data(), bytes, 4);
  entry.checkSum = LoadU32(bytes + 4);
  entry.offset = LoadU32(bytes + 8);
  entry.length = LoadU32(bytes + 12);
  return entry;
}

CollectionHeader DecodeCollectionHeader(const uint8_t* bytes) {
  CollectionHeader header;
  std::memcpy(header.tag.data(), bytes, 4);
  header.version = LoadU32(bytes + 4);
  header.numFonts = LoadU32(bytes + 8);
  return header;
}

void EncodeOffsetTable(const OffsetTable& table, uint8_t* bytes) {
  StoreU16(bytes + 0, table.versionMajor);
  StoreU16(bytes + 2, table.versionMinor);
  StoreU16(bytes + 4, table.numTables);
  StoreU16(bytes + 6, table.searchRange);
  StoreU16(bytes + 8, table.entrySelector);
  StoreU16(bytes + 10, table.rangeShift);
}

void EncodeTableDirEntry(const TableDirEntry& entry, uint8_t* bytes) {
  std::memcpy(bytes, entry.tag.data(), 4);
  StoreU32(bytes + 4, entry.checkSum);
  StoreU32(bytes + 8, entry.offset);
  StoreU32(bytes + 12, entry.length);
}

OffsetTable ReadOffsetTable(const ReadableFile& file, uint64_t fontOffset) {
  uint8_t raw[OffsetTable::kSize];
  file.ReadAtZeroFilled(fontOffset, raw, sizeof raw);
  return DecodeOffsetTable(raw);
}

CollectionHeader ReadCollectionHeader(const ReadableFile& file) {
  uint8_t raw[CollectionHeader::kSize];
  file.ReadAtZeroFilled(0, raw, sizeof raw);
  return DecodeCollectionHeader(raw);
}

// How many records of recordSize starting at `start` touch the file at all.
static uint64_t RecordsInsideFile(const ReadableFile& file, uint64_t start, uint64_t count,
                                  uint64_t recordSize) {
  if (start >= file.size()) return 0;
  uint64_t bytes = file.size() - start;
  return std::min(count, (bytes + recordSize - 1) / recordSize);
}

std::vector<TableDirEntry> ReadTableDirectory(const ReadableFile& file, uint64_t fontOffset,
                                              uint16_t numTables, bool* complete) {
  uint64_t start = fontOffset + OffsetTable::kSize;
  uint64_t present = RecordsInsideFile(file, start, numTables, TableDirEntry::kSize);
  std::vector<uint8_t> raw(static_cast<size_t>(present * TableDirEntry::kSize));
  size_t got = file.ReadAtZeroFilled(start, raw.data(), raw.size());
  std::vector<TableDirEntry> entries;
  entries.reserve(static_cast<size_t>(present));
  for (uint64_t i = 0; i < present; ++i) entries.push_back(DecodeTableDirEntry(raw.data() + i * TableDirEntry::kSize));
  if (complete) *complete = present == numTables && got == raw.size();
  return entries;
}

std::vector<uint32_t> ReadCollectionOffsets(const ReadableFile& file, uint32_t numFonts, bool* complete) {
  uint64_t present = RecordsInsideFile(file, CollectionHeader::kSize, numFonts, 4);
  std::vector<uint8_t> raw(static_cast<size_t>(present * 4));
  size_t got = file.ReadAtZeroFilled(CollectionHeader::kSize, raw.data(), raw.size());
  std::vector<uint32_t> offsets;
  offsets.reserve(static_cast<size_t>(present));
  for (uint64_t i = 0; i < present; ++i) offsets.push_back(LoadU32(raw.data() + i * 4));
  if (complete) *complete = present == numFonts && got == raw.size();
  return offsets;
}

}  // namespace core
