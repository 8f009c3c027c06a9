// The vertical header table 'vhea': the vertical counterpart of 'hhea',
// versions 1.0 (0x00010000) and 1.1 (0x00011000) in one layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

struct Vhea {
  uint32_t version = 0;                // 0x00010000 or 0x00011000
  int16_t vertTypoAscender = 0;        // 1.0: ascent, from the centre line to the top
  int16_t vertTypoDescender = 0;       // 1.0: descent
  int16_t vertTypoLineGap = 0;         // 1.0: lineGap
  int16_t advanceHeightMax = 0;        // largest advance height in vmtx
  int16_t minTopSideBearing = 0;
  int16_t minBottomSideBearing = 0;
  int16_t yMaxExtent = 0;
  int16_t caretSlopeRise = 0;
  int16_t caretSlopeRun = 0;
  int16_t caretOffset = 0;
  std::array<uint8_t, 8> reserved{};   // four int16 zeros
  int16_t metricDataFormat = 0;
  uint16_t numOfLongVerMetrics = 0;    // advance heights in vmtx

  static constexpr size_t kSize = 36;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.version, "version", FieldType::kVersion);
    io.S16(r.vertTypoAscender, "vertTypoAscender");
    io.S16(r.vertTypoDescender, "vertTypoDescender");
    io.S16(r.vertTypoLineGap, "vertTypoLineGap");
    io.S16(r.advanceHeightMax, "advanceHeightMax");
    io.S16(r.minTopSideBearing, "minTopSideBearing");
    io.S16(r.minBottomSideBearing, "minBottomSideBearing");
    io.S16(r.yMaxExtent, "yMaxExtent");
    io.S16(r.caretSlopeRise, "caretSlopeRise");
    io.S16(r.caretSlopeRun, "caretSlopeRun");
    io.S16(r.caretOffset, "caretOffset");
    io.Bytes(r.reserved, "reserved", FieldType::kReserved, kNotReported);
    io.S16(r.metricDataFormat, "metricDataFormat");
    io.U16(r.numOfLongVerMetrics, "numOfLongVerMetrics");
  }
};
static_assert(CheckedRecord<Vhea>());

}  // namespace core
