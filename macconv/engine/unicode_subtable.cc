#include "macconv/engine/unicode_subtable.h"

#include "core/io/byte_order.h"
#include "core/text/shift_jis.h"
#include "core/tables/cmap.h"
#include "macconv/engine/message_text.h"
#include "shell/text.h"
#include "macconv/engine/unicode_segments.h"

namespace macconv {
namespace {

std::string GlyphsText(uint32_t glyphCount, uint32_t n, uint32_t u) {
  return shell::FormatText("\n     Number of Glyphs = %d     \n     Count of Glyphs = %d     \n     UNICODE = 0x%x     ",
                    static_cast<int>(glyphCount), static_cast<int>(n), u);
}

}  // namespace

std::vector<uint8_t> BuildUnicodeSubtable(std::span<const uint8_t> table, uint64_t offset, ProgressThrottle& progress) {
  core::Format2Subtable mac = core::ReadFormat2(table, offset);
  UnicodeSegments segments = ComputeUnicodeSegments(progress);
  const size_t segCount = segments.segCount();
  progress.Clear();

  core::Format4Head header = core::MakeFormat4Head(static_cast<uint32_t>(segCount), segments.glyphCount);
  core::ByteWriter out;
  out.bytes().reserve(16 + 8 * segCount + 2 * segments.glyphCount);
  core::WriteRecord(header, out);
  for (uint16_t code : segments.endCode) out.WriteU16(code);
  out.WriteU16(0);  // reservedPad
  for (uint16_t code : segments.startCode) out.WriteU16(code);
  for (size_t j = 0; j < segCount; ++j) out.WriteU16(j + 1 == segCount ? 1 : 0);  // idDelta
  for (uint16_t rangeOffset : segments.idRangeOffset) out.WriteU16(rangeOffset);

  // The glyphs, segment after segment, code after code.
  uint32_t n = 0;
  const std::span<const uint32_t> shiftJis = core::UnicodeToShiftJisTable();
  for (size_t j = 0; j < segCount; ++j) {
    for (uint32_t u = segments.startCode[j]; u <= segments.endCode[j]; ++u) {
      out.WriteU16(core::Format2Glyph(mac, shiftJis[u]));
      ++n;
      if (progress.Due()) progress.Show(GlyphsText(segments.glyphCount, n, u));
    }
  }
  progress.Final(GlyphsText(segments.glyphCount, n, 0xFFFF));
  progress.Hold(500);
  return out.Take();
}

}  // namespace macconv
