// Turns a cmap table whose Mac Japanese subtables are format 2 (keyed by
// Shift-JIS) into one whose such subtables are Windows Unicode format 4
// subtables (platform 3, encoding 1). Every other subtable is copied.
//
// Record rules, record by record in the input's order (the subtables follow
// the records directly, without padding, each input subtable once: records
// that share one point at the one copy, built or copied for the first):
//   (1, 1) with format 2     -> a new (3, 1) format 4 subtable
//   format 0, 2, 4 or 6      -> copied, 16-bit length (other platforms and
//                               Mac Japanese subtables of other formats)
//   format 8, 10 or 12       -> copied, 32-bit length
//   any other format         -> nothing copied; the record stays all zero
// A copy stops where the input ends. The header keeps the version; numTables
// counts the records that lie inside the input.
#pragma once

#include <cstdint>
#include <span>

#include "core/io/byte_order.h"
#include "macconv/engine/progress_throttle.h"

namespace macconv {

struct CmapConversionSummary {
  uint16_t records = 0;    // records written
  uint16_t converted = 0;  // of them, new Unicode subtables
  bool tooLarge = false;   // stopped: the table would outgrow kLargestCmapOutput
};

// The most a converted table may hold. Subtables at different offsets that
// overlap each come out whole, so without a bound a small input could make
// an output that grows with the product of its records and its size; no real
// Mac cmap comes near this.
inline constexpr uint64_t kLargestCmapOutput = uint64_t{64} << 20;

// Appends the converted table to `output`, which starts empty.
CmapConversionSummary ConvertCmapTable(std::span<const uint8_t> input, core::ByteWriter& output,
                                       ProgressThrottle& progress);

}  // namespace macconv
