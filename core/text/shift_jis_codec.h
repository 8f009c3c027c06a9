// Shift-JIS text through the code table of core/shift_jis.h. The suite's
// programs read Shift-JIS strings in slightly different ways; each way is a
// set of the options below, named where it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace core {

// Which bytes start a double-byte code.
enum class ShiftJisLeadBytes {
  kTableRange,  // 0x81-0x9F and 0xE0-0xEA: the lead bytes of the code table
  kEveryLead,   // 0x81-0x9F and 0xE0-0xFC: every Shift-JIS lead byte
};

// What a lead byte does when no byte follows it.
enum class ShiftJisLoneLead {
  kPairsWithZero,  // it forms a code with a zero byte after it
  kStandsAlone,    // it is a single-byte code
};

struct ShiftJisDecoding {
  ShiftJisLeadBytes leadBytes = ShiftJisLeadBytes::kTableRange;
  // The text ends before the first zero byte; a lead byte just before it is
  // then a lone lead byte.
  bool stopAtZero = false;
  // 0xFD (outside the table) is read as U+0020, not as a code outside it.
  bool fdAsSpace = false;
  ShiftJisLoneLead loneLead = ShiftJisLoneLead::kPairsWithZero;
  // Bytes 0x01-0x7F are ASCII; otherwise they are looked up in the table,
  // where 0x5C is U+00A5, 0x7E is U+203E and control bytes are outside.
  bool asciiBelow0x80 = false;
  // The values of a single-byte and of a double-byte code outside the table.
  uint32_t singleOutsideTable = 0x20;
  uint32_t pairOutsideTable = 0x20;
};

// The Unicode values of the characters of `bytes`, one per code.
std::u32string DecodeShiftJis(std::span<const uint8_t> bytes, const ShiftJisDecoding& how);

// UTF-16BE code units (an odd last byte taken as a high byte) to Shift-JIS:
// two bytes, lead byte first, for a double-byte code, one byte otherwise, and
// a space for a code unit that has no Shift-JIS code.
std::string Utf16BeToShiftJis(std::span<const uint8_t> bytes);

}  // namespace core
