#include "editor/font_structure.h"

#include <cstring>
#include <map>
#include <utility>

#include "core/tables/head.h"

namespace editor {
namespace {

// Summing stops being worth it, and bounded, past a few passes over the file.
constexpr uint64_t kSumPasses = 4;
constexpr uint64_t kSumFloor = uint64_t{64} << 20;

class SumBudget {
 public:
  explicit SumBudget(const core::ReadableFile& file) : file_(file), left_(kSumPasses * file.size() + kSumFloor) {}

  // The sum of a region, each region summed once; nullopt once the budget is spent.
  std::optional<uint32_t> Table(const core::TableDirEntry& entry) {
    const bool head = core::IsHeadTag(entry.tag);
    auto key = std::make_tuple(head, entry.offset, entry.length);
    auto found = sums_.find(key);
    if (found != sums_.end()) return found->second;
    uint64_t cost = entry.offset < file_.size() ? std::min<uint64_t>(entry.length, file_.size() - entry.offset) : 0;
    if (cost > left_) return std::nullopt;
    left_ -= cost;
    uint32_t sum = head ? core::HeadCheckSum(file_, entry.offset) : core::TableCheckSum(file_, entry.offset, entry.length);
    sums_.emplace(key, sum);
    return sum;
  }

 private:
  const core::ReadableFile& file_;
  uint64_t left_;
  std::map<std::tuple<bool, uint32_t, uint32_t>, uint32_t> sums_;
};

void ReadFont(const core::ReadableFile& file, SumBudget& budget, FontStructure* font, bool* sumsComplete) {
  font->offsetTable = core::ReadOffsetTable(file, font->offset);
  font->entries = core::ReadTableDirectory(file, font->offset, font->offsetTable.numTables, &font->directoryComplete);
  uint32_t total = core::DirectoryCheckSum(file, font->offset, font->offsetTable.numTables);
  for (const core::TableDirEntry& entry : font->entries) {
    std::optional<uint32_t> sum = budget.Table(entry);
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
  SumBudget budget(file);
  std::vector<uint32_t> offsets{0};
  if (core::IsCollectionTag(file.ReadRange(0, 4))) {
    structure.collection = true;
    structure.header = core::ReadCollectionHeader(file);
    offsets = core::ReadCollectionOffsets(file, structure.header.numFonts, &structure.offsetsComplete);
  }
  std::map<uint32_t, size_t> seen;
  structure.fonts.reserve(offsets.size());
  for (uint32_t offset : offsets) {
    FontStructure font;
    font.offset = offset;
    auto [earlier, first] = seen.emplace(offset, structure.fonts.size());
    if (!first) {
      font.sameAs = earlier->second;
    } else {
      ReadFont(file, budget, &font, &structure.sumsComplete);
    }
    structure.fonts.push_back(std::move(font));
  }
  return structure;
}

}  // namespace editor
