// The sfnt container records: offset table, table directory entry and
// collection header, decoded into host order. Tags keep their file bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/io/readable_file.h"
#include "core/tables/record.h"

namespace core {

struct OffsetTable {
  uint16_t versionMajor = 0;   // sfnt version, the half before the point
  uint16_t versionMinor = 0;   // sfnt version, the half after the point
  uint16_t numTables = 0;      // directory entries that follow
  uint16_t searchRange = 0;    // read and shown, never checked; set anew when a font is rewritten
  uint16_t entrySelector = 0;  // read and shown, never checked; set anew when a font is rewritten
  uint16_t rangeShift = 0;     // read and shown, never checked; set anew when a font is rewritten

  static constexpr size_t kSize = 12;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.versionMajor);
    io.U16(r.versionMinor);
    io.U16(r.numTables);
    io.U16(r.searchRange);
    io.U16(r.entrySelector);
    io.U16(r.rangeShift);
  }
};
static_assert(CheckedRecord<OffsetTable>());

struct TableDirEntry {
  std::array<uint8_t, 4> tag{};  // file order, never reversed
  uint32_t checkSum = 0;
  uint32_t offset = 0;  // from the beginning of the file, also in a collection
  uint32_t length = 0;  // without padding

  static constexpr size_t kSize = 16;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.Bytes(r.tag);
    io.U32(r.checkSum);
    io.U32(r.offset);
    io.U32(r.length);
  }
};
static_assert(CheckedRecord<TableDirEntry>());

// The tag a collection's file begins with.
inline constexpr std::array<uint8_t, 4> kCollectionTag{'t', 't', 'c', 'f'};
// Whether `start` (a file's first bytes, or an offset table's version as it
// stands) opens a collection: the one place the suite tells.
inline bool IsCollectionTag(std::span<const uint8_t> start) {
  return start.size() >= 4 && start[0] == kCollectionTag[0] && start[1] == kCollectionTag[1] &&
         start[2] == kCollectionTag[2] && start[3] == kCollectionTag[3];
}

struct CollectionHeader {
  std::array<uint8_t, 4> tag{};  // shown as text, not checked
  uint32_t version = 0;
  uint32_t numFonts = 0;

  static constexpr size_t kSize = 12;  // the font offsets follow
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.Bytes(r.tag);
    io.U32(r.version);
    io.U32(r.numFonts);
  }
};
static_assert(CheckedRecord<CollectionHeader>());

// The binary-search fields of a sorted array of `count` units of `unitSize`
// bytes, as the offset table and the cmap format 4 header carry them:
// searchRange = unitSize x the largest power of two not above count,
// entrySelector = log2 of that power, rangeShift = unitSize x count -
// searchRange. A count of 0 gives zeros.
struct SearchFields {
  uint16_t searchRange = 0;
  uint16_t entrySelector = 0;
  uint16_t rangeShift = 0;
};
SearchFields BinarySearchFields(uint32_t count, uint32_t unitSize);

// Readers over a file: bytes beyond its end read as zero.
OffsetTable ReadOffsetTable(const ReadableFile& file, uint64_t fontOffset);
CollectionHeader ReadCollectionHeader(const ReadableFile& file);

// The directory of the font at fontOffset. Only entries that lie (at least
// in part) inside the file are returned, so a count from the file never
// drives an allocation beyond the file's size; *complete says whether all
// numTables entries were there in full.
std::vector<TableDirEntry> ReadTableDirectory(const ReadableFile& file, uint64_t fontOffset,
                                              uint16_t numTables, bool* complete = nullptr);

// The collection's font offsets, at most as many as the file can hold.
std::vector<uint32_t> ReadCollectionOffsets(const ReadableFile& file, uint32_t numFonts,
                                            bool* complete = nullptr);

}  // namespace core
