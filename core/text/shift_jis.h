// The Shift-JIS code table of the Mac font conversions: the 7037 characters
// of JIS X 0201 and JIS X 0208 in Shift-JIS form with their Unicode values.
// The table is part of the program, so every system gives the same answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace core {

// One pair of a code list: a key and the value it maps to.
struct CodePair {
  uint32_t key;
  uint32_t value;
};

// Characters in the table, and the length of each list with its end pair.
inline constexpr size_t kShiftJisCharacterCount = 7037;
inline constexpr size_t kCodeListLength = kShiftJisCharacterCount + 1;

// (Shift-JIS code, Unicode value) in the byte order of the codes: 0x20-0x7E,
// 0x8140-0x9FFC, 0xA1-0xDF, 0xE040-0xEAA4; then the end pair (0, 0).
// A double-byte code is lead byte x 256 + trail byte.
std::span<const CodePair> ShiftJisList();

// (Unicode value, Shift-JIS code) by ascending Unicode value; then (0, 0).
std::span<const CodePair> UnicodeList();

// Unicode value of a Shift-JIS code; U+0020 for a code not in the table
// (codes above 0xFFFF included).
uint32_t ShiftJisToUnicode(uint32_t code);

// Shift-JIS code of a Unicode value; 0 for a value not in the table (values
// above 0xFFFF included). No character has code 0, so 0 always means "none".
uint32_t UnicodeToShiftJis(uint32_t value);

// The same for every value below 0x10000 at once, for loops over all of them.
std::span<const uint32_t> UnicodeToShiftJisTable();

}  // namespace core
