// The maximum profile table 'maxp': version 0.5 holds numGlyphs alone,
// version 1.0 the TrueType maxima after it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

// The version that adds the TrueType maxima; the JSON report shows numGlyphs only.
inline constexpr uint32_t kMaxpVersion1 = 0x00010000;

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
    io.U32(r.version, "version", FieldType::kVersion);
    io.U16(r.numGlyphs, "numGlyphs");
    io.Since(kMaxpVersion1);
    io.U16(r.maxPoints, "maxPoints", FieldType::kUInt16, kNotReported);
    io.U16(r.maxContours, "maxContours", FieldType::kUInt16, kNotReported);
    io.U16(r.maxCompositePoints, "maxCompositePoints", FieldType::kUInt16, kNotReported);
    io.U16(r.maxCompositeContours, "maxCompositeContours", FieldType::kUInt16, kNotReported);
    io.U16(r.maxZones, "maxZones", FieldType::kUInt16, kNotReported);
    io.U16(r.maxTwilightPoints, "maxTwilightPoints", FieldType::kUInt16, kNotReported);
    io.U16(r.maxStorage, "maxStorage", FieldType::kUInt16, kNotReported);
    io.U16(r.maxFunctionDefs, "maxFunctionDefs", FieldType::kUInt16, kNotReported);
    io.U16(r.maxInstructionDefs, "maxInstructionDefs", FieldType::kUInt16, kNotReported);
    io.U16(r.maxStackElements, "maxStackElements", FieldType::kUInt16, kNotReported);
    io.U16(r.maxSizeOfInstructions, "maxSizeOfInstructions", FieldType::kUInt16, kNotReported);
    io.U16(r.maxComponentElements, "maxComponentElements", FieldType::kUInt16, kNotReported);
    io.U16(r.maxComponentDepth, "maxComponentDepth", FieldType::kUInt16, kNotReported);
  }
};
static_assert(CheckedRecord<Maxp>());

}  // namespace core
