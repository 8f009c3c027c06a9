#include "macconv/table_input.h"

#include <algorithm>

#include "core/readable_file.h"
#include "core/tables/name.h"
#include "shell/text.h"

namespace macconv {

uint64_t NameTableReach() { return core::LangTagRecordsEnd(65535, 65535); }

TableInput ReadTableFile(const std::string& path, uint64_t reach, bool refuseLarger, std::vector<uint8_t>* bytes) {
  bytes->clear();
  core::ReadableFile file;
  if (!file.Open(path)) return TableInput::kCannotOpen;
  if (refuseLarger && file.size() > reach) return TableInput::kTooLarge;
  *bytes = file.ReadRange(0, std::min(file.size(), reach));
  return TableInput::kRead;
}

std::string TableTooLargeText(const std::string& name, uint64_t limit) {
  return shell::FormatText("%s is larger than the %llu bytes a table file may have.", name.c_str(),
                           static_cast<unsigned long long>(limit));
}

}  // namespace macconv
