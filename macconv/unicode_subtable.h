// Builds the Windows Unicode cmap subtable (format 4, segment mapping to
// delta values) that replaces a Mac Japanese format 2 subtable. Its segments
// come from the Shift-JIS code table (unicode_segments.h); every code of every
// segment takes the glyph the Mac subtable gives the code's Shift-JIS code
// (an unmapped code inside a segment, and U+FFFF, take the glyph of the
// one-byte code 0x00).
//
//   format 4, length (16 + 8 x segCount + 2 x glyphCount, 16 bits), language 0,
//   segCountX2, searchRange, entrySelector, rangeShift,
//   endCode[], reservedPad 0, startCode[], idDelta[] (1 for the closing
//   segment, else 0), idRangeOffset[] (never 0), glyphIdArray[]
#pragma once

#include <cstdint>
#include <vector>

#include "macconv/progress_throttle.h"
#include "macconv/table_bytes.h"

namespace macconv {

struct Format4Header {
  uint16_t length = 0;
  uint16_t segCountX2 = 0;
  uint16_t searchRange = 0;    // 2 x the largest power of two not above segCount
  uint16_t entrySelector = 0;  // log2(searchRange) - 1
  uint16_t rangeShift = 0;     // segCountX2 - searchRange
};

Format4Header MakeFormat4Header(uint32_t segCount, uint32_t glyphCount);

// The subtable for the format 2 subtable at `offset` of `table`, with the
// progress texts of its four passes.
std::vector<uint8_t> BuildUnicodeSubtable(const TableBytes& table, uint64_t offset, ProgressThrottle& progress);

}  // namespace macconv
