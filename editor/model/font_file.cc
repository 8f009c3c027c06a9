#include "editor/model/font_file.h"

#include <algorithm>

#include "core/sfnt/checksum.h"

namespace editor {

bool IsCollectionPath(const std::string& fontPath) {
  if (fontPath.size() < 4) return false;
  std::string ending = fontPath.substr(fontPath.size() - 4);
  for (char& c : ending)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ending == ".ttc";
}

FontFile::FontFile(const core::ReadableFile& file, CollectionRule rule, const std::string& path) : file_(file) {
  collection_ = rule == CollectionRule::kFileName ? IsCollectionPath(path)
                                                  : core::IsCollectionTag(file.ReadRange(0, 4));
  if (collection_) {
    header_ = core::ReadCollectionHeader(file);
    offsets_ = core::ReadCollectionOffsets(file, header_.numFonts, &offsetsComplete_);
  }
  // A font at the offset of an earlier one is that font.
  std::map<uint32_t, size_t> first;
  sameAs_.reserve(offsets_.size());
  for (size_t i = 0; i < offsets_.size(); ++i) {
    auto [earlier, isFirst] = first.emplace(offsets_[i], i);
    sameAs_.push_back(isFirst ? std::nullopt : std::optional<size_t>(earlier->second));
  }
}

const FontDirectory& FontFile::Directory(size_t font) {
  auto found = directories_.find(font);
  if (found != directories_.end()) return found->second;
  FontDirectory directory;
  directory.offsetTable = core::ReadOffsetTable(file_, offsets_[font]);
  directory.entries =
      core::ReadTableDirectory(file_, offsets_[font], directory.offsetTable.numTables, &directory.complete);
  return directories_.emplace(font, std::move(directory)).first->second;
}

std::optional<uint32_t> RegionSums::Of(const core::TableDirEntry& entry) {
  const bool head = core::IsHeadTag(entry.tag);
  const auto key = std::make_tuple(head, entry.offset, entry.length);
  if (auto found = sums_.find(key); found != sums_.end()) return found->second;
  if (file_) {
    const uint64_t cost =
        entry.offset < file_->size() ? std::min<uint64_t>(entry.length, file_->size() - entry.offset) : 0;
    if (cost > left_) return std::nullopt;
    left_ -= cost;
  }
  const uint32_t sum = sum_(entry, head);
  sums_.emplace(key, sum);
  return sum;
}

}  // namespace editor
