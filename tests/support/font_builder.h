// Builds fonts and collections in memory for the tests: given tables and
// tags, with options for the faults real fonts have (unordered directories,
// unaligned or overlapping tables, wrong checksums) and collections whose
// fonts share tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

struct Table {
  std::string tag;  // padded with blanks to 4 characters
  Bytes data;
};

class FontBuilder {
 public:
  FontBuilder& AddTable(const std::string& tag, Bytes data);
  FontBuilder& SetSfntVersion(uint32_t version) { sfntVersion_ = version; return *this; }
  // Keeps the directory in the order tables were added instead of tag order.
  FontBuilder& KeepAddOrder() { sortTags_ = false; return *this; }
  // Lays tables out without padding them to 4-byte boundaries.
  FontBuilder& Unaligned() { align_ = false; return *this; }
  // Leaves checksums and checkSumAdjustment as zero instead of computing them.
  FontBuilder& NoChecksums() { checksums_ = false; return *this; }
  // Adds `delta` to the directory checksum of a table after computing it.
  FontBuilder& SkewChecksum(const std::string& tag, uint32_t delta);
  // Adds `delta` to head.checkSumAdjustment after computing it.
  FontBuilder& SkewAdjustment(uint32_t delta) { adjustmentSkew_ += delta; return *this; }

  const std::vector<Table>& tables() const { return tables_; }

  // A whole single-font file.
  Bytes Build() const;

 private:
  friend Bytes BuildCollection(const std::vector<FontBuilder>& fonts, bool shareTables);

  struct Skew {
    std::string tag;
    uint32_t delta;
  };
  std::vector<Table> OrderedTables() const;

  std::vector<Table> tables_;
  std::vector<Skew> skews_;
  uint32_t sfntVersion_ = 0x00010000;
  uint32_t adjustmentSkew_ = 0;
  bool sortTags_ = true;
  bool align_ = true;
  bool checksums_ = true;
};

// A collection ("ttcf", version 1.0) of the fonts. With shareTables, a table
// whose tag and bytes equal one already written is stored once and both
// directories point at it. Each font's head adjustment is computed for that
// font's own directory.
Bytes BuildCollection(const std::vector<FontBuilder>& fonts, bool shareTables);

// Directory entries of a built font, for tests that bend them afterwards.
struct EntryView {
  std::string tag;
  uint32_t checkSum;
  uint32_t offset;
  uint32_t length;
};
std::vector<EntryView> ReadEntries(const Bytes& font, uint32_t fontOffset = 0);
// Overwrites entry `index` of the font at fontOffset.
void PatchEntry(Bytes& font, size_t index, uint32_t offset, uint32_t length, uint32_t fontOffset = 0);
void PatchEntryChecksum(Bytes& font, size_t index, uint32_t checkSum, uint32_t fontOffset = 0);

// Sample tables with plausible content.
Bytes MakeHead(uint32_t checkSumAdjustment = 0, uint16_t unitsPerEm = 2048);
Bytes MakeHhea(uint16_t numberOfHMetrics = 3);
Bytes MakeMaxp(uint16_t numGlyphs = 3);
Bytes MakeOs2(const std::string& vendor = "TEST");  // 86 bytes, version 1
Bytes MakeHmtx(uint16_t numberOfHMetrics = 3);
struct NameRecord {
  uint16_t platformID, encodingID, languageID, nameID;
  Bytes text;  // the string bytes as stored
};
Bytes MakeName(const std::vector<NameRecord>& records);
// A cmap with one (3, 1) format 4 subtable mapping each code in order to
// glyphs 1, 2, ...
Bytes MakeCmap(const std::vector<uint16_t>& codes);
// UTF-16BE bytes of ASCII text.
Bytes Utf16Be(const std::string& ascii);
Bytes AsciiBytes(const std::string& text);

// Big-endian appends and patches for tables built by hand.
void AppendU16(Bytes& bytes, uint32_t value);
void AppendU32(Bytes& bytes, uint32_t value);
void SetU16(Bytes& bytes, size_t at, uint32_t value);
void SetU32(Bytes& bytes, size_t at, uint32_t value);

// A small consistent font: head, hhea, maxp, OS/2, hmtx, cmap, name, post.
FontBuilder SampleFont();

uint32_t WholeFileSum(const Bytes& bytes);  // table rule over all bytes

}  // namespace testsupport
