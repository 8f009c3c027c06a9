// The maximum profile table 'maxp': version 0.5 holds numGlyphs alone,
// version 1.0 the TrueType maxima after it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/tables/record.h"

namespace core {

struct Maxp {
  uint32_t version = 0;                // 0x00005000 or 0x00010000
  uint16_t numGlyphs = 0;
  uint16_t maxPoints = 0;              // the fields from here on: version 1.0 only
  uint16_t maxContours = 0;
  uint16_t maxCompositePoints = 0;
  uint16_t maxCompositeContours = 0;
  uint16_t maxZones = 0;
  uint16_t maxTwilightPoints = 0;
  uint16_t maxStorage = 0;
  uint16_t maxFunctionDefs = 0;
  uint16_t maxInstructionDefs = 0;
  uint16_t maxStackElements = 0;
  uint16_t maxSizeOfInstructions = 0;
  uint16_t maxComponentElements = 0;
  uint16_t maxComponentDepth = 0;

  static constexpr size_t kSize = 32;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.version);
    io.U16(r.numGlyphs);
    io.U16(r.maxPoints);
    io.U16(r.maxContours);
    io.U16(r.maxCompositePoints);
    io.U16(r.maxCompositeContours);
    io.U16(r.maxZones);
    io.U16(r.maxTwilightPoints);
    io.U16(r.maxStorage);
    io.U16(r.maxFunctionDefs);
    io.U16(r.maxInstructionDefs);
    io.U16(r.maxStackElements);
    io.U16(r.maxSizeOfInstructions);
    io.U16(r.maxComponentElements);
    io.U16(r.maxComponentDepth);
  }
};
static_assert(CheckedRecord<Maxp>());

}  // namespace core
