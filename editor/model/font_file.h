// The editor's one reader of a font file: whether it is a collection (by the
// rule the caller's view keeps), the collection's header and font offsets,
// which fonts repeat an earlier one, and each font's offset table and
// directory, read once when first asked for. The text report, the JSON
// report and the check are views of it; the checksums of its regions are
// taken once each through RegionSums, by whichever rule the view sums with.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"

namespace editor {

enum class CollectionRule {
  kCollectionTag,  // the file starts with "ttcf"
  kFileName,       // the report's rule: the file's name ends in ".ttc", in any case
};

// True when the name ends in ".ttc", in any case.
bool IsCollectionPath(const std::string& fontPath);

struct FontDirectory {
  core::OffsetTable offsetTable;
  std::vector<core::TableDirEntry> entries;  // directory order, as far as the file holds them
  bool complete = true;                      // all numTables entries lay inside the file
};

class FontFile {
 public:
  FontFile(const core::ReadableFile& file, CollectionRule rule, const std::string& path);

  bool collection() const { return collection_; }
  const core::CollectionHeader& header() const { return header_; }  // when a collection
  bool offsetsComplete() const { return offsetsComplete_; }          // all numFonts offsets lay inside
  // The offset of each font's offset table: {0} for a single font.
  const std::vector<uint32_t>& fontOffsets() const { return offsets_; }
  size_t fontCount() const { return offsets_.size(); }
  // The earlier font that a font at the same offset is.
  std::optional<size_t> SameAs(size_t font) const { return sameAs_[font]; }
  // The font's offset table and directory, read on the first call.
  const FontDirectory& Directory(size_t font);

 private:
  const core::ReadableFile& file_;
  bool collection_ = false;
  core::CollectionHeader header_;
  bool offsetsComplete_ = true;
  std::vector<uint32_t> offsets_{0};
  std::vector<std::optional<size_t>> sameAs_;
  std::map<size_t, FontDirectory> directories_;
};

// The checksums of a file's regions, each region summed once: fonts of a
// collection share most of their tables. `sum` takes an entry and whether it
// is summed by the head rule. With a budget, summing stops (nullopt) once
// the bytes summed would pass it.
class RegionSums {
 public:
  using Sum = std::function<uint32_t(const core::TableDirEntry& entry, bool head)>;
  explicit RegionSums(Sum sum) : sum_(std::move(sum)) {}
  RegionSums(Sum sum, const core::ReadableFile& file, uint64_t budget)
      : sum_(std::move(sum)), file_(&file), left_(budget) {}

  std::optional<uint32_t> Of(const core::TableDirEntry& entry);

 private:
  Sum sum_;
  const core::ReadableFile* file_ = nullptr;  // with a budget
  uint64_t left_ = 0;
  std::map<std::tuple<bool, uint32_t, uint32_t>, uint32_t> sums_;
};

}  // namespace editor
