#include "editor/name_string.h"

#include "core/shift_jis.h"

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

std::string NameStringText(uint16_t platformID, uint16_t encodingID, std::span<const uint8_t> bytes) {
  if (platformID == 3 && encodingID == 1) return UnicodeToShiftJisText(bytes);
  std::string text;
  for (uint8_t byte : bytes) {
    if (byte == 0) break;
    bool japanese = (platformID == 3 && encodingID == 2) || (platformID == 1 && encodingID == 1);
    text.push_back(japanese && byte == 0xFD ? ' ' : static_cast<char>(byte));
  }
  return text;
}

}  // namespace editor
