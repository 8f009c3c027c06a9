#include "core/sfnt/font_builder.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>

#include "core/io/byte_order.h"
#include "core/sfnt/checksum.h"
#include "core/sfnt/sfnt_records.h"
#include "core/tables/head.h"

namespace core {
namespace {

constexpr uint64_t Padded(uint64_t length) { return (length + 3) & ~uint64_t{3}; }
constexpr uint8_t kFill[3] = {};

// One table as it is written: where its bytes lie in the output, how many of
// them its source really holds, and its checksum.
struct Placed {
  const TableSource* table = nullptr;
  size_t font = 0;  // the first font whose directory names it
  uint64_t present = 0;
  uint32_t offset = 0;
  uint32_t checkSum = 0;
};

// Fonts whose plans name the same bytes share one copy of them.
using SourceKey = std::tuple<const ReadableFile*, const uint8_t*, uint64_t, uint64_t>;
SourceKey KeyOf(const TableSource& table) {
  if (table.file) return {table.file, nullptr, table.offset, table.length};
  return {nullptr, table.bytes.data(), 0, table.bytes.size()};
}

uint64_t Present(const TableSource& table) {
  if (!table.file) return table.bytes.size();
  if (table.offset >= table.file->size()) return 0;
  return std::min(table.length, table.file->size() - table.offset);
}

uint64_t Wanted(const TableSource& table) { return table.file ? table.length : table.bytes.size(); }

Problem ProblemAt(int fontIndex, const TableSource* table, ProblemCode code, Severity severity) {
  Problem problem;
  problem.fontIndex = fontIndex;
  if (table) {
    problem.tag = table->tag;
    problem.source = table->source;
  }
  problem.code = code;
  problem.severity = severity;
  return problem;
}

// A table's bytes in memory: head's, to sum it with its adjustment as zero.
std::vector<uint8_t> BytesOf(const Placed& placed) {
  const TableSource& table = *placed.table;
  if (!table.file) return std::vector<uint8_t>(table.bytes.begin(), table.bytes.end());
  return table.file->ReadRange(table.offset, placed.present);
}

class Build {
 public:
  Build(std::span<const FontPlan> fonts, TableSums sums, ByteSink& out, bool collection)
      : fonts_(fonts), sums_(sums), out_(out), collection_(collection) {}

  Problems Run() {
    if (!Lay()) return problems_;
    if (sums_ == TableSums::kComputed && !Sum()) return problems_;
    if (!WriteHeaders() || !WriteTables()) return problems_;
    if (sums_ == TableSums::kComputed) Adjust();
    return problems_;
  }

 private:
  uint64_t HeadersSize() const {
    uint64_t size = collection_ ? CollectionHeader::kSize + 4 * uint64_t{fonts_.size()} : 0;
    for (const FontPlan& font : fonts_) size += OffsetTable::kSize + TableDirEntry::kSize * uint64_t{font.tables.size()};
    return size;
  }

  // Places every table, the shared ones once.
  bool Lay() {
    uint64_t position = HeadersSize();
    entries_.resize(fonts_.size());
    for (size_t f = 0; f < fonts_.size(); ++f) {
      // Within one font every entry gets its own copy, as its directory
      // names it; only fonts of a collection share a table's bytes.
      for (const TableSource& table : fonts_[f].tables) {
        const SourceKey key = KeyOf(table);
        if (auto found = placedAt_.find(key); found != placedAt_.end() && placed_[found->second].font < f) {
          entries_[f].push_back(Entry{found->second, &table});
          continue;
        }
        position = Padded(position);
        Placed placed{&table, f, Present(table)};
        if (placed.present < Wanted(table)) {
          Problem cut = ProblemAt(Index(f), &table, ProblemCode::kTableCutShort, Severity::kWarning);
          cut.number = placed.present;
          cut.limit = Wanted(table);
          problems_.push_back(cut);
        }
        if (position + placed.present > UINT32_MAX) {
          problems_.push_back(ProblemAt(Index(f), &table, ProblemCode::kFontTooLarge, Severity::kError));
          return false;
        }
        placed.offset = static_cast<uint32_t>(position);
        placed.checkSum = table.checkSum;
        position += placed.present;
        placedAt_.emplace(key, placed_.size());
        entries_[f].push_back(Entry{placed_.size(), &table});
        placed_.push_back(placed);
      }
    }
    return true;
  }

  // Every table's sum; head's with its adjustment as zero.
  bool Sum() {
    for (Placed& placed : placed_) {
      const TableSource& table = *placed.table;
      if (IsHeadTag(table.tag)) {
        // head is read whole, to take its adjustment as zero.
        std::vector<uint8_t> bytes = BytesOf(placed);
        if (bytes.size() >= kCheckSumAdjustmentOffset + 4) StoreU32(bytes.data() + kCheckSumAdjustmentOffset, 0);
        placed.checkSum = TableCheckSumOfBytes(bytes);
      } else if (table.file) {
        placed.checkSum = TableCheckSum(*table.file, table.offset, static_cast<uint32_t>(placed.present));
      } else {
        placed.checkSum = TableCheckSumOfBytes(table.bytes);
      }
      if (table.file && table.file->read_error() != 0) return ReadFailed(placed);
    }
    return true;
  }

  bool WriteHeaders() {
    ByteWriter headers;
    if (collection_) {
      WriteRecord(CollectionHeader{kCollectionTag, 0x00010000, static_cast<uint32_t>(fonts_.size())}, headers);
      uint64_t at = CollectionHeader::kSize + 4 * uint64_t{fonts_.size()};
      for (const FontPlan& font : fonts_) {
        headers.WriteU32(static_cast<uint32_t>(at));
        at += OffsetTable::kSize + TableDirEntry::kSize * uint64_t{font.tables.size()};
      }
    }
    for (size_t f = 0; f < fonts_.size(); ++f) {
      fontStarts_.push_back(headers.size());
      const FontPlan& font = fonts_[f];
      OffsetTable table;
      table.versionMajor = static_cast<uint16_t>(font.sfntVersion >> 16);
      table.versionMinor = static_cast<uint16_t>(font.sfntVersion);
      table.numTables = static_cast<uint16_t>(font.tables.size());
      const SearchFields search = BinarySearchFields(table.numTables, TableDirEntry::kSize);
      table.searchRange = search.searchRange;
      table.entrySelector = search.entrySelector;
      table.rangeShift = search.rangeShift;
      WriteRecord(table, headers);
      for (const Entry& entry : entries_[f]) {
        // The entry's own tag; its own checksum unless the sums are computed from the bytes.
        const Placed& placed = placed_[entry.placed];
        const uint32_t checkSum = sums_ == TableSums::kComputed ? placed.checkSum : entry.table->checkSum;
        WriteRecord(TableDirEntry{entry.table->tag, checkSum, placed.offset, static_cast<uint32_t>(placed.present)},
                    headers);
      }
    }
    headerBytes_ = headers.Take();
    if (!out_.Append(headerBytes_)) return WriteFailed();
    return true;
  }

  bool WriteTables() {
    uint64_t written = headerBytes_.size();
    for (const Placed& placed : placed_) {
      if (placed.offset > written && !out_.Append(std::span(kFill, placed.offset - written))) return WriteFailed();
      written = placed.offset + placed.present;
      const TableSource& table = *placed.table;
      if (!table.file) {
        if (!out_.Append(table.bytes)) return WriteFailed();
        continue;
      }
      uint64_t copied = 0;
      const CopyStatus status = out_.AppendFrom(*table.file, table.offset, placed.present, &copied);
      if (status == CopyStatus::kWriteFailed) return WriteFailed();
      if (status == CopyStatus::kReadFailed) return ReadFailed(placed);
    }
    if (Padded(written) > written && !out_.Append(std::span(kFill, Padded(written) - written))) return WriteFailed();
    return true;
  }

  // Each font's adjustment over its own directory and tables.
  void Adjust() {
    std::vector<bool> adjusted(placed_.size());
    for (size_t f = 0; f < fonts_.size(); ++f) {
      const uint64_t start = fontStarts_[f];
      const uint64_t size = OffsetTable::kSize + TableDirEntry::kSize * uint64_t{entries_[f].size()};
      uint32_t total = TableCheckSumOfBytes(std::span(headerBytes_).subspan(start, size));
      std::optional<size_t> head;
      for (const Entry& entry : entries_[f]) {
        total += placed_[entry.placed].checkSum;
        if (IsHeadTag(entry.table->tag) && !head) head = entry.placed;
      }
      if (!head || adjusted[*head] || placed_[*head].present < kCheckSumAdjustmentOffset + 4) continue;
      adjusted[*head] = true;
      uint8_t adjustment[4];
      StoreU32(adjustment, TrueAdjustment(total));
      if (!out_.Overwrite(placed_[*head].offset + kCheckSumAdjustmentOffset, adjustment)) {
        WriteFailed();
        return;
      }
    }
  }

  int Index(size_t font) const { return collection_ ? static_cast<int>(font) : -1; }

  bool WriteFailed() {
    Problem problem = ProblemAt(-1, nullptr, ProblemCode::kWriteFailed, Severity::kError);
    problem.systemError = out_.error();
    problems_.push_back(problem);
    return false;
  }
  bool ReadFailed(const Placed& placed) {
    Problem problem = ProblemAt(-1, placed.table, ProblemCode::kReadFailed, Severity::kError);
    problem.systemError = placed.table->file ? placed.table->file->read_error() : 0;
    problems_.push_back(problem);
    return false;
  }

  std::span<const FontPlan> fonts_;
  TableSums sums_;
  ByteSink& out_;
  bool collection_;
  std::vector<Placed> placed_;                // in output order
  // One directory entry: the bytes it points at and the table it names.
  struct Entry {
    size_t placed;
    const TableSource* table;
  };
  std::map<SourceKey, size_t> placedAt_;     // index into placed_, by the bytes
  std::vector<std::vector<Entry>> entries_;  // per font, directory order
  std::vector<uint64_t> fontStarts_;          // of each offset table in headerBytes_
  std::vector<uint8_t> headerBytes_;
  Problems problems_;
};

}  // namespace

Problems WriteFont(const FontPlan& font, TableSums sums, ByteSink& out) {
  return Build(std::span(&font, 1), sums, out, false).Run();
}

Problems WriteCollection(std::span<const FontPlan> fonts, TableSums sums, ByteSink& out) {
  return Build(fonts, sums, out, true).Run();
}

std::vector<uint8_t> KeptLayout::Read(uint64_t offset, size_t count) const {
  std::vector<uint8_t> bytes(count);
  source_.ReadAtZeroFilled(offset, bytes.data(), count);
  for (const Change& change : patches_) {
    const uint64_t from = std::max(offset, change.offset);
    const uint64_t to = std::min(offset + count, change.offset + change.bytes.size());
    if (from < to)
      std::memcpy(bytes.data() + (from - offset), change.bytes.data() + (from - change.offset),
                  static_cast<size_t>(to - from));
  }
  return bytes;
}

bool KeptLayout::Patch(uint64_t offset, std::vector<uint8_t> bytes) {
  if (!Holds(offset, bytes.size())) return false;
  patches_.push_back(Change{offset, std::move(bytes)});
  return true;
}

CopyStatus KeptLayout::WriteSource(ByteSink& out) const {
  uint64_t copied = 0;
  return out.AppendFrom(source_, 0, source_.size(), &copied);
}

bool KeptLayout::WritePatches(ByteSink& out) const {
  for (const Change& change : patches_)
    if (!out.Overwrite(change.offset, change.bytes)) return false;
  return true;
}

}  // namespace core
