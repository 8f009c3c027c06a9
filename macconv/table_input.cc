#include "macconv/table_input.h"

#include <algorithm>

#include "core/readable_file.h"
#include "core/tables/name.h"
#include "macconv/message_text.h"
#include "shell/text.h"

namespace macconv {

uint64_t NameTableReach() { return core::LangTagRecordsEnd(65535, 65535); }

std::optional<std::string> ReadTableFile(const std::string& path, uint64_t reach, bool refuseLarger,
                                         std::vector<uint8_t>* bytes) {
  bytes->clear();
  core::ReadableFile file;
  if (!file.Open(path)) return CreateFileFailedText(path) + core::OpenErrorNote(file.error());
  if (refuseLarger && file.size() > reach) return TableTooLargeText(path, reach);
  *bytes = file.ReadRange(0, std::min(file.size(), reach));
  if (file.read_error() == 0) return std::nullopt;
  bytes->clear();
  return ReadFileFailedText(path, file.read_error());
}

std::string TableTooLargeText(const std::string& name, uint64_t limit) {
  return shell::FormatText("%s is larger than the %llu bytes a table file may have.", name.c_str(),
                           static_cast<unsigned long long>(limit));
}

}  // namespace macconv
