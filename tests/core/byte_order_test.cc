#include "core/io/byte_order.h"
#include "core/io/byte_cursor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TagValue, OrdersTagsAsBigEndianNumbers) {
  const uint8_t head[] = {'h', 'e', 'a', 'd'};
  const uint8_t os2[] = {'O', 'S', '/', '2'};
  const uint8_t cmap[] = {'c', 'm', 'a', 'p'};
  EXPECT_EQ(core::TagValue(head), 0x68656164u);
  EXPECT_EQ(core::TagValue(os2), 0x4F532F32u);
  EXPECT_LT(core::TagValue(os2), core::TagValue(cmap));
}

TEST(ByteCursor, MissingBytesReadAsZeroAndEveryReadSaysWhetherItWasWhole) {
  const uint8_t bytes[] = {0x01, 0x02, 0x03};
  core::ByteCursor cursor(bytes);
  uint16_t u16;
  uint32_t u32;
  EXPECT_TRUE(cursor.ReadU16(&u16));
  EXPECT_EQ(u16, 0x0102);
  EXPECT_TRUE(cursor.whole());
  EXPECT_FALSE(cursor.ReadU32(&u32));
  EXPECT_EQ(u32, 0x03000000u);  // the byte that is there, the rest zero
  EXPECT_EQ(cursor.offset(), 6u);  // moved on by the width, so later fields keep their places
  EXPECT_FALSE(cursor.ReadU16(&u16));
  EXPECT_EQ(u16, 0);
  EXPECT_FALSE(cursor.whole());
  EXPECT_EQ(cursor.U16At(1), 0x0203);
  EXPECT_EQ(cursor.U32At(uint64_t{1} << 40), 0u);
  EXPECT_EQ(cursor.Clip(2, 10).size(), 1u);
  EXPECT_TRUE(cursor.Clip(3, 1).empty());
}

TEST(RecordsThatFit, NamesTheRoundingOfARecordCutShort) {
  using core::Rounding;
  // 6 + 12 x 2 = 30 bytes hold two whole records; a 31st byte starts a third.
  EXPECT_EQ(core::RecordsThatFit(30, 6, 5, 12, Rounding::kWholeRecords), 2u);
  EXPECT_EQ(core::RecordsThatFit(31, 6, 5, 12, Rounding::kWholeRecords), 2u);
  EXPECT_EQ(core::RecordsThatFit(31, 6, 5, 12, Rounding::kTouchingRecords), 3u);
  EXPECT_EQ(core::RecordsThatFit(31, 6, 1, 12, Rounding::kTouchingRecords), 1u);
  EXPECT_EQ(core::RecordsThatFit(6, 6, 5, 12, Rounding::kTouchingRecords), 0u);
  EXPECT_EQ(core::RecordsThatFit(3, 6, 5, 12, Rounding::kTouchingRecords), 0u);
  EXPECT_EQ(core::RecordsThatFit(UINT64_MAX, 0, 65535, 16, Rounding::kWholeRecords), 65535u);
}

}  // namespace
