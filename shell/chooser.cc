#include "shell/chooser.h"

#include "platform/paths.h"

namespace shell {

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

std::string NewNameBeside(const std::string& path) { return NameBeside(path, "New" + platform::NameOf(path)); }

std::string NameBeside(const std::string& path, const std::string& name) { return platform::FolderPrefix(path) + name; }

}  // namespace shell
