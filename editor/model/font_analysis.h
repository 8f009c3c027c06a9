// The result of analysing a font file: for each font of the file its offset
// table, its table directory and the checksums that the run calculated. The
// recalculation and the editing commands work from it; the editing commands
// take the places of tables from it, never from the table list in
// Quillet.ini, which another run may have rewritten since.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"

namespace editor {

struct FontRecord {
  core::OffsetTable offsetTable;               // host order
  std::vector<core::TableDirEntry> entries;    // directory order, as far as the file holds them
  std::vector<uint32_t> calculatedSums;        // one per entry, index-aligned
  uint32_t trueAdjustment = 0;                 // TCSAJ: 0xB1B0AFBA minus the font's total
  bool directoryComplete = true;               // all numTables entries lay inside the file
  bool repeat = false;                         // at the offset of an earlier font: not read again, left empty
};

struct FontAnalysis {
  std::string fontPath;
  core::FileIdentity identity;        // the font file as the run found it
  bool bothSumExports = false;        // the library had both checksum exports
  bool collection = false;            // the path ends in ".ttc", in any case
  std::vector<uint32_t> fontOffsets;  // the file offset of each font's offset table
  bool tableListFailed = false;       // the run's table list could not be written
  std::vector<FontRecord> fonts;      // one per reported font, in collection order (a report cut
                                      // short at its size bound leaves the rest out)
};

// The font whose table list the run wrote last, and so the one whose tags
// the dialogs list: the single font, or a collection's last font. Null when
// the run read no font.
const FontRecord* ListedFont(const FontAnalysis& analysis);

// Number_Of_Tables as the run wrote it: the listed font's entries (0 without one).
uint32_t ListedTableCount(const FontAnalysis& analysis);

// How many of the listed font's entries have exactly these four bytes as tag
// (case counts); `found` (if set) gets the last of them.
size_t CountListedTag(const FontAnalysis& analysis, const std::string& tag4,
                      const core::TableDirEntry** found = nullptr);

}  // namespace editor
