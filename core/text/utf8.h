// UTF-8 as the suite writes and checks it: one scalar value appended to a
// string, and the length of the well-formed sequence at a place in a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// Appends the UTF-8 form of a Unicode scalar value (below 0x110000): one to
// four bytes.
void AppendUtf8(uint32_t value, std::string* text);

// The length (1 to 4) of the well-formed UTF-8 sequence that starts at
// `text[at]`; 0 when the bytes there are not one: a stray continuation byte,
// a lead byte 0xC0, 0xC1 or 0xF5-0xFF, a sequence cut short, an overlong
// form, a surrogate or a value above U+10FFFF. `at` must lie inside `text`.
size_t Utf8SequenceLength(std::string_view text, size_t at);

}  // namespace core
