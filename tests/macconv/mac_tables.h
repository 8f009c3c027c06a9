// Table files for the converter tests: Mac cmap format 2 subtables keyed by
// Shift-JIS codes, cmap tables with chosen records, a plain reader of format 4
// subtables, resource forks, and runs of a copy of the drumlin program.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "macconv/engine/sinks.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace mactest {

using testsupport::Bytes;

constexpr const char* kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// A (1, 1) format 2 subtable mapping each Shift-JIS code to its glyph. One-byte
// codes (and code 0x00) go through subheader 0; every lead byte 0x81-0x9F and
// 0xE0-0xEA has a subheader over the trail bytes 0x40-0xFC. Codes not in the
// map get glyph 0.
Bytes MakeFormat2(const std::map<uint16_t, uint16_t>& glyphs);

// A glyph for every code of the Shift-JIS table: its position in the list + 1.
std::map<uint16_t, uint16_t> NumberedShiftJisGlyphs();

struct CmapRecord {
  uint16_t platformID;
  uint16_t encodingID;
  size_t subtable;  // index into the subtables
};
// A cmap table: header, records, then each subtable once, in order.
Bytes MakeCmapTable(const std::vector<CmapRecord>& records, const std::vector<Bytes>& subtables,
                    uint16_t version = 0);

// A plain subtable of a format and length: format 0-6 with a 16-bit length
// field, 8-12 with reserved and a 32-bit length; the rest counts up.
Bytes MakeOpaqueSubtable(uint16_t format, uint32_t length);

struct Format4 {
  uint16_t length = 0, language = 0, segCountX2 = 0, searchRange = 0, entrySelector = 0, rangeShift = 0;
  std::vector<uint16_t> endCode, startCode, idDelta, idRangeOffset;
  size_t glyphCount = 0;
  std::map<uint32_t, uint16_t> glyphs;  // code -> glyph as a reader finds it (0 included)
};
// Reads the format 4 subtable at `offset` the way a font reader does.
Format4 ReadFormat4(const Bytes& table, size_t offset);

uint16_t U16(const Bytes& bytes, size_t offset);
uint32_t U32(const Bytes& bytes, size_t offset);

struct Resource {
  int16_t id;
  std::optional<std::string> name;
  Bytes bytes;
};

// A resource fork as a Mac writes one: header, 240 bytes reserved, the data,
// then the map with one type (`type`) whose references follow the type list,
// then the names. Where the map and its references lie, for the tests that
// damage them.
struct Fork {
  Bytes bytes;
  size_t map = 0;         // the map's offset
  size_t references = 0;  // the first reference, from the map's start
};
Fork MakeFork(const std::vector<Resource>& resources, const char* type = "sfnt");

// Copies the built drumlin into `dir` and runs it there with `arguments`,
// with TMPDIR pointing at `tempFolder`.
testsupport::CommandResult RunDrumlin(const testsupport::TempDir& dir, const std::string& arguments,
                                      const std::string& tempFolder);

// Runs a Python script with fontTools; its standard output.
testsupport::CommandResult RunFontTools(const testsupport::TempDir& dir, const std::string& script,
                                        const std::string& arguments);

}  // namespace mactest
