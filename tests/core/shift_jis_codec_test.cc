// Each option of the Shift-JIS reading on its own, against the defaults (the
// Mac converter's way), and the writing of UTF-16 as Shift-JIS.
#include "core/text/shift_jis_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using core::ShiftJisDecoding;

std::u32string Decode(const Bytes& bytes, const ShiftJisDecoding& how = {}) { return core::DecodeShiftJis(bytes, how); }

TEST(ShiftJisDecoding, TableCodesByteByByteOrInPairs) {
  EXPECT_EQ(Decode({0x41, 0xB1, 0xDF, 0x81, 0x40, 0x88, 0x9F, 0xEA, 0xA4}), U"A\uFF71\uFF9F\u3000\u4E9C\u7199");
  EXPECT_EQ(Decode({}), U"");
  // A trail byte below 0x40 still pairs: the code is outside the table.
  EXPECT_EQ(Decode({0x82, 0x41, 0x42}), U" B");
}

TEST(ShiftJisDecoding, LeadBytesOfTheTableOrEveryLeadByte) {
  const Bytes bytes = {0xEB, 0x40, 0xFC, 0xFC, 0x9F, 0x7F};
  // 0xEB-0xFC are single codes outside the table, so the 0x40 after 0xEB
  // stands for itself; 0x9F 0x7F is a pair outside the table either way.
  EXPECT_EQ(Decode(bytes), U" @   ");
  ShiftJisDecoding every;
  every.leadBytes = core::ShiftJisLeadBytes::kEveryLead;
  every.singleOutsideTable = U'?';
  every.pairOutsideTable = U'*';
  EXPECT_EQ(Decode(bytes, every), U"***");
  every.leadBytes = core::ShiftJisLeadBytes::kTableRange;
  EXPECT_EQ(Decode(bytes, every), U"?@??*");
}

TEST(ShiftJisDecoding, ZeroBytesAndLoneLeadBytes) {
  ShiftJisDecoding how;
  how.singleOutsideTable = U'?';
  how.pairOutsideTable = U'*';
  // By default a zero byte is a code outside the table, a lead byte takes it
  // as its trail byte, and a lead byte at the end pairs with a zero byte.
  EXPECT_EQ(Decode({0x41, 0x00, 0x42, 0x82, 0x00, 0x43, 0x82}, how), U"A?B*C*");
  how.stopAtZero = true;
  EXPECT_EQ(Decode({0x41, 0x82, 0x00, 0x43}, how), U"A*");
  EXPECT_EQ(Decode({0x00, 0x41}, how), U"");
  how.loneLead = core::ShiftJisLoneLead::kStandsAlone;
  EXPECT_EQ(Decode({0x41, 0x82, 0x00, 0x43}, how), U"A?");
  EXPECT_EQ(Decode({0x41, 0x82}, how), U"A?");
  how.stopAtZero = false;  // a zero byte is then a trail byte like any other
  EXPECT_EQ(Decode({0x82, 0x00, 0x82}, how), U"*?");
}

TEST(ShiftJisDecoding, FdAsSpaceAndAsciiBelow0x80) {
  ShiftJisDecoding how;
  how.singleOutsideTable = U'?';
  const Bytes bytes = {0xFD, 0x5C, 0x7E, 0x01, 0x7F, 0x20, 0xFE};
  EXPECT_EQ(Decode(bytes, how), U"?\u00A5\u203E?? ?");
  how.fdAsSpace = true;
  EXPECT_EQ(Decode(bytes, how), U" \u00A5\u203E?? ?");
  how.asciiBelow0x80 = true;
  EXPECT_EQ(Decode(bytes, how), U" \\~\x01\x7F ?");
  // 0xFD as the trail byte of a pair is not a space.
  EXPECT_EQ(Decode({0x81, 0xFD}, how), U" ");
}

TEST(Utf16BeToShiftJis, CodesLeadByteFirstAndSpacesForTheRest) {
  EXPECT_EQ(core::Utf16BeToShiftJis(Bytes{0x00, 0x41, 0xFF, 0x71, 0x30, 0x42, 0x00, 0x5C}), "A\xB1\x82\xA0\x81\x5F");
  // U+FF3C and U+007E have no code, nor does U+0000; an odd last byte is a
  // high byte (0x4E00 is 0x88EA).
  EXPECT_EQ(core::Utf16BeToShiftJis(Bytes{0xFF, 0x3C, 0x00, 0x7E, 0x00, 0x00, 0x4E}), "   \x88\xEA");
  EXPECT_EQ(core::Utf16BeToShiftJis(Bytes{}), "");
}

}  // namespace
