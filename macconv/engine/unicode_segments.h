// The segments of the Unicode format 4 subtable that replaces a Mac Japanese
// format 2 one. They depend only on the Shift-JIS code table: a segment starts
// at a Unicode code with a Shift-JIS code that follows three codes without one,
// and ends at the last code with a Shift-JIS code before three codes without
// one, so gaps of one or two unmapped codes stay inside a segment. Codes below
// U+0020 count as unmapped. A closing segment U+FFFF to U+FFFF ends the list.
#pragma once

#include <cstdint>
#include <vector>

#include "macconv/engine/progress_throttle.h"

namespace macconv {

struct UnicodeSegments {
  std::vector<uint16_t> startCode;  // the closing segment included
  std::vector<uint16_t> endCode;
  std::vector<uint16_t> idRangeOffset;  // 2 x (segCount - j + glyphs of the segments before j)
  uint32_t glyphCount = 0;              // codes in all segments, the closing one included

  size_t segCount() const { return startCode.size(); }
};

// Counts the segments, records them and counts their glyphs, in three passes
// with the progress texts "Counting Segments", "Recording Segments" and
// "Count glyphs".
UnicodeSegments ComputeUnicodeSegments(ProgressThrottle& progress);

}  // namespace macconv
