#include "core/sfnt/checksum.h"

#include "core/io/byte_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tests/support/font_builder.h"
#include "tests/support/font_sums.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::Bytes;

core::ReadableFile OpenBytes(testsupport::TempDir& dir, const Bytes& bytes, const std::string& name = "f") {
  testsupport::WriteBytes(dir.File(name), bytes);
  core::ReadableFile file;
  EXPECT_TRUE(file.Open(dir.File(name)));
  return file;
}

TEST(TableCheckSum, KnownAnswers) {
  EXPECT_EQ(core::TableCheckSumOfBytes(testsupport::AsciiBytes("abcd")), 1633837924u);
  EXPECT_EQ(core::TableCheckSumOfBytes(testsupport::AsciiBytes("abcdxyz")), 3655064932u);
}

TEST(TableCheckSum, MasksTheLastWordWhateverFollows) {
  testsupport::TempDir dir;
  auto file = OpenBytes(dir, {0x00, 0x01, 0x02, 0x03, 0x04, 0xAA, 0xBB, 0xCC});
  EXPECT_EQ(core::TableCheckSum(file, 0, 5), 0x04010203u);
  EXPECT_EQ(core::TableCheckSum(file, 0, 6), 0x00010203u + 0x04AA0000u);
  EXPECT_EQ(core::TableCheckSum(file, 0, 7), 0x04AABB00u + 0x00010203u);
}

TEST(TableCheckSum, BytesPastTheEndCountAsZero) {
  testsupport::TempDir dir;
  auto file = OpenBytes(dir, {0x00, 0x01, 0x02, 0x03, 0x04});
  EXPECT_EQ(core::TableCheckSum(file, 0, 6), 0x04010203u);
  EXPECT_EQ(core::TableCheckSum(file, 0, 0xFFFFFFFFu), 0x04010203u);
  EXPECT_EQ(core::TableCheckSum(file, 100, 8), 0u);
  EXPECT_EQ(core::TableCheckSum(file, 0xFFFFFFFFu, 0xFFFFFFFFu), 0u);
  EXPECT_EQ(core::TableCheckSum(file, 1, 0), 0u);
}

TEST(TableCheckSum, LargeRegionMatchesByteRule) {
  Bytes big(3 * 1024 * 1024 + 7);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 131 + 7);
  testsupport::TempDir dir;
  auto file = OpenBytes(dir, big);
  EXPECT_EQ(core::TableCheckSum(file, 0, static_cast<uint32_t>(big.size())), core::TableCheckSumOfBytes(big));
  Bytes tail(big.begin() + 5, big.end() - 2);
  EXPECT_EQ(core::TableCheckSum(file, 5, static_cast<uint32_t>(tail.size())), core::TableCheckSumOfBytes(tail));
  EXPECT_EQ(core::TableCheckSum(file, 0, 0), 0u);
}

TEST(HeadCheckSum, IgnoresAdjustmentAndBytesAfter52) {
  Bytes a = testsupport::MakeHead(0x12345678);
  Bytes b = testsupport::MakeHead(0x9ABCDEF0);
  b[52] = 0x77;
  b[53] = 0x88;
  testsupport::TempDir dir;
  auto fa = OpenBytes(dir, a, "a");
  auto fb = OpenBytes(dir, b, "b");
  EXPECT_EQ(core::HeadCheckSum(fa, 0), core::HeadCheckSum(fb, 0));
  Bytes zeroed = testsupport::MakeHead(0);
  EXPECT_EQ(core::HeadCheckSum(fa, 0), core::TableCheckSumOfBytes(zeroed));
}

TEST(HeadCheckSum, ShortFileCountsMissingBytesAsZero) {
  Bytes head = testsupport::MakeHead(0);
  Bytes cut(head.begin(), head.begin() + 30);
  testsupport::TempDir dir;
  auto file = OpenBytes(dir, cut);
  EXPECT_EQ(core::HeadCheckSum(file, 0), core::TableCheckSumOfBytes(cut));
  EXPECT_EQ(core::HeadCheckSum(file, 1000), 0u);
}

TEST(WholeFontRule, BuiltFontIsConsistentAndOneByteBreaksIt) {
  Bytes font = testsupport::SampleFont().Build();
  testsupport::TempDir dir;
  auto file = OpenBytes(dir, font, "font");
  auto offsets = core::ReadOffsetTable(file, 0);
  auto entries = core::ReadTableDirectory(file, 0, offsets.numTables);
  auto sums = testsupport::ComputeFontCheckSums(file, 0, offsets.numTables, entries);
  uint32_t stored = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string tag(entries[i].tag.begin(), entries[i].tag.end());
    if (tag == "head") stored = core::LoadU32(font.data() + entries[i].offset + 8);
    else EXPECT_EQ(sums.tableSums[i], entries[i].checkSum) << tag;
  }
  EXPECT_EQ(core::ConsistencyCheck(sums.total, stored), 0u);
  EXPECT_EQ(sums.trueAdjustment, stored);
  EXPECT_EQ(testsupport::WholeFileSum(font), core::kWholeFontMagic);

  // One byte changed inside a table other than head breaks the verdict.
  auto entry = testsupport::ReadEntries(font)[3];
  font[entry.offset + 1] ^= 0x40;
  auto broken = OpenBytes(dir, font, "broken");
  auto brokenSums = testsupport::ComputeFontCheckSums(broken, 0, offsets.numTables, entries);
  EXPECT_NE(core::ConsistencyCheck(brokenSums.total, stored), 0u);
}

TEST(WholeFontRule, RealFontFromDebian) {
  std::string path = testsupport::SystemFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  if (path.empty()) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(path));
  auto offsets = core::ReadOffsetTable(file, 0);
  bool complete = false;
  auto entries = core::ReadTableDirectory(file, 0, offsets.numTables, &complete);
  ASSERT_TRUE(complete);
  auto sums = testsupport::ComputeFontCheckSums(file, 0, offsets.numTables, entries);
  uint32_t stored = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (core::IsHeadTag(entries[i].tag)) {
      uint8_t word[4];
      file.ReadAt(entries[i].offset + 8, word, 4);
      stored = core::LoadU32(word);
    } else {
      EXPECT_EQ(sums.tableSums[i], entries[i].checkSum);
    }
  }
  EXPECT_EQ(core::ConsistencyCheck(sums.total, stored), 0u);
}

}  // namespace

// The byte-place sums against a plain word-by-word sum: every length around
// the 8-byte steps and the 2,048-byte rounds, bytes of 0xFF included.
TEST(CheckSum, MatchesAWordByWordSum) {
  std::vector<uint8_t> bytes(6000);
  std::minstd_rand random(7);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random() >> 8);
  std::fill(bytes.begin() + 4000, bytes.end(), 0xFF);
  for (size_t length : {0u, 1u, 3u, 4u, 7u, 8u, 9u, 2047u, 2048u, 2052u, 4099u, 6000u}) {
    for (size_t start : {0u, 1u, 1990u}) {
      if (start + length > bytes.size()) continue;
      uint32_t expected = 0;
      for (size_t i = 0; i < length; i += 4) {
        uint8_t word[4] = {0, 0, 0, 0};
        for (size_t k = 0; k < 4 && i + k < length; ++k) word[k] = bytes[start + i + k];
        expected += uint32_t{word[0]} << 24 | uint32_t{word[1]} << 16 | uint32_t{word[2]} << 8 | word[3];
      }
      EXPECT_EQ(core::TableCheckSumOfBytes({bytes.data() + start, length}), expected) << start << "+" << length;
    }
  }
}
