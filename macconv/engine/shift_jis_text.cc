#include "macconv/engine/shift_jis_text.h"

#include "core/text/shift_jis_codec.h"
#include "core/tables/name.h"

namespace macconv {
namespace {

// Shift-JIS as the Mac conversion reads it: the lead bytes of the code table,
// zero bytes and 0xFD as codes like any other, a lead byte at the end paired
// with a zero byte, every byte looked up in the table, and U+0020 for a code
// outside it.
constexpr core::ShiftJisDecoding kMacConversionShiftJis{
    .leadBytes = core::ShiftJisLeadBytes::kTableRange,
    .stopAtZero = false,
    .fdAsSpace = false,
    .loneLead = core::ShiftJisLoneLead::kPairsWithZero,
    .asciiBelow0x80 = false,
    .singleOutsideTable = 0x20,
    .pairOutsideTable = 0x20,
};

}  // namespace

std::vector<uint8_t> ShiftJisToUtf16(std::span<const uint8_t> bytes) {
  if (bytes.size() > core::kNameStringLimit) bytes = bytes.first(core::kNameStringLimit);
  std::vector<uint8_t> text;
  text.reserve(2 * bytes.size());
  for (char32_t unicode : core::DecodeShiftJis(bytes, kMacConversionShiftJis)) {
    text.push_back(static_cast<uint8_t>(unicode >> 8));
    text.push_back(static_cast<uint8_t>(unicode));
  }
  return text;
}

}  // namespace macconv
