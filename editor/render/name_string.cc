#include "editor/render/name_string.h"

#include "core/text/shift_jis_codec.h"
#include "core/text/utf8.h"

namespace editor {
namespace {

using core::AppendUtf8;

constexpr uint32_t kReplacement = 0xFFFD;

bool IsJapanese(uint16_t platformID, uint16_t encodingID) {
  return (platformID == 3 && encodingID == 2) || (platformID == 1 && encodingID == 1);
}

bool IsUtf16(uint16_t platformID, uint16_t encodingID) {
  return platformID == 0 || (platformID == 3 && (encodingID == 0 || encodingID == 1 || encodingID == 10));
}

// Shift-JIS as the report shows it: every Shift-JIS lead byte, up to the
// first zero byte, 0xFD as a space, a lead byte with no byte after it on its
// own, bytes below 0x80 as ASCII, and U+FFFD for a single byte outside the
// table (a pair outside it is a space).
constexpr core::ShiftJisDecoding kReportShiftJis{
    .leadBytes = core::ShiftJisLeadBytes::kEveryLead,
    .stopAtZero = true,
    .fdAsSpace = true,
    .loneLead = core::ShiftJisLoneLead::kStandsAlone,
    .asciiBelow0x80 = true,
    .singleOutsideTable = kReplacement,
    .pairOutsideTable = 0x20,
};

// Up to the first zero code unit, as the Shift-JIS form stops there too.
void Utf16ToUtf8(std::span<const uint8_t> bytes, std::string* text) {
  for (size_t i = 0; i < bytes.size(); i += 2) {
    if (i + 1 == bytes.size()) {
      AppendUtf8(kReplacement, text);
      break;
    }
    uint32_t unit = (uint32_t{bytes[i]} << 8) | bytes[i + 1];
    if (unit == 0) break;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      uint32_t low = (uint32_t{bytes[i + 2]} << 8) | bytes[i + 3];
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), text);
        i += 2;
        continue;
      }
    }
    AppendUtf8(unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit, text);
  }
}

void ShiftJisToUtf8(std::span<const uint8_t> bytes, std::string* text) {
  for (char32_t value : core::DecodeShiftJis(bytes, kReportShiftJis)) AppendUtf8(value, text);
}

}  // namespace

bool NameStringUtf8(uint16_t platformID, uint16_t encodingID, std::span<const uint8_t> bytes, std::string* text) {
  text->clear();
  if (IsUtf16(platformID, encodingID)) {
    Utf16ToUtf8(bytes, text);
    return true;
  }
  if (IsJapanese(platformID, encodingID)) {
    ShiftJisToUtf8(bytes, text);
    return true;
  }
  for (uint8_t byte : bytes) {
    if (byte == 0) break;
    if (byte >= 0x80) return false;
    text->push_back(static_cast<char>(byte));
  }
  return true;
}

std::string NameStringText(uint16_t platformID, uint16_t encodingID, std::span<const uint8_t> bytes, NameText form) {
  std::string text;
  if (form == NameText::kUtf8 && (IsJapanese(platformID, encodingID) || (platformID == 3 && encodingID == 1))) {
    NameStringUtf8(platformID, encodingID, bytes, &text);
    return text;
  }
  if (platformID == 3 && encodingID == 1) return core::Utf16BeToShiftJis(bytes);
  for (uint8_t byte : bytes) {
    if (byte == 0) break;
    text.push_back(IsJapanese(platformID, encodingID) && byte == 0xFD ? ' ' : static_cast<char>(byte));
  }
  return text;
}

}  // namespace editor
