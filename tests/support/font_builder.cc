#include "tests/support/font_builder.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace testsupport {
namespace {

void Put16(Bytes& b, uint32_t v) { AppendU16(b, v); }
void Put32(Bytes& b, uint32_t v) { AppendU32(b, v); }
void Set32(Bytes& b, size_t at, uint32_t v) { SetU32(b, at, v); }
uint32_t Get32(const Bytes& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}
uint32_t TagNumber(const std::string& tag) {
  return (uint32_t{uint8_t(tag[0])} << 24) | (uint32_t{uint8_t(tag[1])} << 16) | (uint32_t{uint8_t(tag[2])} << 8) |
         uint8_t(tag[3]);
}
uint32_t SumOf(const uint8_t* data, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i < size; i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k) word = (word << 8) | (i + k < size ? data[i + k] : 0);
    sum += word;
  }
  return sum;
}
std::string PadTag(std::string tag) {
  tag.resize(4, ' ');
  return tag;
}
void SearchFields(uint16_t numTables, uint16_t* searchRange, uint16_t* entrySelector, uint16_t* rangeShift) {
  uint16_t power = 1, log = 0;
  while (numTables > 0 && power * 2 <= numTables) {
    power *= 2;
    ++log;
  }
  *searchRange = static_cast<uint16_t>(numTables ? power * 16 : 0);
  *entrySelector = log;
  *rangeShift = static_cast<uint16_t>(numTables * 16 - *searchRange);
}

struct PlacedTable {
  std::string tag;
  uint32_t offset;
  uint32_t length;
};

// Writes one font's offset table and directory at `at` for tables already placed.
void WriteDirectory(Bytes& out, size_t at, uint32_t sfntVersion, const std::vector<PlacedTable>& placed) {
  uint16_t n = static_cast<uint16_t>(placed.size());
  uint16_t range, selector, shift;
  SearchFields(n, &range, &selector, &shift);
  Bytes header;
  Put32(header, sfntVersion);
  Put16(header, n);
  Put16(header, range);
  Put16(header, selector);
  Put16(header, shift);
  for (const PlacedTable& t : placed) {
    header.insert(header.end(), t.tag.begin(), t.tag.end());
    Put32(header, 0);
    Put32(header, t.offset);
    Put32(header, t.length);
  }
  std::copy(header.begin(), header.end(), out.begin() + static_cast<long>(at));
}

// Fills in the checksums and the head adjustment of the font whose directory is at `at`.
void FinishChecksums(Bytes& out, size_t at, const std::vector<PlacedTable>& placed, uint32_t adjustmentSkew,
                     const std::vector<std::pair<std::string, uint32_t>>& skews) {
  size_t headAt = SIZE_MAX;
  uint32_t total = 0;
  for (size_t i = 0; i < placed.size(); ++i) {
    const PlacedTable& t = placed[i];
    if (t.tag == "head" && t.length >= 12) {
      headAt = t.offset;
      Set32(out, headAt + 8, 0);
    }
    uint32_t sum = SumOf(out.data() + t.offset, t.length);
    total += sum;
    uint32_t stored = sum;
    for (const auto& [tag, delta] : skews)
      if (tag == t.tag) stored += delta;
    Set32(out, at + 12 + 16 * i + 4, stored);
  }
  total += SumOf(out.data() + at, 12 + 16 * placed.size());
  if (headAt != SIZE_MAX) Set32(out, headAt + 8, 0xB1B0AFBA - total + adjustmentSkew);
}

}  // namespace

void AppendU16(Bytes& bytes, uint32_t value) {
  bytes.push_back(static_cast<uint8_t>(value >> 8));
  bytes.push_back(static_cast<uint8_t>(value));
}
void AppendU32(Bytes& bytes, uint32_t value) {
  AppendU16(bytes, value >> 16);
  AppendU16(bytes, value & 0xFFFF);
}
void SetU16(Bytes& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<uint8_t>(value);
}
void SetU32(Bytes& bytes, size_t at, uint32_t value) {
  SetU16(bytes, at, value >> 16);
  SetU16(bytes, at + 2, value & 0xFFFF);
}

FontBuilder& FontBuilder::AddTable(const std::string& tag, Bytes data) {
  tables_.push_back({PadTag(tag), std::move(data)});
  return *this;
}

FontBuilder& FontBuilder::SkewChecksum(const std::string& tag, uint32_t delta) {
  skews_.push_back({PadTag(tag), delta});
  return *this;
}

std::vector<Table> FontBuilder::OrderedTables() const {
  std::vector<Table> ordered = tables_;
  if (sortTags_)
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Table& a, const Table& b) { return TagNumber(a.tag) < TagNumber(b.tag); });
  return ordered;
}

Bytes FontBuilder::Build() const {
  std::vector<Table> ordered = OrderedTables();
  size_t directorySize = 12 + 16 * ordered.size();
  Bytes out(directorySize, 0);
  std::vector<PlacedTable> placed;
  for (const Table& t : ordered) {
    placed.push_back({t.tag, static_cast<uint32_t>(out.size()), static_cast<uint32_t>(t.data.size())});
    out.insert(out.end(), t.data.begin(), t.data.end());
    if (align_)
      while (out.size() % 4) out.push_back(0);
  }
  WriteDirectory(out, 0, sfntVersion_, placed);
  if (checksums_) {
    std::vector<std::pair<std::string, uint32_t>> skews;
    for (const Skew& s : skews_) skews.emplace_back(s.tag, s.delta);
    FinishChecksums(out, 0, placed, adjustmentSkew_, skews);
  }
  return out;
}

Bytes BuildCollection(const std::vector<FontBuilder>& fonts, bool shareTables) {
  size_t headerSize = 12 + 4 * fonts.size();
  Bytes out(headerSize, 0);
  out[0] = 't'; out[1] = 't'; out[2] = 'c'; out[3] = 'f';
  Set32(out, 4, 0x00010000);
  Set32(out, 8, static_cast<uint32_t>(fonts.size()));
  std::vector<size_t> directoryAt;
  for (size_t f = 0; f < fonts.size(); ++f) {
    directoryAt.push_back(out.size());
    Set32(out, 12 + 4 * f, static_cast<uint32_t>(out.size()));
    out.resize(out.size() + 12 + 16 * fonts[f].tables_.size(), 0);
  }
  // Table data: a shared table is written once; head tables never are, since
  // each font's adjustment differs.
  std::vector<std::pair<Table, uint32_t>> written;
  std::vector<std::vector<PlacedTable>> placedPerFont(fonts.size());
  for (size_t f = 0; f < fonts.size(); ++f) {
    for (const Table& t : fonts[f].OrderedTables()) {
      uint32_t offset = 0;
      bool found = false;
      if (shareTables && t.tag != "head")
        for (const auto& [previous, at] : written)
          if (previous.tag == t.tag && previous.data == t.data) {
            offset = at;
            found = true;
            break;
          }
      if (!found) {
        offset = static_cast<uint32_t>(out.size());
        out.insert(out.end(), t.data.begin(), t.data.end());
        while (out.size() % 4) out.push_back(0);
        written.push_back({t, offset});
      }
      placedPerFont[f].push_back({t.tag, offset, static_cast<uint32_t>(t.data.size())});
    }
  }
  for (size_t f = 0; f < fonts.size(); ++f) {
    WriteDirectory(out, directoryAt[f], fonts[f].sfntVersion_, placedPerFont[f]);
    if (fonts[f].checksums_) {
      std::vector<std::pair<std::string, uint32_t>> skews;
      for (const auto& s : fonts[f].skews_) skews.emplace_back(s.tag, s.delta);
      FinishChecksums(out, directoryAt[f], placedPerFont[f], fonts[f].adjustmentSkew_, skews);
    }
  }
  return out;
}

std::vector<EntryView> ReadEntries(const Bytes& font, uint32_t fontOffset) {
  uint16_t n = static_cast<uint16_t>((font[fontOffset + 4] << 8) | font[fontOffset + 5]);
  std::vector<EntryView> entries;
  for (size_t i = 0; i < n; ++i) {
    size_t at = fontOffset + 12 + 16 * i;
    entries.push_back({std::string(font.begin() + static_cast<long>(at), font.begin() + static_cast<long>(at + 4)),
                       Get32(font, at + 4), Get32(font, at + 8), Get32(font, at + 12)});
  }
  return entries;
}

void PatchEntry(Bytes& font, size_t index, uint32_t offset, uint32_t length, uint32_t fontOffset) {
  size_t at = fontOffset + 12 + 16 * index;
  Set32(font, at + 8, offset);
  Set32(font, at + 12, length);
}

void PatchEntryChecksum(Bytes& font, size_t index, uint32_t checkSum, uint32_t fontOffset) {
  Set32(font, fontOffset + 12 + 16 * index + 4, checkSum);
}

Bytes MakeHead(uint32_t checkSumAdjustment, uint16_t unitsPerEm) {
  Bytes b;
  Put32(b, 0x00010000);           // version
  Put32(b, 0x00018000);           // fontRevision 1.5
  Put32(b, checkSumAdjustment);   // checkSumAdjustment
  Put32(b, 0x5F0F3CF5);           // magicNumber
  Put16(b, 0x000B);               // flags
  Put16(b, unitsPerEm);           // unitsPerEm
  Put32(b, 0); Put32(b, 0xD5A1B2C3);  // created
  Put32(b, 0); Put32(b, 0xD5A1B2C4);  // modified
  Put16(b, 0); Put16(b, static_cast<uint16_t>(-200));  // xMin, yMin
  Put16(b, 1000); Put16(b, 800);  // xMax, yMax
  Put16(b, 0);                    // macStyle
  Put16(b, 8);                    // lowestRecPPEM
  Put16(b, 2);                    // fontDirectionHint
  Put16(b, 0);                    // indexToLocFormat
  Put16(b, 0);                    // glyphDataFormat
  return b;                       // 54 bytes
}

Bytes MakeHhea(uint16_t numberOfHMetrics) {
  Bytes b;
  Put32(b, 0x00010000);
  Put16(b, 800); Put16(b, static_cast<uint16_t>(-200)); Put16(b, 90);  // ascender, descender, lineGap
  Put16(b, 1000);                                                      // advanceWidthMax
  Put16(b, 0); Put16(b, 0); Put16(b, 1000);                            // minLSB, minRSB, xMaxExtent
  Put16(b, 1); Put16(b, 0); Put16(b, 0);                               // caret slope rise, run, offset
  for (int i = 0; i < 4; ++i) Put16(b, 0);                             // reserved
  Put16(b, 0);                                                         // metricDataFormat
  Put16(b, numberOfHMetrics);
  return b;  // 36 bytes
}

Bytes MakeMaxp(uint16_t numGlyphs) {
  Bytes b;
  Put32(b, 0x00010000);
  Put16(b, numGlyphs);
  for (int i = 0; i < 13; ++i) Put16(b, static_cast<uint16_t>(i + 1));
  return b;  // 32 bytes
}

Bytes MakeOs2(const std::string& vendor) {
  Bytes b;
  Put16(b, 1);       // version
  Put16(b, 500);     // xAvgCharWidth
  Put16(b, 400);     // usWeightClass
  Put16(b, 5);       // usWidthClass
  Put16(b, 8);       // fsType
  for (int i = 0; i < 10; ++i) Put16(b, static_cast<uint16_t>(100 + i));  // subscript .. strikeout
  Put16(b, 0x0102);  // sFamilyClass
  for (int i = 0; i < 10; ++i) b.push_back(static_cast<uint8_t>(i + 2));  // panose
  Put32(b, 0x00000001); Put32(b, 0); Put32(b, 0); Put32(b, 0);  // ulUnicodeRange1..4
  std::string v = vendor;
  v.resize(4, ' ');
  b.insert(b.end(), v.begin(), v.end());  // achVendID
  Put16(b, 0x0040);  // fsSelection
  Put16(b, 0x20);    // usFirstCharIndex
  Put16(b, 0x7E);    // usLastCharIndex
  Put16(b, 800); Put16(b, static_cast<uint16_t>(-200)); Put16(b, 90);  // typo ascender, descender, line gap
  Put16(b, 1000); Put16(b, 200);  // usWinAscent, usWinDescent
  Put32(b, 1); Put32(b, 0);       // ulCodePageRange1, 2
  return b;  // 86 bytes
}

Bytes MakeHmtx(uint16_t numberOfHMetrics) {
  Bytes b;
  for (uint16_t i = 0; i < numberOfHMetrics; ++i) {
    Put16(b, static_cast<uint16_t>(500 + i));
    Put16(b, 10);
  }
  return b;
}

Bytes MakeName(const std::vector<NameRecord>& records) {
  Bytes b;
  uint16_t count = static_cast<uint16_t>(records.size());
  Put16(b, 0);
  Put16(b, count);
  Put16(b, static_cast<uint16_t>(6 + 12 * count));
  Bytes strings;
  for (const NameRecord& r : records) {
    Put16(b, r.platformID);
    Put16(b, r.encodingID);
    Put16(b, r.languageID);
    Put16(b, r.nameID);
    Put16(b, static_cast<uint16_t>(r.text.size()));
    Put16(b, static_cast<uint16_t>(strings.size()));
    strings.insert(strings.end(), r.text.begin(), r.text.end());
  }
  b.insert(b.end(), strings.begin(), strings.end());
  return b;
}

Bytes MakeCmap(const std::vector<uint16_t>& codes) {
  // One segment per code plus the closing 0xFFFF segment; idDelta maps code
  // i to glyph i + 1.
  uint16_t segCount = static_cast<uint16_t>(codes.size() + 1);
  Bytes sub;
  Put16(sub, 4);
  Put16(sub, static_cast<uint16_t>(16 + 8 * segCount));
  Put16(sub, 0);
  Put16(sub, static_cast<uint16_t>(segCount * 2));
  uint16_t power = 1, log = 0;
  while (power * 2 <= segCount) { power *= 2; ++log; }
  Put16(sub, static_cast<uint16_t>(power * 2));
  Put16(sub, log);
  Put16(sub, static_cast<uint16_t>(segCount * 2 - power * 2));
  for (uint16_t c : codes) Put16(sub, c);
  Put16(sub, 0xFFFF);
  Put16(sub, 0);
  for (uint16_t c : codes) Put16(sub, c);
  Put16(sub, 0xFFFF);
  for (size_t i = 0; i < codes.size(); ++i) Put16(sub, static_cast<uint16_t>(i + 1 - codes[i]));
  Put16(sub, 1);
  for (uint16_t i = 0; i < segCount; ++i) Put16(sub, 0);
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, 3);
  Put16(b, 1);
  Put32(b, 12);
  b.insert(b.end(), sub.begin(), sub.end());
  return b;
}

Bytes Utf16Be(const std::string& ascii) {
  Bytes b;
  for (char c : ascii) {
    b.push_back(0);
    b.push_back(static_cast<uint8_t>(c));
  }
  return b;
}

Bytes AsciiBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

FontBuilder SampleFont() {
  FontBuilder font;
  font.AddTable("head", MakeHead())
      .AddTable("hhea", MakeHhea())
      .AddTable("maxp", MakeMaxp())
      .AddTable("OS/2", MakeOs2("MRLW"))
      .AddTable("hmtx", MakeHmtx())
      .AddTable("cmap", MakeCmap({0x20, 0x41, 0x42}))
      .AddTable("name", MakeName({{1, 0, 0, 1, AsciiBytes("Sample")},
                                  {1, 0, 0, 4, AsciiBytes("Sample Regular")},
                                  {3, 1, 0x409, 1, Utf16Be("Sample")},
                                  {3, 1, 0x409, 4, Utf16Be("Sample Regular")}}))
      .AddTable("post", Bytes{0x00, 0x03, 0x00, 0x00, 0, 0, 0, 0, 0xFF, 0x9C, 0x00, 0x32, 0, 0, 0, 0,
                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  return font;
}

uint32_t WholeFileSum(const Bytes& bytes) { return SumOf(bytes.data(), bytes.size()); }

}  // namespace testsupport
