// Lookups in a Mac cmap format 2 subtable (high-byte mapping through table),
// keyed by Shift-JIS codes.
//
//   offset 0    format = 2, length, language
//   offset 6    subHeaderKeys[256]: 8 x the index of a subheader
//   offset 518  subHeaders: firstCode, entryCount, idDelta, idRangeOffset
//               then the glyph index array
#pragma once

#include <array>
#include <cstdint>

#include "macconv/table_bytes.h"

namespace macconv {

struct MacFormat2Subtable {
  TableBytes table;                       // the whole cmap table
  uint64_t subHeaderBase = 0;             // offset of subHeaders[0] in the table
  std::array<uint16_t, 256> subHeaderKeys{};
};

inline constexpr uint64_t kFormat2StartSize = 518;  // fields before the subheaders

// Reads the first 518 bytes of the subtable at `offset` (bytes beyond the
// table read as zero).
MacFormat2Subtable ReadMacFormat2(const TableBytes& table, uint64_t offset);

// The glyph the subtable gives the Shift-JIS code `code` (0 to 0xFFFF): the
// high byte picks a subheader through its key (a one-byte code goes through
// key 0 with the byte itself as low byte); a low byte outside the
// subheader's range, or a zero entry, gives 0; otherwise the entry plus
// idDelta, modulo 65536. The entry lies idRangeOffset + 2 x (low - firstCode)
// bytes after the subheader's idRangeOffset field.
uint16_t HighByteGlyph(const MacFormat2Subtable& subtable, uint32_t code);

}  // namespace macconv
