#include "core/text/shift_jis_codec.h"

#include "core/text/shift_jis.h"

namespace core {
namespace {

bool IsLead(uint8_t byte, ShiftJisLeadBytes leadBytes) {
  const uint8_t lastHigh = leadBytes == ShiftJisLeadBytes::kTableRange ? 0xEA : 0xFC;
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= lastHigh);
}

// The table value of a code, or `outside` for a code the table lacks (the
// table's own answer for those is U+0020, which only code 0x20 really has).
uint32_t Lookup(uint32_t code, uint32_t outside) {
  const uint32_t value = ShiftJisToUnicode(code);
  return value == 0x20 && code != 0x20 ? outside : value;
}

}  // namespace

std::u32string DecodeShiftJis(std::span<const uint8_t> bytes, const ShiftJisDecoding& how) {
  if (how.stopAtZero) {
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == 0) {
        bytes = bytes.first(i);
        break;
      }
    }
  }
  std::u32string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t byte = bytes[i];
    if (IsLead(byte, how.leadBytes) && (i + 1 < bytes.size() || how.loneLead == ShiftJisLoneLead::kPairsWithZero)) {
      const uint8_t trail = i + 1 < bytes.size() ? bytes[i + 1] : 0;
      text.push_back(Lookup(uint32_t{byte} << 8 | trail, how.pairOutsideTable));
      ++i;
    } else if (byte == 0xFD && how.fdAsSpace) {
      text.push_back(U' ');
    } else if (byte < 0x80 && how.asciiBelow0x80) {
      text.push_back(byte);
    } else {
      text.push_back(Lookup(byte, how.singleOutsideTable));
    }
  }
  return text;
}

std::string Utf16BeToShiftJis(std::span<const uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); i += 2) {
    uint32_t unit = uint32_t{bytes[i]} << 8;
    if (i + 1 < bytes.size()) unit |= bytes[i + 1];
    const uint32_t code = UnicodeToShiftJis(unit);
    if (code == 0) {
      text.push_back(' ');
    } else if (code >= 256) {
      text.push_back(static_cast<char>(code >> 8));
      text.push_back(static_cast<char>(code & 0xFF));
    } else {
      text.push_back(static_cast<char>(code));
    }
  }
  return text;
}

}  // namespace core
