// The name table conversion: record rules, the Shift-JIS strings, offsets,
// the header's stringOffset, damaged tables and the output file.
#include <gtest/gtest.h>

#include "macconv/headless/drumlin_headless.h"
#include "macconv/session/menu_commands.h"
#include "macconv/engine/name_conversion.h"
#include "macconv/engine/shift_jis_text.h"
#include "tests/macconv/mac_tables.h"
#include "tests/support/doubles.h"

namespace {

using mactest::Bytes;
using mactest::U16;
using testsupport::NameRecord;

Bytes Utf16(std::initializer_list<uint16_t> units) {
  Bytes b;
  for (uint16_t u : units) {
    b.push_back(static_cast<uint8_t>(u >> 8));
    b.push_back(static_cast<uint8_t>(u));
  }
  return b;
}

Bytes Convert(const Bytes& input) {
  auto table = macconv::ConvertNameTableBytes(input);
  EXPECT_TRUE(table.has_value());
  return table.value_or(Bytes());
}

struct Record {
  uint16_t platformID, encodingID, languageID, nameID, length, offset;
};
Record RecordOf(const Bytes& table, size_t i) {
  size_t at = 6 + 12 * i;
  return {U16(table, at), U16(table, at + 2), U16(table, at + 4), U16(table, at + 6), U16(table, at + 8),
          U16(table, at + 10)};
}
Bytes StringOf(const Bytes& table, size_t i) {
  Record r = RecordOf(table, i);
  size_t start = U16(table, 4) + r.offset;
  return Bytes(table.begin() + start, table.begin() + start + r.length);
}

TEST(ShiftJisText, ConvertsCodesByteByByteOrInPairs) {
  EXPECT_EQ(macconv::ShiftJisToUtf16(Bytes{0x5C, 0x7E, 0xB1, 0x41}), Utf16({0x00A5, 0x203E, 0xFF71, 0x0041}));
  EXPECT_EQ(macconv::ShiftJisToUtf16(Bytes{0x81, 0x40, 0x88, 0x9F, 0xEA, 0xA4}), Utf16({0x3000, 0x4E9C, 0x7199}));
  // 0x80, 0xA0 and 0xEB-0xFC are single codes outside the table; the byte
  // after 0xEB stands alone.
  EXPECT_EQ(macconv::ShiftJisToUtf16(Bytes{0x80, 0xA0, 0xEB, 0x40, 0xFC}),
            Utf16({0x20, 0x20, 0x20, 0x40, 0x20}));
  // A lead byte at the end pairs with a zero byte.
  EXPECT_EQ(macconv::ShiftJisToUtf16(Bytes{0x41, 0x82}), Utf16({0x41, 0x20}));
  EXPECT_EQ(macconv::ShiftJisToUtf16(Bytes(5000, 0x41)).size(), 4096u);
}

TEST(NameConversion, AppliesTheRecordRules) {
  Bytes japanese = {0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4E, 0x91, 0xCC};  // ゴシック体
  std::vector<NameRecord> records = {
      {1, 1, 11, 4, japanese},
      {1, 0, 0, 1, testsupport::AsciiBytes("Regular")},
      {1, 0, 11, 2, testsupport::AsciiBytes("Kept")},
      {1, 1, 0, 3, Bytes{0x5C, 0x7E, 0xB1}},
  };
  Bytes output = Convert(testsupport::MakeName(records));
  ASSERT_EQ(U16(output, 2), 4);
  EXPECT_EQ(U16(output, 4), 6 + 12 * 4);

  Record r = RecordOf(output, 0);
  EXPECT_EQ(std::vector<uint16_t>({r.platformID, r.encodingID, r.languageID, r.nameID, r.length, r.offset}),
            std::vector<uint16_t>({3, 1, 1041, 4, 10, 0}));
  EXPECT_EQ(StringOf(output, 0), Utf16({0x30B4, 0x30B7, 0x30C3, 0x30AF, 0x4F53}));

  r = RecordOf(output, 1);
  EXPECT_EQ(std::vector<uint16_t>({r.platformID, r.encodingID, r.languageID, r.nameID, r.length, r.offset}),
            std::vector<uint16_t>({1, 0, 0, 1, 7, 10}));
  EXPECT_EQ(StringOf(output, 1), testsupport::AsciiBytes("Regular"));

  r = RecordOf(output, 2);  // language 11 with encoding 0: 1041, still platform 1 and its bytes
  EXPECT_EQ(std::vector<uint16_t>({r.platformID, r.languageID, r.length, r.offset}),
            std::vector<uint16_t>({1, 1041, 4, 17}));
  EXPECT_EQ(StringOf(output, 2), testsupport::AsciiBytes("Kept"));

  r = RecordOf(output, 3);
  EXPECT_EQ(std::vector<uint16_t>({r.platformID, r.languageID, r.length, r.offset}),
            std::vector<uint16_t>({3, 0, 6, 21}));
  EXPECT_EQ(StringOf(output, 3), Utf16({0x00A5, 0x203E, 0xFF71}));
  EXPECT_EQ(output.size(), 6 + 12 * 4 + 27u);
}

TEST(NameConversion, OffsetsRunOverTheNewLengths) {
  Bytes one = Convert(testsupport::MakeName({{1, 0, 0, 1, Bytes(10, 'a')}}));
  EXPECT_EQ(RecordOf(one, 0).offset, 0);
  Bytes three = Convert(testsupport::MakeName(
      {{1, 0, 0, 1, Bytes(10, 'a')}, {1, 0, 0, 2, Bytes(20, 'b')}, {1, 0, 0, 3, Bytes(30, 'c')}}));
  EXPECT_EQ(RecordOf(three, 0).offset, 0);
  EXPECT_EQ(RecordOf(three, 1).offset, 10);
  EXPECT_EQ(RecordOf(three, 2).offset, 30);
}

TEST(NameConversion, StringOffsetPointsAtTheNewStrings) {
  // Strings stored after a gap: the new table's strings follow the records.
  Bytes input = testsupport::MakeName({{1, 0, 0, 1, testsupport::AsciiBytes("Gap")}});
  input.insert(input.begin() + 18, {'x', 'x', 'x', 'x'});
  input[5] = 22;
  Bytes output = Convert(input);
  EXPECT_EQ(U16(output, 4), 18);
  EXPECT_EQ(StringOf(output, 0), testsupport::AsciiBytes("Gap"));
}

TEST(NameConversion, LongAndDamagedStringsStayBounded) {
  // Only the first 2048 bytes of a string are used.
  Bytes output = Convert(testsupport::MakeName({{1, 1, 11, 1, Bytes(3000, 0x41)}, {1, 0, 0, 2, Bytes(3000, 'b')}}));
  EXPECT_EQ(RecordOf(output, 0).length, 4096);
  EXPECT_EQ(RecordOf(output, 1).length, 2048);
  EXPECT_EQ(RecordOf(output, 1).offset, 4096);

  // 65,535 records claimed in a small file; a string past the end of the input.
  Bytes damaged = testsupport::MakeName({{1, 0, 0, 1, testsupport::AsciiBytes("abc")}, {1, 1, 11, 2, Bytes{}}});
  damaged[2] = damaged[3] = 0xFF;
  size_t second = 6 + 12;
  damaged[second + 8] = 0x08;   // length 2048
  damaged[second + 10] = 0x40;  // offset 16384
  output = Convert(damaged);
  EXPECT_EQ(U16(output, 2), 2);
  EXPECT_EQ(U16(output, 4), 30);
  EXPECT_EQ(RecordOf(output, 1).length, 0);
  EXPECT_EQ(output.size(), 6 + 24 + 3u);

  // Strings that cannot all be reached by 16-bit offsets are refused.
  std::vector<NameRecord> many(40, NameRecord{1, 1, 11, 1, Bytes(2048, 0x41)});
  EXPECT_FALSE(macconv::ConvertNameTableBytes(testsupport::MakeName(many)).has_value());
}

TEST(NameConversion, WritesANewFileBesideTheInput) {
  testsupport::TempDir dir;
  std::string input = dir.File("font.name_table");
  testsupport::WriteBytes(input, testsupport::MakeName({{1, 1, 11, 1, Bytes{0x82, 0xA0}}}));
  shell::ScriptedChooser chooser({input});
  testsupport::RecordedMessages messages;
  std::string current = dir.File("previous");
  EXPECT_EQ(macconv::ConvertNameCommand(current, chooser, messages), shell::Outcome::kDone);
  EXPECT_EQ(chooser.requests().at(0).title, "Drumlin File Open");
  EXPECT_EQ(chooser.requests().at(0).proposedName, dir.File("previous"));
  EXPECT_EQ(messages.lines(), std::vector<std::string>{"Message: Success!"});
  Bytes output = testsupport::ReadBytes(input + ".name");
  EXPECT_EQ(StringOf(output, 0), Utf16({0x3042}));

  // An existing output is never replaced; a missing input is reported.
  messages.Clear();
  EXPECT_EQ(macconv::ConvertNameTable(input, messages), shell::Outcome::kFailed);
  EXPECT_EQ(messages.lines(),
            std::vector<std::string>{"ERROR at 002: Function CreateFile(" + input + ".name) failed!! File exist?"});
  EXPECT_EQ(testsupport::ReadBytes(input + ".name"), output);
  messages.Clear();
  EXPECT_EQ(macconv::ConvertNameTable(dir.File("none"), messages), shell::Outcome::kFailed);
  EXPECT_EQ(messages.lines(),
            std::vector<std::string>{"ERROR at 000: Function CreateFile(" + dir.File("none") + ") failed!! File exist?"});
  EXPECT_EQ(testsupport::ListFolder(dir.path()), (std::vector<std::string>{"font.name_table", "font.name_table.name"}));
}

}  // namespace
