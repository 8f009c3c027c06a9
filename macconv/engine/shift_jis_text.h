// Shift-JIS strings of Mac name records as big-endian UTF-16.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace macconv {

// A byte 0x81-0x9F or 0xE0-0xEA is a lead byte and forms, with the byte after
// it, the code lead x 256 + trail; any other byte is a code by itself. A lead
// byte at the end pairs with a zero byte. Each code becomes its Unicode value
// from the code table (U+0020 for a code outside it), high byte first. Only
// the first core::kNameStringLimit bytes are used, so the result is at most
// 4096 bytes.
std::vector<uint8_t> ShiftJisToUtf16(std::span<const uint8_t> bytes);

}  // namespace macconv
