// How the name dump shows a name string's bytes: Windows Unicode strings as
// Shift-JIS text, Shift-JIS and Mac Japanese strings with 0xFD as a space,
// everything else as stored; always up to the first zero byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace editor {

// How the report writes the strings it shows as Shift-JIS: as those bytes,
// or as UTF-8 for a terminal or file that expects it.
enum class NameText { kShiftJis, kUtf8 };

// The text shown for a string of the given platform and encoding.
std::string NameStringText(uint16_t platformID, uint16_t encodingID, std::span<const uint8_t> bytes,
                           NameText form = NameText::kShiftJis);

// The string as UTF-8 where its encoding is known: UTF-16BE for the Unicode
// platform and Windows Unicode (a lone surrogate or an odd last byte becomes
// U+FFFD), Shift-JIS for Windows ShiftJIS and Mac Japanese, plain ASCII
// otherwise. False for bytes of another encoding that are not ASCII.
bool NameStringUtf8(uint16_t platformID, uint16_t encodingID, std::span<const uint8_t> bytes, std::string* text);

}  // namespace editor
