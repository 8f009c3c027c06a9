#include "core/text/utf8.h"

namespace core {

void AppendUtf8(uint32_t value, std::string* text) {
  if (value < 0x80) {
    text->push_back(static_cast<char>(value));
  } else if (value < 0x800) {
    text->push_back(static_cast<char>(0xC0 | (value >> 6)));
    text->push_back(static_cast<char>(0x80 | (value & 0x3F)));
  } else if (value < 0x10000) {
    text->push_back(static_cast<char>(0xE0 | (value >> 12)));
    text->push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
    text->push_back(static_cast<char>(0x80 | (value & 0x3F)));
  } else {
    text->push_back(static_cast<char>(0xF0 | (value >> 18)));
    text->push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
    text->push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
    text->push_back(static_cast<char>(0x80 | (value & 0x3F)));
  }
}

size_t Utf8SequenceLength(std::string_view text, size_t at) {
  const uint8_t lead = static_cast<uint8_t>(text[at]);
  if (lead < 0x80) return 1;
  // The first byte tells the length and the smallest value the sequence may
  // hold; anything below it is an overlong form.
  size_t length;
  uint32_t value, least;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    const uint8_t next = static_cast<uint8_t>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) return 0;
  return length;
}

}  // namespace core
