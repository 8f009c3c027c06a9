#include "editor/choosers.h"

namespace editor {

std::string ProposedSaveName(const std::string& sourcePath, const std::string& suffix) {
  size_t cut = sourcePath.rfind('/');
  std::string name = cut == std::string::npos ? "New" + sourcePath
                                              : sourcePath.substr(0, cut + 1) + "New" + sourcePath.substr(cut + 1);
  if (!suffix.empty()) name += "." + suffix;
  return name;
}

std::vector<std::pair<std::string, std::string>> FilterPairs(const std::string& filterList) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < filterList.size()) {
    size_t bar = filterList.find('|', start);
    if (bar == std::string::npos) bar = filterList.size();
    parts.push_back(filterList.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
  return pairs;
}

ChooserRequest FontChooserRequest() {
  ChooserRequest request;
  request.kind = ChooserKind::kFontFile;
  request.title = "Quillet File Open";
  request.filterList = kFontFilter;
  request.defaultSuffix = "ttf";
  return request;
}

ChooserRequest TableFileChooserRequest() {
  ChooserRequest request;
  request.kind = ChooserKind::kTableFile;
  request.title = "Quillet Open a table file to be added.";
  request.filterList = kTableFileFilter;
  return request;
}

ChooserRequest SaveChooserRequest(const std::string& sourcePath, const std::string& suffix) {
  ChooserRequest request;
  request.kind = ChooserKind::kSaveFile;
  request.title = "Quillet File Save";
  request.filterList = kSaveFilter;
  request.proposedName = ProposedSaveName(sourcePath, suffix);
  request.defaultSuffix = "ttf";
  request.saving = true;
  return request;
}

}  // namespace editor
