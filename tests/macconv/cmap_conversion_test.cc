// The cmap conversion in memory: the Unicode subtable built from a Mac format 2
// subtable, the record rules, the format 2 lookup, damaged tables and the
// throttled progress.
#include <gtest/gtest.h>

#include <chrono>

#include "core/text/shift_jis.h"
#include "core/tables/cmap.h"
#include "macconv/engine/cmap_conversion.h"
#include "macconv/engine/progress_throttle.h"
#include "tests/macconv/mac_tables.h"

namespace {

using macconv::ProgressThrottle;
using mactest::Bytes;
using mactest::U16;
using mactest::U32;

Bytes Convert(const Bytes& input, macconv::ProgressSink* progress = nullptr,
              macconv::CmapConversionSummary* summary = nullptr) {
  core::ByteWriter output;
  ProgressThrottle throttle(progress);
  auto result = macconv::ConvertCmapTable(input, output, throttle);
  if (summary) *summary = result;
  return output.bytes();
}

class RecordingProgress : public macconv::ProgressSink {
 public:
  void ShowProgress(const std::string& text) override { texts.push_back(text); ++calls; }
  void ClearProgress() override { ++clears; ++calls; }
  void HoldProgress(int milliseconds) override { holds.push_back(milliseconds); }
  std::vector<std::string> texts;
  std::vector<int> holds;
  int clears = 0;
  int calls = 0;
};

TEST(UnicodeSubtable, HasTheFixedLayoutOfTheCodeTable) {
  std::map<uint16_t, uint16_t> glyphs = mactest::NumberedShiftJisGlyphs();
  glyphs[0x00] = 7;  // the glyph every unmapped code inside a segment takes
  Bytes output = Convert(mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(glyphs)}, 0));

  ASSERT_EQ(U16(output, 0), 0);
  ASSERT_EQ(U16(output, 2), 1);
  EXPECT_EQ(U16(output, 4), 3);
  EXPECT_EQ(U16(output, 6), 1);
  ASSERT_EQ(U32(output, 8), 12u);
  ASSERT_EQ(U16(output, 12), 4);
  mactest::Format4 f = mactest::ReadFormat4(output, 12);
  EXPECT_EQ(output.size(), 12u + 35334);
  EXPECT_EQ(f.length, 35334);
  EXPECT_EQ(f.language, 0);
  EXPECT_EQ(f.segCountX2, 2 * 1873);
  EXPECT_EQ(f.searchRange, 2048);
  EXPECT_EQ(f.entrySelector, 10);
  EXPECT_EQ(f.rangeShift, 1698);
  EXPECT_EQ(f.glyphCount, 10167u);

  // The first and last segments; U+007E ends the first one at U+007D, and
  // U+00A9 to U+00AB (three unmapped codes) split U+00A2-U+00A8 from U+00AC.
  std::vector<std::pair<uint16_t, uint16_t>> first = {{0x20, 0x7D}, {0xA2, 0xA8}, {0xAC, 0xAC}, {0xB0, 0xB6},
                                                      {0xD7, 0xD7}, {0xF7, 0xF7}, {0x391, 0x3A9}};
  for (size_t j = 0; j < first.size(); ++j) {
    EXPECT_EQ(f.startCode[j], first[j].first) << j;
    EXPECT_EQ(f.endCode[j], first[j].second) << j;
  }
  std::vector<std::pair<uint16_t, uint16_t>> last = {{0xFF01, 0xFF5D}, {0xFF61, 0xFF9F}, {0xFFE3, 0xFFE5},
                                                     {0xFFFF, 0xFFFF}};
  for (size_t i = 0; i < last.size(); ++i) {
    size_t j = 1873 - last.size() + i;
    EXPECT_EQ(f.startCode[j], last[i].first) << j;
    EXPECT_EQ(f.endCode[j], last[i].second) << j;
  }
  for (uint32_t u : {0x7Eu, 0xA9u, 0xAAu, 0xABu, 0x1Fu}) EXPECT_EQ(f.glyphs.count(u), 0u) << std::hex << u;

  // Only the closing segment has a delta; every segment uses the glyph array.
  size_t glyphsBefore = 0;
  for (size_t j = 0; j < 1873; ++j) {
    EXPECT_EQ(f.idDelta[j], j == 1872 ? 1 : 0);
    EXPECT_EQ(f.idRangeOffset[j], 2 * (1873 - j + glyphsBefore)) << j;
    glyphsBefore += f.endCode[j] - f.startCode[j] + 1;
  }

  // Every mapped code reads back as its Mac glyph; 3129 unmapped codes inside
  // segments take the glyph of code 0x00, and U+FFFF that glyph plus 1.
  size_t unmapped = 0;
  for (const auto& [u, glyph] : f.glyphs) {
    uint32_t s = core::UnicodeToShiftJis(u);
    if (u == 0xFFFF) {
      EXPECT_EQ(glyph, 8);
    } else if (s == 0) {
      ++unmapped;
      EXPECT_EQ(glyph, 7) << std::hex << u;
    } else {
      ASSERT_EQ(glyph, glyphs.at(static_cast<uint16_t>(s))) << std::hex << u;
    }
  }
  EXPECT_EQ(unmapped, 3129u);
  EXPECT_EQ(f.glyphs.at(0xA4), 7);  // between U+00A3 and U+00A5, inside a segment
}

TEST(UnicodeSubtable, AZeroGlyphForCodeZeroLeavesGapsAndFfffUnmapped) {
  Bytes output = Convert(mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2({{0x41, 5}})}));
  mactest::Format4 f = mactest::ReadFormat4(output, 12);
  EXPECT_EQ(f.glyphs.at(0x41), 5);
  EXPECT_EQ(f.glyphs.at(0x42), 0);
  EXPECT_EQ(f.glyphs.at(0xA4), 0);
  EXPECT_EQ(f.glyphs.at(0xFFFF), 0);
}

TEST(CmapRecords, KeepOtherSubtablesAndPlaceTheNewOneAfterThem) {
  Bytes format0 = mactest::MakeOpaqueSubtable(0, 262);
  Bytes format2 = mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs());
  Bytes input = mactest::MakeCmapTable({{1, 0, 0}, {1, 1, 1}}, {format0, format2}, 0);
  Bytes output = Convert(input);

  ASSERT_EQ(U16(output, 2), 2);
  EXPECT_EQ(U16(output, 4), 1);
  EXPECT_EQ(U16(output, 6), 0);
  EXPECT_EQ(U32(output, 8), 20u);
  EXPECT_EQ(U16(output, 12), 3);
  EXPECT_EQ(U16(output, 14), 1);
  EXPECT_EQ(U32(output, 16), 282u);
  EXPECT_EQ(Bytes(output.begin() + 20, output.begin() + 282), format0);
  EXPECT_EQ(U16(output, 282), 4);
  EXPECT_EQ(output.size(), 282u + 35334);
}

TEST(CmapRecords, CopyKnownFormatsAndZeroTheRest) {
  // A Mac Japanese subtable of format 4 or 6 keeps platform 1 and its bytes; a
  // Windows format 4 is copied, not rebuilt; 8, 10 and 12 carry 32-bit lengths.
  std::vector<Bytes> subtables = {
      mactest::MakeOpaqueSubtable(4, 40), mactest::MakeOpaqueSubtable(6, 30), testsupport::MakeCmap({0x41}),
      mactest::MakeOpaqueSubtable(8, 24), mactest::MakeOpaqueSubtable(10, 28), mactest::MakeOpaqueSubtable(12, 40),
  };
  subtables[2].erase(subtables[2].begin(), subtables[2].begin() + 12);  // just the format 4 subtable
  std::vector<mactest::CmapRecord> records = {{1, 1, 0}, {1, 1, 1}, {3, 1, 2}, {0, 4, 3}, {3, 10, 4}, {3, 10, 5}};
  Bytes output = Convert(mactest::MakeCmapTable(records, subtables, 0));

  ASSERT_EQ(U16(output, 2), records.size());
  size_t expected = 4 + 8 * records.size();
  for (size_t r = 0; r < records.size(); ++r) {
    EXPECT_EQ(U16(output, 4 + 8 * r), records[r].platformID) << r;
    EXPECT_EQ(U16(output, 6 + 8 * r), records[r].encodingID) << r;
    ASSERT_EQ(U32(output, 8 + 8 * r), expected) << r;
    const Bytes& subtable = subtables[records[r].subtable];
    EXPECT_EQ(Bytes(output.begin() + expected, output.begin() + expected + subtable.size()), subtable) << r;
    expected += subtable.size();
  }
  EXPECT_EQ(output.size(), expected);

  for (uint16_t format : {1, 3, 5, 7, 9, 11, 13, 14}) {
    Bytes zeroed = Convert(mactest::MakeCmapTable({{1, 1, 0}, {3, 1, 1}},
                                                  {mactest::MakeOpaqueSubtable(format, 20), subtables[2]}));
    ASSERT_EQ(zeroed.size(), 20 + subtables[2].size()) << format;
    EXPECT_EQ(U16(zeroed, 4), 0) << format;
    EXPECT_EQ(U16(zeroed, 6), 0) << format;
    EXPECT_EQ(U32(zeroed, 8), 0u) << format;
    EXPECT_EQ(U32(zeroed, 16), 20u) << format;
  }
}

TEST(CmapRecords, RecordsThatShareASubtablePointAtOneCopy) {
  // 65,535 records alternating between two Mac subtables, every third one a
  // plain copy of the first: each is built or copied once.
  Bytes first = mactest::MakeFormat2({{0x41, 3}});
  Bytes second = mactest::MakeFormat2({{0x41, 4}});
  std::vector<mactest::CmapRecord> records;
  for (uint32_t r = 0; r < 0xFFFF; ++r)
    records.push_back(r % 3 == 2 ? mactest::CmapRecord{1, 0, 0} : mactest::CmapRecord{1, 1, r % 2});
  macconv::CmapConversionSummary summary;
  Bytes output = Convert(mactest::MakeCmapTable(records, {first, second}), nullptr, &summary);
  const uint32_t subtables = 4 + 8 * 0xFFFF;
  EXPECT_EQ(summary.converted, 2 * 0xFFFF / 3);
  ASSERT_EQ(output.size(), subtables + 2 * 35334 + first.size());
  EXPECT_EQ(U32(output, 4 + 4), subtables);
  EXPECT_EQ(U32(output, 4 + 8 + 4), subtables + 35334);
  EXPECT_EQ(U16(output, 4 + 16), 1);
  EXPECT_EQ(U32(output, 4 + 16 + 4), subtables + 2 * 35334);
  EXPECT_EQ(U32(output, 4 + 6 * 8 + 4), subtables);
  EXPECT_EQ(U32(output, 4 + 7 * 8 + 4), subtables + 35334);
  EXPECT_EQ(U16(output, 4 + 7 * 8), 3);
}

TEST(CmapRecords, DamagedTablesStayWithinTheInput) {
  // 65,535 records claimed in a 100-byte file: only the 12 that fit are read.
  Bytes tiny(100, 0);
  tiny[2] = tiny[3] = 0xFF;
  macconv::CmapConversionSummary summary;
  Bytes output = Convert(tiny, nullptr, &summary);
  EXPECT_EQ(summary.records, 12);
  EXPECT_EQ(U16(output, 2), 12);
  // Each record reads as format 0 at offset 0 claiming 65,535 bytes: the one
  // subtable gets its 4 header bytes and the 96 bytes the input holds after them.
  EXPECT_EQ(output.size(), 100u + 100);

  // A subtable whose length runs past the end is copied as far as it goes.
  Bytes longClaim = mactest::MakeCmapTable({{3, 1, 0}}, {mactest::MakeOpaqueSubtable(6, 30)});
  longClaim[12 + 2] = 0xFF;
  output = Convert(longClaim);
  EXPECT_EQ(output.size(), longClaim.size());
  EXPECT_EQ(U16(output, 14), 0xFF1E);

  // A 32-bit length of 4 GiB, and a record pointing far past the end.
  Bytes huge = mactest::MakeCmapTable({{3, 10, 0}, {3, 1, 0}}, {mactest::MakeOpaqueSubtable(12, 20)});
  huge[20 + 4] = 0xFF;
  huge[8 + 8] = 0x7F;
  output = Convert(huge);
  EXPECT_LT(output.size(), 2 * huge.size());

  // A Mac subtable cut short after its keys: lookups past the end read zero.
  Bytes format2 = mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs());
  format2.resize(600);
  output = Convert(mactest::MakeCmapTable({{1, 1, 0}}, {format2}));
  mactest::Format4 f = mactest::ReadFormat4(output, 12);
  EXPECT_EQ(f.glyphCount, 10167u);
}

TEST(Format2Glyph, FollowsTheSubheaderRangeAndDelta) {
  // Subheader 0 covers one-byte codes 0x20-0x2F, subheader 1 (lead 0x88)
  // the trail bytes 0x9F-0xA0 with idDelta -2.
  Bytes t(518 + 16 + 2 * 18, 0);
  auto set = [&](size_t at, uint16_t v) {
    t[at] = static_cast<uint8_t>(v >> 8);
    t[at + 1] = static_cast<uint8_t>(v);
  };
  set(0, 2);
  set(6 + 2 * 0x88, 8);
  set(518, 0x20);
  set(520, 16);
  set(522, 0);
  set(524, 534 - 524);
  set(526, 0x9F);
  set(528, 2);
  set(530, 0xFFFE);
  set(532, 566 - 532);
  for (int i = 0; i < 16; ++i) set(534 + 2 * i, static_cast<uint16_t>(i == 1 ? 0 : 100 + i));
  set(566, 1);
  set(568, 50);
  core::Format2Subtable mac = core::ReadFormat2(t, 0);
  EXPECT_EQ(core::Format2Glyph(mac, 0x20), 100);
  EXPECT_EQ(core::Format2Glyph(mac, 0x21), 0);  // a zero entry stays 0
  EXPECT_EQ(core::Format2Glyph(mac, 0x2F), 115);
  EXPECT_EQ(core::Format2Glyph(mac, 0x1F), 0);  // below firstCode
  EXPECT_EQ(core::Format2Glyph(mac, 0x30), 0);  // past entryCount
  EXPECT_EQ(core::Format2Glyph(mac, 0x889F), 0xFFFF);  // 1 - 2, modulo 65536
  EXPECT_EQ(core::Format2Glyph(mac, 0x88A0), 48);
  EXPECT_EQ(core::Format2Glyph(mac, 0x88A1), 0);
  EXPECT_EQ(core::Format2Glyph(mac, 0x8120), 100);  // lead 0x81 has key 0 here
}

TEST(ConversionProgress, ShowsEachPassAndEndsOnTheGlyphCount) {
  RecordingProgress progress;
  auto started = std::chrono::steady_clock::now();
  Convert(mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2({})}), &progress);
  auto elapsed = std::chrono::steady_clock::now() - started;

  ASSERT_FALSE(progress.texts.empty());
  EXPECT_EQ(progress.texts.front().rfind("\n     Counting Segments     \n     UNICODE = 0x", 0), 0u);
  EXPECT_EQ(progress.texts.back(),
            "\n     Number of Glyphs = 10167     \n     Count of Glyphs = 10167     \n     UNICODE = 0xffff     ");
  auto shown = [&](const std::string& text) {
    return std::find(progress.texts.begin(), progress.texts.end(), text) != progress.texts.end();
  };
  EXPECT_TRUE(shown("\n     Number of Segments = 1873     \n     Recording Segments     \n     UNICODE = 0xffff     "
                    "\n     Count of Segments = 1872     "));
  EXPECT_EQ(progress.holds, (std::vector<int>{1000, 500}));
  EXPECT_GE(progress.clears, 1);
  // A delivery per interval plus the few pass ends and clears, never one per code.
  auto intervals = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed) / macconv::kProgressInterval;
  EXPECT_LE(progress.calls, 12 + 2 * intervals);
}

TEST(ConversionProgress, ThrottleHoldsBackUntilTheIntervalOrTheEnd) {
  RecordingProgress sink;
  {
    ProgressThrottle throttle(&sink, std::chrono::hours(1));
    EXPECT_TRUE(throttle.Due());
    throttle.Show("first");
    int due = 0;
    for (int i = 0; i < 100000; ++i) due += throttle.Due();
    EXPECT_EQ(due, 0);
    throttle.Clear();
    throttle.Final("last of a pass");
    EXPECT_EQ(sink.calls, 1);
  }
  // The waiting clear and text arrive in order when the throttle finishes.
  EXPECT_EQ(sink.texts, (std::vector<std::string>{"first", "last of a pass"}));
  EXPECT_EQ(sink.clears, 1);

  ProgressThrottle silent(nullptr);
  EXPECT_FALSE(silent.Due());
}

}  // namespace
