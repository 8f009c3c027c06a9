#include "tests/macconv/mac_tables.h"

#include <algorithm>
#include <filesystem>

#include "core/text/shift_jis.h"

namespace mactest {
namespace {

std::string Quote(const std::string& text) { return "'" + text + "'"; }

}  // namespace

uint16_t U16(const Bytes& bytes, size_t offset) {
  return static_cast<uint16_t>((bytes.at(offset) << 8) | bytes.at(offset + 1));
}
uint32_t U32(const Bytes& bytes, size_t offset) {
  return (uint32_t{U16(bytes, offset)} << 16) | U16(bytes, offset + 2);
}

Bytes MakeFormat2(const std::map<uint16_t, uint16_t>& glyphs) {
  std::vector<int> leads;
  for (int lead = 0x81; lead <= 0x9F; ++lead) leads.push_back(lead);
  for (int lead = 0xE0; lead <= 0xEA; ++lead) leads.push_back(lead);
  const size_t subHeaders = 1 + leads.size();
  const size_t arrayStart = 518 + 8 * subHeaders;

  Bytes b(arrayStart, 0);
  testsupport::SetU16(b, 0, 2);
  testsupport::SetU16(b, 4, 0);
  auto glyphOf = [&](uint32_t code) -> uint16_t {
    auto found = glyphs.find(static_cast<uint16_t>(code));
    return found == glyphs.end() ? 0 : found->second;
  };
  // Subheader 0: the one-byte codes 0x00-0xFF.
  size_t rangeStart = b.size();
  testsupport::SetU16(b, 518, 0);
  testsupport::SetU16(b, 520, 256);
  testsupport::SetU16(b, 522, 0);
  testsupport::SetU16(b, 524, static_cast<uint32_t>(rangeStart - 524));
  for (uint32_t code = 0; code < 256; ++code) testsupport::AppendU16(b, glyphOf(code));
  for (size_t k = 0; k < leads.size(); ++k) {
    size_t header = 518 + 8 * (k + 1);
    testsupport::SetU16(b, 6 + 2 * leads[k], static_cast<uint32_t>(8 * (k + 1)));
    rangeStart = b.size();
    testsupport::SetU16(b, header, 0x40);
    testsupport::SetU16(b, header + 2, 0xFC - 0x40 + 1);
    testsupport::SetU16(b, header + 4, 0);
    testsupport::SetU16(b, header + 6, static_cast<uint32_t>(rangeStart - (header + 6)));
    for (uint32_t trail = 0x40; trail <= 0xFC; ++trail) testsupport::AppendU16(b, glyphOf(leads[k] * 256 + trail));
  }
  testsupport::SetU16(b, 2, static_cast<uint32_t>(b.size()));
  return b;
}

std::map<uint16_t, uint16_t> NumberedShiftJisGlyphs() {
  std::map<uint16_t, uint16_t> glyphs;
  uint16_t next = 1;
  for (const core::CodePair& pair : core::ShiftJisList()) {
    if (pair.key == 0) break;
    glyphs[static_cast<uint16_t>(pair.key)] = next++;
  }
  return glyphs;
}

Bytes MakeCmapTable(const std::vector<CmapRecord>& records, const std::vector<Bytes>& subtables, uint16_t version) {
  Bytes b;
  testsupport::AppendU16(b, version);
  testsupport::AppendU16(b, static_cast<uint32_t>(records.size()));
  std::vector<uint32_t> offsets;
  uint32_t next = static_cast<uint32_t>(4 + 8 * records.size());
  for (const Bytes& subtable : subtables) {
    offsets.push_back(next);
    next += static_cast<uint32_t>(subtable.size());
  }
  for (const CmapRecord& record : records) {
    testsupport::AppendU16(b, record.platformID);
    testsupport::AppendU16(b, record.encodingID);
    testsupport::AppendU32(b, offsets.at(record.subtable));
  }
  for (const Bytes& subtable : subtables) b.insert(b.end(), subtable.begin(), subtable.end());
  return b;
}

Bytes MakeOpaqueSubtable(uint16_t format, uint32_t length) {
  Bytes b;
  testsupport::AppendU16(b, format);
  if (format >= 8) {
    testsupport::AppendU16(b, 0);
    testsupport::AppendU32(b, length);
  } else {
    testsupport::AppendU16(b, length);
  }
  for (uint8_t v = 1; b.size() < length; ++v) b.push_back(v);
  return b;
}

Format4 ReadFormat4(const Bytes& table, size_t offset) {
  Format4 f;
  f.length = U16(table, offset + 2);
  f.language = U16(table, offset + 4);
  f.segCountX2 = U16(table, offset + 6);
  f.searchRange = U16(table, offset + 8);
  f.entrySelector = U16(table, offset + 10);
  f.rangeShift = U16(table, offset + 12);
  size_t segCount = f.segCountX2 / 2;
  size_t ends = offset + 14, starts = ends + 2 * segCount + 2, deltas = starts + 2 * segCount,
         ranges = deltas + 2 * segCount;
  for (size_t j = 0; j < segCount; ++j) {
    f.endCode.push_back(U16(table, ends + 2 * j));
    f.startCode.push_back(U16(table, starts + 2 * j));
    f.idDelta.push_back(U16(table, deltas + 2 * j));
    f.idRangeOffset.push_back(U16(table, ranges + 2 * j));
  }
  size_t arrayStart = ranges + 2 * segCount;
  f.glyphCount = (offset + f.length - arrayStart) / 2;
  for (size_t j = 0; j < segCount; ++j) {
    for (uint32_t c = f.startCode[j]; c <= f.endCode[j]; ++c) {
      uint16_t glyph;
      if (f.idRangeOffset[j] == 0) {
        glyph = static_cast<uint16_t>(c + f.idDelta[j]);
      } else {
        size_t at = ranges + 2 * j + f.idRangeOffset[j] + 2 * (c - f.startCode[j]);
        glyph = U16(table, at);
        if (glyph != 0) glyph = static_cast<uint16_t>(glyph + f.idDelta[j]);
      }
      f.glyphs[c] = glyph;
    }
  }
  return f;
}

testsupport::CommandResult RunDrumlin(const testsupport::TempDir& dir, const std::string& arguments,
                                      const std::string& tempFolder) {
  std::string program = dir.File(testsupport::ProgramFile("drumlin"));
  if (!testsupport::Exists(program))
    std::filesystem::copy_file(testsupport::BinFolder() + "/" + testsupport::ProgramFile("drumlin"), program);
  return testsupport::RunCommand("cd " + Quote(dir.path()) + " && TMPDIR=" + Quote(tempFolder) + " " +
                                 Quote(program) + " " + arguments);
}

testsupport::CommandResult RunFontTools(const testsupport::TempDir& dir, const std::string& script,
                                        const std::string& arguments) {
  std::string path = dir.File("script.py");
  testsupport::WriteText(path, script);
  return testsupport::RunCommand(testsupport::FontToolsPython() + " " + Quote(path) + " " + arguments);
}

Fork MakeFork(const std::vector<Resource>& resources, const char* type) {
  Bytes data, references, names;
  for (const Resource& resource : resources) {
    uint32_t offset = static_cast<uint32_t>(data.size());
    testsupport::AppendU32(data, static_cast<uint32_t>(resource.bytes.size()));
    data.insert(data.end(), resource.bytes.begin(), resource.bytes.end());
    testsupport::AppendU16(references, static_cast<uint16_t>(resource.id));
    testsupport::AppendU16(references, resource.name ? static_cast<uint32_t>(names.size()) : 0xFFFF);
    testsupport::AppendU32(references, offset);  // attributes 0
    testsupport::AppendU32(references, 0);
    if (resource.name) {
      names.push_back(static_cast<uint8_t>(resource.name->size()));
      names.insert(names.end(), resource.name->begin(), resource.name->end());
    }
  }
  Bytes map(16 + 4 + 2 + 2);
  testsupport::AppendU16(map, 28);                                                  // type list
  testsupport::AppendU16(map, 28 + 2 + 8 + static_cast<uint32_t>(references.size()));  // names
  testsupport::AppendU16(map, 0);                                                   // one type
  map.insert(map.end(), type, type + 4);
  testsupport::AppendU16(map, static_cast<uint32_t>(resources.size() - 1));
  testsupport::AppendU16(map, 2 + 8);  // references after the type list
  map.insert(map.end(), references.begin(), references.end());
  map.insert(map.end(), names.begin(), names.end());

  Fork fork;
  fork.map = 256 + data.size();
  fork.references = 28 + 2 + 8;
  fork.bytes.resize(256);
  testsupport::SetU32(fork.bytes, 0, 256);
  testsupport::SetU32(fork.bytes, 4, static_cast<uint32_t>(fork.map));
  testsupport::SetU32(fork.bytes, 8, static_cast<uint32_t>(data.size()));
  testsupport::SetU32(fork.bytes, 12, static_cast<uint32_t>(map.size()));
  std::copy(fork.bytes.begin(), fork.bytes.begin() + 16, map.begin());
  fork.bytes.insert(fork.bytes.end(), data.begin(), data.end());
  fork.bytes.insert(fork.bytes.end(), map.begin(), map.end());
  return fork;
}

}  // namespace mactest
