#include "editor/render/font_check.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <set>
#include <tuple>

#include "core/io/byte_order.h"
#include "core/tables/head.h"
#include "core/tables/os2.h"
#include "editor/render/text_block.h"
#include "shell/text.h"

namespace editor {
namespace {

constexpr uint32_t kHeadMagic = 0x5F0F3CF5;
constexpr uint64_t kFillChecked = 3;  // at most three fill bytes follow a table

class Findings {
 public:
  Findings(std::vector<CheckFinding>& out, std::optional<size_t> font) : out_(out), font_(font) {}
  SUITE_PRINTF_FORMAT(2, 3) void Add(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    out_.push_back({font_, shell::FormatTextV(format, arguments)});
    va_end(arguments);
  }

 private:
  std::vector<CheckFinding>& out_;
  std::optional<size_t> font_;
};

void CheckDirectory(const FontStructure& font, Findings& findings) {
  const core::OffsetTable& table = font.offsetTable;
  if (!font.directoryComplete)
    findings.Add("the table directory names %u tables, but the file ends after %u of them",
                 unsigned{table.numTables}, static_cast<unsigned>(font.entries.size()));
  core::SearchFields right = core::BinarySearchFields(table.numTables, core::TableDirEntry::kSize);
  if (table.searchRange != right.searchRange || table.entrySelector != right.entrySelector ||
      table.rangeShift != right.rangeShift)
    findings.Add("searchRange, entrySelector and rangeShift are %u, %u and %u; for %u tables they are %u, %u and %u",
                 unsigned{table.searchRange}, unsigned{table.entrySelector}, unsigned{table.rangeShift},
                 unsigned{table.numTables}, unsigned{right.searchRange}, unsigned{right.entrySelector},
                 unsigned{right.rangeShift});
  for (size_t i = 1; i < font.entries.size(); ++i) {
    int order = std::memcmp(font.entries[i - 1].tag.data(), font.entries[i].tag.data(), 4);
    if (order == 0)
      findings.Add("table %s is listed twice", TagName(font.entries[i].tag).c_str());
    else if (order > 0)
      findings.Add("the tags are not in ascending order: %s comes after %s", TagName(font.entries[i].tag).c_str(),
                   TagName(font.entries[i - 1].tag).c_str());
  }
}

void CheckPlaces(const core::ReadableFile& file, const FontStructure& font, Findings& findings) {
  for (const core::TableDirEntry& entry : font.entries) {
    const std::string tag = TagName(entry.tag);
    const uint64_t end = uint64_t{entry.offset} + entry.length;
    if (end > file.size()) {
      findings.Add("table %s (offset 0x%x, %u bytes) ends beyond the end of the file (%llu bytes)", tag.c_str(),
                   entry.offset, entry.length, static_cast<unsigned long long>(file.size()));
      continue;
    }
    if (entry.offset % 4 != 0) findings.Add("table %s starts at 0x%x, not at a multiple of 4", tag.c_str(), entry.offset);
    const uint64_t fill = std::min<uint64_t>((4 - end % 4) % 4, kFillChecked);
    const uint64_t present = std::min<uint64_t>(fill, file.size() - end);
    std::vector<uint8_t> bytes = file.ReadRange(end, present);
    if (std::any_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b != 0; }))
      findings.Add("the fill bytes after table %s are not zero", tag.c_str());
  }
}

void CheckSums(const core::ReadableFile& file, const FontStructure& font, bool collection, Findings& findings) {
  if (font.calculatedSums.size() == font.entries.size()) {
    for (size_t i = 0; i < font.entries.size(); ++i)
      if (font.entries[i].checkSum != font.calculatedSums[i])
        findings.Add("table %s stores checksum 0x%08x; its bytes give 0x%08x", TagName(font.entries[i].tag).c_str(),
                     font.entries[i].checkSum, font.calculatedSums[i]);
    // In a collection the adjustment is that of the font on its own, before
    // it was merged; nothing in the collection can confirm it.
    if (!collection && font.storedAdjustment && font.directoryComplete &&
        *font.storedAdjustment != font.trueAdjustment)
      findings.Add("head stores checkSumAdjustment 0x%08x; the font gives 0x%08x", *font.storedAdjustment,
                   font.trueAdjustment);
  }
  const core::TableDirEntry* head = FindEntry(font, "head");
  if (!head) {
    findings.Add("the font has no head table");
  } else if (uint64_t{head->offset} + core::Head::kSize <= file.size() && head->length >= core::Head::kSize) {
    core::Head record = core::DecodeRecord<core::Head>(file.ReadRange(head->offset, core::Head::kSize));
    if (record.magicNumber != kHeadMagic)
      findings.Add("head: magicNumber is 0x%08x, not 0x%08x", record.magicNumber, kHeadMagic);
  } else if (head->length >= core::Head::kSize) {
    findings.Add("head (offset 0x%x, %u bytes) ends beyond the end of the file", head->offset, head->length);
  } else {
    findings.Add("head is %u bytes long, shorter than the %u bytes of its fields", head->length,
                 static_cast<unsigned>(core::Head::kSize));
  }
  if (const core::TableDirEntry* os2 = FindEntry(font, "OS/2"); os2 && os2->offset < file.size()) {
    std::vector<uint8_t> bytes = file.ReadRange(os2->offset, 2);
    if (os2->length < 2 || bytes.size() < 2) {
      findings.Add("OS/2 is too short to hold its version");
    } else {
      uint16_t version = static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
      size_t needed = core::Os2LayoutSize(version);
      if (os2->length < needed)
        findings.Add("OS/2 version %u needs %u bytes, but the table has %u", unsigned{version},
                     static_cast<unsigned>(needed), os2->length);
    }
  }
}

// Regions that overlap without being the same region: a collection's fonts
// may share a table, but two tables must not share some of their bytes.
void CheckOverlaps(const FileStructure& structure, std::vector<CheckFinding>& out) {
  struct Region {
    uint64_t start, end;
    size_t font;
    std::array<uint8_t, 4> tag;
  };
  std::vector<Region> regions;
  std::set<std::pair<uint64_t, uint64_t>> distinct;
  for (size_t f = 0; f < structure.fonts.size(); ++f)
    for (const core::TableDirEntry& entry : structure.fonts[f].entries)
      if (entry.length != 0 && distinct.emplace(entry.offset, uint64_t{entry.offset} + entry.length).second)
        regions.push_back({entry.offset, uint64_t{entry.offset} + entry.length, f, entry.tag});
  std::sort(regions.begin(), regions.end(),
            [](const Region& a, const Region& b) { return std::tie(a.start, a.end) < std::tie(b.start, b.end); });
  // Each region against the one reaching furthest before it: every overlap
  // is found at least once, with no more findings than regions.
  size_t furthest = 0;
  for (size_t i = 1; i < regions.size(); ++i) {
    const Region& before = regions[furthest];
    if (regions[i].start < before.end) {
      Findings findings(out, structure.collection ? std::optional<size_t>(regions[i].font) : std::nullopt);
      findings.Add("table %s (0x%llx to 0x%llx) overlaps table %s (0x%llx to 0x%llx)",
                   TagName(regions[i].tag).c_str(), static_cast<unsigned long long>(regions[i].start),
                   static_cast<unsigned long long>(regions[i].end), TagName(before.tag).c_str(),
                   static_cast<unsigned long long>(before.start), static_cast<unsigned long long>(before.end));
    }
    if (regions[i].end > before.end) furthest = i;
  }
}

// The collection header: whole, of a known version, naming at least one font,
// and (version 2) with its signature fields inside the file.
void CheckCollectionHeader(const core::ReadableFile& file, const FileStructure& structure,
                           std::vector<CheckFinding>& out) {
  Findings findings(out, std::nullopt);
  if (file.size() < core::CollectionHeader::kSize) {
    findings.Add("the collection header is cut short: the file holds %llu of its %u bytes",
                 static_cast<unsigned long long>(file.size()), static_cast<unsigned>(core::CollectionHeader::kSize));
    return;
  }
  const uint32_t version = structure.header.version;
  if (version != 0x00010000 && version != 0x00020000)
    findings.Add("the collection header's version is 0x%08x, neither 1.0 nor 2.0", version);
  if (structure.header.numFonts == 0) findings.Add("the collection names no fonts");
  if (version == 0x00020000 && structure.offsetsComplete) {
    const uint64_t signatureFields = core::CollectionHeader::kSize + 4 * uint64_t{structure.header.numFonts};
    if (signatureFields + 12 > file.size()) {
      findings.Add("the collection header of version 2.0 is cut short: its signature fields end beyond the file");
    } else {
      std::vector<uint8_t> bytes = file.ReadRange(signatureFields + 4, 8);
      if (bytes.size() < 8) return;  // a read failure, which the run reports
      const uint32_t length = core::LoadU32(bytes.data()), offset = core::LoadU32(bytes.data() + 4);
      if (offset != 0 && uint64_t{offset} + length > file.size())
        findings.Add("the collection's signature (offset 0x%x, %u bytes) ends beyond the end of the file", offset,
                     length);
    }
  }
}

}  // namespace

std::vector<CheckFinding> CheckFontFile(const core::ReadableFile& file, const FileStructure& structure) {
  std::vector<CheckFinding> out;
  if (structure.collection) CheckCollectionHeader(file, structure, out);
  if (structure.collection && !structure.offsetsComplete)
    out.push_back({std::nullopt, FormatBlock("the collection names %u fonts, but the file ends after %u offsets",
                                             structure.header.numFonts,
                                             static_cast<unsigned>(structure.fonts.size()))});
  for (size_t f = 0; f < structure.fonts.size(); ++f) {
    const FontStructure& font = structure.fonts[f];
    if (font.sameAs) continue;
    Findings findings(out, structure.collection ? std::optional<size_t>(f) : std::nullopt);
    if (font.offset + core::OffsetTable::kSize > file.size()) {
      findings.Add("the offset table at 0x%llx lies beyond the end of the file",
                   static_cast<unsigned long long>(font.offset));
      continue;
    }
    CheckDirectory(font, findings);
    CheckPlaces(file, font, findings);
    CheckSums(file, font, structure.collection, findings);
  }
  CheckOverlaps(structure, out);
  if (!structure.sumsComplete)
    out.push_back({std::nullopt, "the tables overlap so often that not every checksum was calculated"});
  return out;
}

}  // namespace editor
