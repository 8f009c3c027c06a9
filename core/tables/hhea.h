// The horizontal header table 'hhea'.
#pragma once

#include <cstddef>
#include <cstdint>

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
    io.U32(r.version);
    io.S16(r.ascender);
    io.S16(r.descender);
    io.S16(r.lineGap);
    io.U16(r.advanceWidthMax);
    io.S16(r.minLeftSideBearing);
    io.S16(r.minRightSideBearing);
    io.S16(r.xMaxExtent);
    io.S16(r.caretSlopeRise);
    io.S16(r.caretSlopeRun);
    io.S16(r.caretOffset);
    io.Bytes(r.reserved);
    io.S16(r.metricDataFormat);
    io.U16(r.numberOfHMetrics);
  }
};
static_assert(CheckedRecord<Hhea>());

}  // namespace core
