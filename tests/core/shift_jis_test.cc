#include "core/text/shift_jis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// Runs first so that the arrays are built by racing threads (ctest also runs
// every test in a process of its own).
TEST(ShiftJisTable, FirstLookupsFromSeveralThreadsAgree) {
  constexpr int kThreads = 8;
  std::atomic<int> waiting{kThreads};
  std::vector<int> faults(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      waiting.fetch_sub(1);
      while (waiting.load() > 0) {
      }
      for (const core::CodePair& pair : core::ShiftJisList().first(core::kShiftJisCharacterCount)) {
        if (core::ShiftJisToUnicode(pair.key) != pair.value) ++faults[t];
        if (core::UnicodeToShiftJis(pair.value) != pair.key) ++faults[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(faults[t], 0) << "thread " << t;
}

TEST(ShiftJisTable, ListsHoldEveryCharacterOnceInOrderAndEndInTheEndPair) {
  const auto sjis = core::ShiftJisList();
  const auto unicode = core::UnicodeList();
  ASSERT_EQ(sjis.size(), 7038u);
  ASSERT_EQ(unicode.size(), 7038u);
  EXPECT_EQ(sjis.back().key, 0u);
  EXPECT_EQ(sjis.back().value, 0u);
  EXPECT_EQ(unicode.back().key, 0u);
  EXPECT_EQ(unicode.back().value, 0u);

  // Byte order of the codes: single bytes sort before any lead byte they precede.
  auto byteOrder = [](uint32_t code) { return code < 0x100 ? code << 8 : code; };
  for (size_t i = 1; i < core::kShiftJisCharacterCount; ++i) {
    ASSERT_LT(byteOrder(sjis[i - 1].key), byteOrder(sjis[i].key)) << "at " << i;
    ASSERT_LT(unicode[i - 1].key, unicode[i].key) << "at " << i;
  }
  EXPECT_EQ(sjis.front().key, 0x20u);
  EXPECT_EQ(sjis[94].key, 0x7Eu);
  EXPECT_EQ(sjis[95].key, 0x8140u);
  EXPECT_EQ(sjis[core::kShiftJisCharacterCount - 1].key, 0xEAA4u);
  EXPECT_EQ(unicode.front().key, 0x20u);
  EXPECT_EQ(unicode[core::kShiftJisCharacterCount - 1].key, 0xFFE5u);

  // The Unicode list is the Shift-JIS list swapped; no key is 0 before the end.
  std::vector<std::pair<uint32_t, uint32_t>> swapped;
  for (const auto& pair : sjis.first(core::kShiftJisCharacterCount)) {
    EXPECT_NE(pair.key, 0u);
    swapped.emplace_back(pair.value, pair.key);
  }
  std::sort(swapped.begin(), swapped.end());
  for (size_t i = 0; i < core::kShiftJisCharacterCount; ++i) {
    ASSERT_EQ(swapped[i].first, unicode[i].key);
    ASSERT_EQ(swapped[i].second, unicode[i].value);
  }
}

TEST(ShiftJisTable, CountsByRange) {
  int ascii = 0, katakana = 0, doubleByte = 0;
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    if (core::ShiftJisToUnicode(code) == 0x20 && code != 0x20) continue;
    if (code < 0x80) {
      ++ascii;
    } else if (code < 0x100) {
      ++katakana;
      EXPECT_EQ(core::ShiftJisToUnicode(code), 0xFF61 + (code - 0xA1)) << std::hex << code;
    } else {
      ++doubleByte;
      const uint32_t lead = code >> 8;
      EXPECT_TRUE((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA)) << std::hex << code;
    }
  }
  EXPECT_EQ(ascii, 95);
  EXPECT_EQ(katakana, 63);
  EXPECT_EQ(doubleByte, 6879);
  for (uint32_t code = 0x20; code <= 0x7E; ++code) {
    if (code == 0x5C || code == 0x7E) continue;
    EXPECT_EQ(core::ShiftJisToUnicode(code), code);
  }
}

TEST(ShiftJisTable, HoldsTheJisRowsNotTheWindowsVariant) {
  const std::pair<uint32_t, uint32_t> rows[] = {
      {0x5C, 0x00A5},   {0x7E, 0x203E},   {0x815F, 0x005C}, {0x8160, 0x301C}, {0x8161, 0x2016},
      {0x817C, 0x2212}, {0x8191, 0x00A2}, {0x8192, 0x00A3}, {0x81CA, 0x00AC}, {0x8140, 0x3000},
      {0x889F, 0x4E9C}, {0xEAA4, 0x7199}, {0xA1, 0xFF61},   {0xDF, 0xFF9F}};
  for (const auto& [code, value] : rows) {
    EXPECT_EQ(core::ShiftJisToUnicode(code), value) << std::hex << code;
    EXPECT_EQ(core::UnicodeToShiftJis(value), code) << std::hex << value;
  }
}

TEST(ShiftJisTable, CodesOutsideTheTableGiveTheDefaults) {
  // Control bytes, the unused single bytes, NEC row 13, the NEC-selected and
  // IBM extension rows, the user-defined area, lead bytes past 0xEA, and keys
  // above 16 bits.
  for (uint32_t code : {0x00u, 0x1Fu, 0x7Fu, 0x80u, 0xA0u, 0xE0u, 0xFDu, 0x8540u, 0x8740u, 0xEAA5u,
                        0xEB40u, 0xED40u, 0xF040u, 0xFA40u, 0xFFFFu, 0x10000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(core::ShiftJisToUnicode(code), 0x20u) << std::hex << code;
  }
  for (uint32_t value : {0x0000u, 0x001Fu, 0x007Eu, 0x00A6u, 0x2225u, 0xFF3Cu, 0xFF5Eu, 0xFFE6u,
                         0xFFFFu, 0x10000u, 0x1F600u}) {
    EXPECT_EQ(core::UnicodeToShiftJis(value), 0u) << std::hex << value;
  }
}

TEST(ShiftJisTable, EveryCodeRoundTrips) {
  int mapped = 0;
  for (uint32_t code = 1; code <= 0xFFFF; ++code) {
    const uint32_t value = core::ShiftJisToUnicode(code);
    if (value == 0x20 && code != 0x20) continue;
    ++mapped;
    EXPECT_EQ(core::UnicodeToShiftJis(value), code) << std::hex << code;
  }
  EXPECT_EQ(mapped, 7037);
  int values = 0;
  for (uint32_t value = 0; value <= 0xFFFF; ++value) {
    const uint32_t code = core::UnicodeToShiftJis(value);
    if (code == 0) continue;
    ++values;
    EXPECT_EQ(core::ShiftJisToUnicode(code), value) << std::hex << value;
  }
  EXPECT_EQ(values, 7037);
}

// The Unicode character map that the Mac cmap conversion derives from this
// table alone: a segment starts at a mapped code after three unmapped codes
// and ends at the last mapped code before three unmapped codes, so gaps of one
// or two unmapped codes stay inside it; a closing segment at U+FFFF follows.
struct Segment {
  uint32_t start, end;
};

std::vector<Segment> UnicodeSegments() {
  std::vector<Segment> segments;
  uint32_t prev1 = 0, prev2 = 0, prev3 = 0;
  for (uint32_t u = 0x20; u <= 0xFFFF; ++u) {
    const uint32_t s = core::UnicodeToShiftJis(u);
    if (s != 0 && prev1 == 0 && prev2 == 0 && prev3 == 0) segments.push_back({u, 0});
    if (s == 0 && prev1 == 0 && prev2 == 0 && prev3 != 0) segments.back().end = u - 3;
    prev3 = prev2;
    prev2 = prev1;
    prev1 = s;
  }
  segments.push_back({0xFFFF, 0xFFFF});
  return segments;
}

TEST(ShiftJisTable, ImpliesTheUnicodeCharacterMapLayout) {
  const std::vector<Segment> segments = UnicodeSegments();
  const uint32_t segCount = static_cast<uint32_t>(segments.size());
  uint32_t glyphCount = 0, unmappedInside = 0;
  for (const Segment& segment : segments) {
    ASSERT_LE(segment.start, segment.end);
    glyphCount += segment.end - segment.start + 1;
    if (segment.start == 0xFFFF) break;  // the closing segment
    for (uint32_t u = segment.start; u <= segment.end; ++u) unmappedInside += core::UnicodeToShiftJis(u) == 0;
  }
  uint32_t searchRange = 1, entrySelector = 0;
  while (searchRange <= segCount) searchRange *= 2, ++entrySelector;
  EXPECT_EQ(segCount, 1873u);
  EXPECT_EQ(glyphCount, 10167u);
  EXPECT_EQ(16 + 8 * segCount + 2 * glyphCount, 35334u);
  EXPECT_EQ(unmappedInside, 3129u);
  EXPECT_EQ(glyphCount - 1 - unmappedInside, 7037u);
  EXPECT_EQ(searchRange, 2048u);
  EXPECT_EQ(entrySelector - 1, 10u);
  EXPECT_EQ(2 * segCount - searchRange, 1698u);

  const std::vector<std::pair<uint32_t, uint32_t>> first = {
      {0x20, 0x7D}, {0xA2, 0xA8}, {0xAC, 0xAC}, {0xB0, 0xB6}, {0xD7, 0xD7}, {0xF7, 0xF7}, {0x391, 0x3A9}};
  const std::vector<std::pair<uint32_t, uint32_t>> last = {
      {0xFF01, 0xFF5D}, {0xFF61, 0xFF9F}, {0xFFE3, 0xFFE5}, {0xFFFF, 0xFFFF}};
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(segments[i].start, first[i].first) << i;
    EXPECT_EQ(segments[i].end, first[i].second) << i;
  }
  for (size_t i = 0; i < last.size(); ++i) {
    const Segment& segment = segments[segments.size() - last.size() + i];
    EXPECT_EQ(segment.start, last[i].first) << i;
    EXPECT_EQ(segment.end, last[i].second) << i;
  }
}

}  // namespace
