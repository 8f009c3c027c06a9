#include "editor/name_string.h"

#include "core/shift_jis.h"
#include "core/utf8.h"

namespace editor {

std::string UnicodeToShiftJisText(std::span<const uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); i += 2) {
    uint32_t unit = uint32_t{bytes[i]} << 8;
    if (i + 1 < bytes.size()) unit |= bytes[i + 1];
    uint32_t code = core::UnicodeToShiftJis(unit);
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

namespace {

using core::AppendUtf8;

constexpr uint32_t kReplacement = 0xFFFD;

bool IsJapanese(uint16_t platformID, uint16_t encodingID) {
  return (platformID == 3 && encodingID == 2) || (platformID == 1 && encodingID == 1);
}

bool IsUtf16(uint16_t platformID, uint16_t encodingID) {
  return platformID == 0 || (platformID == 3 && (encodingID == 0 || encodingID == 1 || encodingID == 10));
}

bool IsShiftJisLead(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

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

// Shift-JIS bytes (0xFD as a space, as the report shows it) up to the first zero byte.
void ShiftJisToUtf8(std::span<const uint8_t> bytes, std::string* text) {
  for (size_t i = 0; i < bytes.size() && bytes[i] != 0; ++i) {
    uint8_t byte = bytes[i];
    if (byte == 0xFD) {
      text->push_back(' ');
    } else if (IsShiftJisLead(byte) && i + 1 < bytes.size() && bytes[i + 1] != 0) {
      AppendUtf8(core::ShiftJisToUnicode((uint32_t{byte} << 8) | bytes[i + 1]), text);
      ++i;
    } else if (byte < 0x80) {
      text->push_back(static_cast<char>(byte));
    } else {
      uint32_t value = core::ShiftJisToUnicode(byte);
      AppendUtf8(value == 0x20 && (byte < 0xA1 || byte > 0xDF) ? kReplacement : value, text);
    }
  }
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
  if (platformID == 3 && encodingID == 1) return UnicodeToShiftJisText(bytes);
  for (uint8_t byte : bytes) {
    if (byte == 0) break;
    text.push_back(IsJapanese(platformID, encodingID) && byte == 0xFD ? ' ' : static_cast<char>(byte));
  }
  return text;
}

}  // namespace editor
