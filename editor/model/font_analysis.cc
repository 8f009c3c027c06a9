#include "editor/model/font_analysis.h"

#include <cstring>

namespace editor {

const FontRecord* ListedFont(const FontAnalysis& analysis) {
  for (auto font = analysis.fonts.rbegin(); font != analysis.fonts.rend(); ++font)
    if (!font->repeat) return &*font;
  return nullptr;
}

uint32_t ListedTableCount(const FontAnalysis& analysis) {
  const FontRecord* font = ListedFont(analysis);
  return font ? static_cast<uint32_t>(font->entries.size()) : 0;
}

size_t CountListedTag(const FontAnalysis& analysis, const std::string& tag4, const core::TableDirEntry** found) {
  const FontRecord* font = ListedFont(analysis);
  if (!font || tag4.size() != 4) return 0;
  size_t matches = 0;
  for (const core::TableDirEntry& entry : font->entries) {
    if (std::memcmp(entry.tag.data(), tag4.data(), 4) != 0) continue;
    ++matches;
    if (found) *found = &entry;
  }
  return matches;
}

}  // namespace editor
