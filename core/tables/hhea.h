// The horizontal header table 'hhea'.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

struct Hhea {
  uint32_t version = 0;              // 0x00010000
  int16_t ascender = 0;              // distance from the baseline to the highest ascender
  int16_t descender = 0;             // distance from the baseline to the lowest descender
  int16_t lineGap = 0;               // typographic line gap
  uint16_t advanceWidthMax = 0;      // largest advance width in hmtx
  int16_t minLeftSideBearing = 0;
  int16_t minRightSideBearing = 0;
  int16_t xMaxExtent = 0;
  int16_t caretSlopeRise = 0;
  int16_t caretSlopeRun = 0;
  int16_t caretOffset = 0;
  std::array<uint8_t, 8> reserved{};  // four int16 zeros
  int16_t metricDataFormat = 0;
  uint16_t numberOfHMetrics = 0;     // advance widths in hmtx

  static constexpr size_t kSize = 36;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.version, "version", FieldType::kVersion);
    io.S16(r.ascender, "ascender");
    io.S16(r.descender, "descender");
    io.S16(r.lineGap, "lineGap");
    io.U16(r.advanceWidthMax, "advanceWidthMax");
    io.S16(r.minLeftSideBearing, "minLeftSideBearing");
    io.S16(r.minRightSideBearing, "minRightSideBearing");
    io.S16(r.xMaxExtent, "xMaxExtent");
    io.S16(r.caretSlopeRise, "caretSlopeRise");
    io.S16(r.caretSlopeRun, "caretSlopeRun");
    io.S16(r.caretOffset, "caretOffset");
    io.Bytes(r.reserved, "reserved", FieldType::kReserved, kNotReported);
    io.S16(r.metricDataFormat, "metricDataFormat");
    io.U16(r.numberOfHMetrics, "numberOfHMetrics");
  }
};
static_assert(CheckedRecord<Hhea>());

}  // namespace core
