// The one way the suite writes a font. Two layouts:
//
// - anew: a font (or a collection) laid out from a list of tables per font:
//   the offset table with search fields for the count, the directory in the
//   order given, every table at a 4-byte boundary with zero fill, and either
//   the checksums given or every checksum and head.checkSumAdjustment
//   computed. In a collection, a table that several fonts take from the same
//   bytes is written once.
// - kept: the source file byte for byte, with the checksum fields patched
//   (the recalculation's repair: every offset stays where it was).
//
// The builder writes into a ByteSink (a new file, or memory) and hands back
// problems; the caller decides what they mean and commits or abandons.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/io/byte_sink.h"
#include "core/problem.h"
#include "core/io/readable_file.h"

namespace core {

// One table of a font to write: its tag, the checksum its entry carries when
// sums are given, and its bytes, in memory or a range of a file.
struct TableSource {
  std::array<uint8_t, 4> tag{};
  uint32_t checkSum = 0;
  std::span<const uint8_t> bytes;      // when `file` is null
  const ReadableFile* file = nullptr;  // else [offset, offset + length) of it
  uint64_t offset = 0;
  uint64_t length = 0;
  int source = -1;  // the caller's number for the input, named in problems
};

struct FontPlan {
  uint32_t sfntVersion = 0x00010000;
  std::vector<TableSource> tables;  // in directory order
};

enum class TableSums {
  kAsGiven,   // entries carry the checksums given; nothing is summed
  kComputed,  // every entry's checksum and each font's checkSumAdjustment computed
};

// Writes one font. A table whose file ends early is written as far as the
// file holds it (a warning); a font past 4 GiB is refused before anything
// is written; a failed read or write ends the build (an error).
Problems WriteFont(const FontPlan& font, TableSums sums, ByteSink& out);

// Writes a collection (header version 1.0): the header, each font's offset
// table and directory, then the tables, those shared written once. With
// computed sums each font's adjustment covers its own directory and tables;
// a head table that fonts share takes the first font's.
Problems WriteCollection(std::span<const FontPlan> fonts, TableSums sums, ByteSink& out);

// The kept layout: the source's bytes with patches laid over them in the
// order they were made. A patch never reaches past the end of the source,
// so the copy keeps the source's size.
class KeptLayout {
 public:
  explicit KeptLayout(const ReadableFile& source) : source_(source) {}

  bool Holds(uint64_t offset, uint64_t count) const {
    return offset <= source_.size() && count <= source_.size() - offset;
  }
  // The copy's bytes as the patches so far leave them.
  std::vector<uint8_t> Read(uint64_t offset, size_t count) const;
  // False, and nothing patched, where the bytes would reach past the end.
  bool Patch(uint64_t offset, std::vector<uint8_t> bytes);

  // Appends the source whole; the patches follow with WritePatches.
  CopyStatus WriteSource(ByteSink& out) const;
  bool WritePatches(ByteSink& out) const;

 private:
  struct Change {
    uint64_t offset;
    std::vector<uint8_t> bytes;
  };
  const ReadableFile& source_;
  std::vector<Change> patches_;
};

}  // namespace core
