// The bad inputs of the table: fonts, table files and profile files cut
// short in every structure, with counts, offsets and lengths past the end or
// wrapping 32 bits, with tables duplicated or overlapping, and the large
// cases (a collection of 0xFFFFFFFF fonts, a name table of 5461 records, a
// profile file of 100,000 sections).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/font_builder.h"

namespace badinput {

using testsupport::Bytes;

// A named cut of a file: its first `size` bytes.
struct Cut {
  std::string where;
  size_t size;
};

// The sample font (head, hhea, maxp, OS/2, hmtx, cmap, name, post).
Bytes SampleFontBytes();

// Cuts of a single font inside every structure: the offset table, each
// directory entry, and the first and middle byte of each table.
std::vector<Cut> FontCuts(const Bytes& font);
// Cuts of a table file at the given field boundaries and at every record.
std::vector<Cut> TableCuts(const Bytes& table, size_t headerSize, size_t recordCount, size_t recordSize);

Bytes FirstBytes(const Bytes& bytes, size_t count);

// The sample font with entry `index` moved to offset/length.
Bytes WithEntry(const Bytes& font, size_t index, uint32_t offset, uint32_t length);
// The index of a tag in the sample font's directory.
size_t EntryIndex(const Bytes& font, const std::string& tag);
// The sample font with numTables set, the file left as it is.
Bytes WithNumTables(const Bytes& font, uint16_t numTables);
// The sample font with one entry's tag replaced (a duplicate when the tag is
// already there).
Bytes WithTag(const Bytes& font, size_t index, const std::string& tag);

// A collection header whose numFonts is 0xFFFFFFFF, followed by the offsets
// of two copies of the sample font.
Bytes HugeCountCollection();

// A name table of `count` records, each a one-byte Mac Roman string.
Bytes NameTableOfRecords(uint32_t count);
// A font whose name table is that table.
Bytes FontWithNameTable(const Bytes& name);

// A cmap table whose records point at `subtableOffset`.
Bytes CmapWithRecordOffset(uint32_t subtableOffset);

// A Mac Japanese cmap table: a (0, 3) format 0 subtable and a (1, 1)
// format 2 subtable keyed by Shift-JIS codes (one-byte codes and the lead
// byte 0x82).
Bytes MacJapaneseCmap();
// The offset of its format 2 subtable.
constexpr size_t kMacCmapFormat2Offset = 4 + 2 * 8 + 262;

// A Mac name table with a Roman record and a Shift-JIS Japanese record.
Bytes MacJapaneseName();

// An OS/2 profile file ("Pellout.ini" form) with `sections` filler sections
// before its [SUMMARY] and [PANOSE] sections.
std::string Os2ProfileWithSections(size_t sections, const std::string& tableName);
// A name profile file ("Corvout.ini" form) with `records` records, all of
// whose strings come from `textName`, and `sections` sections in all.
std::string NameProfileWithSections(size_t sections, size_t records, const std::string& textName,
                                    const std::string& tableName);

}  // namespace badinput
