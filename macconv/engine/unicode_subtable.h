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

#include "macconv/engine/progress_throttle.h"
#include <span>

namespace macconv {

// The subtable for the format 2 subtable at `offset` of `table`, with the
// progress texts of its four passes.
std::vector<uint8_t> BuildUnicodeSubtable(std::span<const uint8_t> table, uint64_t offset, ProgressThrottle& progress);

}  // namespace macconv
