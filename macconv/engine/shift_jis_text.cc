#include "macconv/engine/shift_jis_text.h"

#include "core/text/shift_jis.h"

namespace macconv {

std::vector<uint8_t> ShiftJisToUtf16(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxShiftJisString) bytes = bytes.first(kMaxShiftJisString);
  std::vector<uint8_t> text;
  text.reserve(2 * bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint32_t code = bytes[i];
    bool lead = (code >= 0x81 && code <= 0x9F) || (code >= 0xE0 && code <= 0xEA);
    if (lead) {
      uint32_t trail = i + 1 < bytes.size() ? bytes[i + 1] : 0;
      code = code * 256 + trail;
      ++i;
    }
    uint32_t unicode = core::ShiftJisToUnicode(code);
    text.push_back(static_cast<uint8_t>(unicode >> 8));
    text.push_back(static_cast<uint8_t>(unicode));
  }
  return text;
}

}  // namespace macconv
