// The font header table 'head'.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

struct Head {
  uint32_t version = 0;             // 0x00010000: majorVersion 1, minorVersion 0
  uint32_t fontRevision = 0;        // set by the font's maker, 16.16
  uint32_t checkSumAdjustment = 0;  // 0xB1B0AFBA minus the sum of the whole font
  uint32_t magicNumber = 0;         // 0x5F0F3CF5
  uint16_t flags = 0;
  uint16_t unitsPerEm = 0;          // 16 to 16384
  int64_t created = 0;              // seconds since 1904-01-01
  int64_t modified = 0;
  int16_t xMin = 0;                 // bounding box of all glyphs
  int16_t yMin = 0;
  int16_t xMax = 0;
  int16_t yMax = 0;
  uint16_t macStyle = 0;
  uint16_t lowestRecPPEM = 0;       // smallest readable size in pixels
  int16_t fontDirectionHint = 0;
  int16_t indexToLocFormat = 0;     // 0 short, 1 long loca offsets
  int16_t glyphDataFormat = 0;

  static constexpr size_t kSize = 54;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.version, "version", FieldType::kVersion);
    io.U32(r.fontRevision, "fontRevision", FieldType::kFixed);
    io.U32(r.checkSumAdjustment, "checkSumAdjustment");
    io.U32(r.magicNumber, "magicNumber");
    io.U16(r.flags, "flags");
    io.U16(r.unitsPerEm, "unitsPerEm");
    io.S64(r.created, "created");
    io.S64(r.modified, "modified");
    io.S16(r.xMin, "xMin");
    io.S16(r.yMin, "yMin");
    io.S16(r.xMax, "xMax");
    io.S16(r.yMax, "yMax");
    io.U16(r.macStyle, "macStyle");
    io.U16(r.lowestRecPPEM, "lowestRecPPEM");
    io.S16(r.fontDirectionHint, "fontDirectionHint");
    io.S16(r.indexToLocFormat, "indexToLocFormat");
    io.S16(r.glyphDataFormat, "glyphDataFormat");
  }
};
static_assert(CheckedRecord<Head>());

// The head rule sums the first 13 words of the table (everything before
// glyphDataFormat) with checkSumAdjustment taken as zero.
inline constexpr size_t kHeadSummedBytes = 52;
inline constexpr size_t kCheckSumAdjustmentOffset = 8;

// Sets checkSumAdjustment in a block that starts with the table's first byte
// and holds at least kHeadSummedBytes.
inline void StoreCheckSumAdjustment(std::span<uint8_t> head, uint32_t value) {
  StoreU32(head.data() + kCheckSumAdjustmentOffset, value);
}

}  // namespace core
