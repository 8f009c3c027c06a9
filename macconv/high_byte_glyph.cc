#include "macconv/high_byte_glyph.h"

namespace macconv {

MacFormat2Subtable ReadMacFormat2(const TableBytes& table, uint64_t offset) {
  MacFormat2Subtable subtable;
  subtable.table = table;
  subtable.subHeaderBase = offset + kFormat2StartSize;
  for (size_t i = 0; i < subtable.subHeaderKeys.size(); ++i) {
    subtable.subHeaderKeys[i] = table.U16(offset + 6 + 2 * i);
  }
  return subtable;
}

uint16_t HighByteGlyph(const MacFormat2Subtable& subtable, uint32_t code) {
  uint32_t high = (code >> 8) & 0xFF;
  uint32_t low = code & 0xFF;
  uint64_t subHeader = subtable.subHeaderBase + subtable.subHeaderKeys[high];
  const TableBytes& table = subtable.table;
  uint32_t firstCode = table.U16(subHeader);
  uint32_t entryCount = table.U16(subHeader + 2);
  uint16_t idDelta = table.U16(subHeader + 4);
  uint32_t idRangeOffset = table.U16(subHeader + 6);
  if (low < firstCode || low >= firstCode + entryCount) return 0;
  uint16_t entry = table.U16(subHeader + 6 + idRangeOffset + 2 * (low - firstCode));
  if (entry == 0) return 0;
  return static_cast<uint16_t>(entry + idDelta);
}

}  // namespace macconv
