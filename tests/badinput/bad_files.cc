#include "tests/badinput/bad_files.h"

#include <algorithm>

namespace badinput {
namespace {

void Put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v >> 8));
  b.push_back(static_cast<uint8_t>(v));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, static_cast<uint16_t>(v >> 16));
  Put16(b, static_cast<uint16_t>(v));
}

}  // namespace

Bytes SampleFontBytes() { return testsupport::SampleFont().Build(); }

Bytes FirstBytes(const Bytes& bytes, size_t count) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(std::min(count, bytes.size())));
}

std::vector<Cut> FontCuts(const Bytes& font) {
  std::vector<Cut> cuts = {{"empty", 0}, {"in the offset table", 6}, {"after the offset table", 12}};
  std::vector<testsupport::EntryView> entries = testsupport::ReadEntries(font);
  for (size_t k = 0; k < entries.size(); ++k)
    cuts.push_back({"in directory entry " + std::to_string(k), 12 + 16 * k + 10});
  for (const testsupport::EntryView& entry : entries) {
    cuts.push_back({"at the start of " + entry.tag, entry.offset});
    cuts.push_back({"in the middle of " + entry.tag, entry.offset + entry.length / 2});
  }
  return cuts;
}

std::vector<Cut> TableCuts(const Bytes& table, size_t headerSize, size_t recordCount, size_t recordSize) {
  std::vector<Cut> cuts = {{"empty", 0}, {"in the header", headerSize / 2}, {"after the header", headerSize}};
  for (size_t k = 0; k < recordCount; ++k)
    cuts.push_back({"in record " + std::to_string(k), headerSize + recordSize * k + recordSize / 2});
  size_t recordsEnd = headerSize + recordSize * recordCount;
  if (recordsEnd < table.size()) cuts.push_back({"in the data", recordsEnd + (table.size() - recordsEnd) / 2});
  return cuts;
}

Bytes WithEntry(const Bytes& font, size_t index, uint32_t offset, uint32_t length) {
  Bytes out = font;
  testsupport::PatchEntry(out, index, offset, length);
  return out;
}

size_t EntryIndex(const Bytes& font, const std::string& tag) {
  std::vector<testsupport::EntryView> entries = testsupport::ReadEntries(font);
  for (size_t k = 0; k < entries.size(); ++k)
    if (entries[k].tag == tag) return k;
  return entries.size();
}

Bytes WithNumTables(const Bytes& font, uint16_t numTables) {
  Bytes out = font;
  out[4] = static_cast<uint8_t>(numTables >> 8);
  out[5] = static_cast<uint8_t>(numTables);
  return out;
}

Bytes WithTag(const Bytes& font, size_t index, const std::string& tag) {
  Bytes out = font;
  std::copy(tag.begin(), tag.begin() + 4, out.begin() + static_cast<long>(12 + 16 * index));
  return out;
}

Bytes HugeCountCollection() {
  Bytes sample = SampleFontBytes();
  Bytes out = {'t', 't', 'c', 'f'};
  Put32(out, 0x00010000);
  Put32(out, 0xFFFFFFFF);
  // The two offsets of the fonts, then the fonts; every table offset in a
  // collection counts from the start of the file.
  uint32_t first = 20, second = first + static_cast<uint32_t>(sample.size());
  Put32(out, first);
  Put32(out, second);
  for (uint32_t base : {first, second}) {
    Bytes font = sample;
    for (size_t k = 0; k < testsupport::ReadEntries(sample).size(); ++k) {
      testsupport::EntryView entry = testsupport::ReadEntries(sample)[k];
      testsupport::PatchEntry(font, k, entry.offset + base, entry.length);
    }
    out.insert(out.end(), font.begin(), font.end());
  }
  return out;
}

Bytes NameTableOfRecords(uint32_t count) {
  Bytes table;
  Put16(table, 0);
  Put16(table, static_cast<uint16_t>(count));
  Put16(table, static_cast<uint16_t>(6 + 12 * count));  // wraps beyond 5460 records, as the file would
  for (uint32_t k = 0; k < count; ++k) {
    Put16(table, 1);
    Put16(table, 0);
    Put16(table, 0);
    Put16(table, static_cast<uint16_t>(k % 26));
    Put16(table, 1);
    Put16(table, static_cast<uint16_t>(k % 26));
  }
  for (char c = 'a'; c <= 'z'; ++c) table.push_back(static_cast<uint8_t>(c));
  return table;
}

Bytes FontWithNameTable(const Bytes& name) {
  testsupport::FontBuilder font;
  font.AddTable("head", testsupport::MakeHead()).AddTable("maxp", testsupport::MakeMaxp()).AddTable("name", name);
  return font.Build();
}

Bytes CmapWithRecordOffset(uint32_t subtableOffset) {
  Bytes table;
  Put16(table, 0);
  Put16(table, 2);
  for (uint16_t platform : {1, 3}) {
    Put16(table, platform);
    Put16(table, 1);
    Put32(table, subtableOffset);
  }
  return table;
}

Bytes MacJapaneseCmap() {
  Bytes format0;
  Put16(format0, 0);
  Put16(format0, 262);
  Put16(format0, 0);
  for (int code = 0; code < 256; ++code) format0.push_back(static_cast<uint8_t>(code));

  Bytes format2;
  Put16(format2, 2);
  Put16(format2, 0);  // length, set below
  Put16(format2, 0);
  for (int high = 0; high < 256; ++high) Put16(format2, high == 0x82 ? 8 : 0);
  // Subheader 0 (one-byte codes), then subheader 1 (0x82 0x9F..0xF1); each
  // idRangeOffset counts from its own field to the subheader's first glyph.
  for (uint16_t v : {0, 256, 0, 16 - 6, 0x9F, 83, 0, 16 + 512 - 8 - 6}) Put16(format2, v);
  for (int code = 0; code < 256; ++code) Put16(format2, static_cast<uint16_t>(code < 0x20 ? 0 : code - 0x1D));
  for (int k = 0; k < 83; ++k) Put16(format2, static_cast<uint16_t>(300 + k));
  format2[2] = static_cast<uint8_t>(format2.size() >> 8);
  format2[3] = static_cast<uint8_t>(format2.size());

  Bytes table;
  Put16(table, 0);
  Put16(table, 2);
  Put16(table, 0);
  Put16(table, 3);
  Put32(table, 4 + 2 * 8);
  Put16(table, 1);
  Put16(table, 1);
  Put32(table, static_cast<uint32_t>(kMacCmapFormat2Offset));
  table.insert(table.end(), format0.begin(), format0.end());
  table.insert(table.end(), format2.begin(), format2.end());
  return table;
}

Bytes MacJapaneseName() {
  Bytes sjis = {0x82, 0xA0, 0x82, 0xA2, 0x93, 0xFA, 0x96, 0x7B};
  return testsupport::MakeName({{1, 0, 0, 1, testsupport::AsciiBytes("Sample")}, {1, 1, 11, 4, sjis}});
}

std::string Os2ProfileWithSections(size_t sections, const std::string& tableName) {
  std::string text;
  text.reserve(sections * 24);
  for (size_t k = 0; k < sections; ++k) text += "[filler" + std::to_string(k) + "]\r\nkey=" + std::to_string(k) + "\r\n";
  text += "[SUMMARY]\r\nFileName=" + tableName + "\r\nversion=1\r\nusWeightClass=700\r\nachVendID=LAST\r\n";
  text += "[PANOSE]\r\nbWeight=8\r\n";
  return text;
}

std::string NameProfileWithSections(size_t sections, size_t records, const std::string& textName,
                                    const std::string& tableName) {
  std::string text = "[SUMMARY]\r\nFileName=" + tableName + "\r\nnumOfNameRec=" + std::to_string(records) + "\r\n";
  text.reserve(sections * 80);
  for (size_t k = 0; k + 1 < sections; ++k) {
    text += "[" + std::to_string(k) + "]\r\n";
    if (k < records)
      text += "PlatformID=1\r\nencodingID=0\r\nLanguageID=0\r\nNameID=" + std::to_string(k % 20) +
              "\r\nFileName=" + textName + "\r\n";
  }
  return text;
}

}  // namespace badinput
