#include "editor/model/font_structure.h"

#include <cstring>
#include <map>
#include <utility>

#include "core/tables/head.h"
#include "editor/model/font_file.h"

namespace editor {
namespace {

// Summing stops being worth it, and bounded, past a few passes over the file.
constexpr uint64_t kSumPasses = 4;
constexpr uint64_t kSumFloor = uint64_t{64} << 20;

void ReadFont(const core::ReadableFile& file, FontFile& model, size_t index, RegionSums& sums, FontStructure* font,
              bool* sumsComplete) {
  const FontDirectory& directory = model.Directory(index);
  font->offsetTable = directory.offsetTable;
  font->entries = directory.entries;
  font->directoryComplete = directory.complete;
  uint32_t total = core::DirectoryCheckSum(file, font->offset, font->offsetTable.numTables);
  for (const core::TableDirEntry& entry : font->entries) {
    std::optional<uint32_t> sum = sums.Of(entry);
    if (!sum) {
      font->calculatedSums.clear();
      *sumsComplete = false;
      break;
    }
    font->calculatedSums.push_back(*sum);
    total += *sum;
  }
  font->trueAdjustment = core::TrueAdjustment(total);
  if (const core::TableDirEntry* head = FindEntry(*font, "head"); head && head->offset < file.size())
    font->storedAdjustment = core::DecodeRecord<core::Head>(file.ReadRange(head->offset, core::Head::kSize))
                                 .checkSumAdjustment;
}

}  // namespace

std::string TagChars(const std::array<uint8_t, 4>& tag) {
  std::string name;
  for (uint8_t byte : tag) name.push_back(byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?');
  return name;
}

std::string TagName(const std::array<uint8_t, 4>& tag) {
  std::string name = TagChars(tag);
  while (name.size() > 1 && name.back() == ' ') name.pop_back();
  return name;
}

const core::TableDirEntry* FindEntry(const FontStructure& font, const char* name) {
  for (const core::TableDirEntry& entry : font.entries)
    if (std::memcmp(entry.tag.data(), name, 4) == 0) return &entry;
  return nullptr;
}

FileStructure ReadFileStructure(const core::ReadableFile& file) {
  FileStructure structure;
  FontFile model(file, CollectionRule::kCollectionTag, std::string());
  RegionSums sums(
      [&file](const core::TableDirEntry& entry, bool head) {
        return head ? core::HeadCheckSum(file, entry.offset) : core::TableCheckSum(file, entry.offset, entry.length);
      },
      file, kSumPasses * file.size() + kSumFloor);
  structure.collection = model.collection();
  structure.header = model.header();
  structure.offsetsComplete = model.offsetsComplete();
  structure.fonts.reserve(model.fontCount());
  for (size_t i = 0; i < model.fontCount(); ++i) {
    FontStructure font;
    font.offset = model.fontOffsets()[i];
    font.sameAs = model.SameAs(i);
    if (!font.sameAs) ReadFont(file, model, i, sums, &font, &structure.sumsComplete);
    structure.fonts.push_back(std::move(font));
  }
  return structure;
}

}  // namespace editor
