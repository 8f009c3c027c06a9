// The PostScript table 'post': the header that versions 1.0, 2.0, 2.5 and
// 3.0 share. Version 2.0 follows it with glyph names, 2.5 with offsets.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

struct Post {
  uint32_t version = 0;             // 0x00010000, 0x00020000, 0x00025000 or 0x00030000
  uint32_t italicAngle = 0;         // degrees counter-clockwise from the vertical, 16.16
  int16_t underlinePosition = 0;
  int16_t underlineThickness = 0;
  uint32_t isFixedPitch = 0;        // 0 proportional, else monospaced
  uint32_t minMemType42 = 0;        // memory hints for PostScript printers
  uint32_t maxMemType42 = 0;
  uint32_t minMemType1 = 0;
  uint32_t maxMemType1 = 0;

  static constexpr size_t kSize = 32;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.version, "version", FieldType::kVersion);
    io.U32(r.italicAngle, "italicAngle", FieldType::kFixed);
    io.S16(r.underlinePosition, "underlinePosition");
    io.S16(r.underlineThickness, "underlineThickness");
    io.U32(r.isFixedPitch, "isFixedPitch");
    io.U32(r.minMemType42, "minMemType42");
    io.U32(r.maxMemType42, "maxMemType42");
    io.U32(r.minMemType1, "minMemType1");
    io.U32(r.maxMemType1, "maxMemType1");
  }
};
static_assert(CheckedRecord<Post>());

}  // namespace core
