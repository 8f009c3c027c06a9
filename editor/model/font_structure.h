// A font file's container as it lies on disk: the collection header when the
// file starts with 'ttcf', each font's offset table and directory, and the
// checksums calculated from the file itself. The structural check and the
// JSON report read it; neither goes through the checksum library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"

namespace editor {

struct FontStructure {
  uint64_t offset = 0;  // of the offset table
  core::OffsetTable offsetTable;
  std::vector<core::TableDirEntry> entries;  // directory order, as far as the file holds them
  bool directoryComplete = true;
  std::optional<size_t> sameAs;  // a collection font at the offset of an earlier one: its index
  // Calculated one per entry (head without its adjustment); empty when the
  // file's tables overlap so often that summing them all would cost more
  // than a few passes over the file.
  std::vector<uint32_t> calculatedSums;
  uint32_t trueAdjustment = 0;
  std::optional<uint32_t> storedAdjustment;  // from the font's head table, when it has one
};

struct FileStructure {
  bool collection = false;
  core::CollectionHeader header;  // when `collection`
  bool offsetsComplete = true;    // all numFonts offsets lay inside the file
  std::vector<FontStructure> fonts;
  bool sumsComplete = true;  // false when the summing budget ran out
};

FileStructure ReadFileStructure(const core::ReadableFile& file);

// "cvt ", "OS/2": the tag's four bytes, any byte outside printable ASCII as
// '?'; what a directory holds, for readers that match tags.
std::string TagChars(const std::array<uint8_t, 4>& tag);
// "cvt", "OS/2": the same with trailing spaces dropped, for messages.
std::string TagName(const std::array<uint8_t, 4>& tag);

// The entry whose tag is `name` (four bytes), or null.
const core::TableDirEntry* FindEntry(const FontStructure& font, const char* name);

}  // namespace editor
