#include "editor/model/table_list.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/session/settings_path.h"
#include "editor/render/text_block.h"

namespace editor {
namespace {

// A section the table list writes: four bytes and a double quote (a tag that
// ends in blanks is read back without them).
bool IsTableListName(std::string_view name) { return name.size() <= 5 && name.ends_with('"'); }

// Section names match without regard to ASCII case.
std::string LowerAscii(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// "0x" and the lower-case hexadecimal digits, as printf's "0x%x" gives them.
std::string HexValue(uint32_t value) {
  char digits[8];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, 16);
  (void)error;  // eight digits always fit
  return "0x" + std::string(digits, end);
}

}  // namespace

std::string TableListName(const std::array<uint8_t, 4>& tag) {
  return std::string(reinterpret_cast<const char*>(tag.data()), 4) + '"';
}

TableListWriter::TableListWriter(std::string settingsFolder) : path_(SettingsFilePath(settingsFolder)) {
  loaded_ = profile_.Load(path_);
  loadError_ = profile_.error();
}

void TableListWriter::AddFont(const std::vector<TableListEntry>& entries) {
  profile_.Set(kSettingsSection, "Number_Of_Tables", std::to_string(entries.size()));
  tableCount_ = entries.size();
  for (size_t i = 0; i < entries.size(); ++i) {
    const TableListEntry& entry = entries[i];
    std::string name = TableListName(entry.tag);
    listed_.insert(LowerAscii(name));
    profile_.Set(kSettingsSection, "Table" + std::to_string(i), name);
    // A tag whose bytes cannot name a section (a ']' or a line break) keeps
    // only its TableN key. Offsets and lengths are written as signed 32-bit
    // numbers, as the file has always held them.
    profile_.Set(name, "offset", std::to_string(static_cast<int32_t>(entry.offset)));
    profile_.Set(name, "length", std::to_string(static_cast<int32_t>(entry.length)));
    profile_.Set(name, "CalculatedSum", std::to_string(entry.calculatedSum));
    profile_.Set(name, "HexDeciCalculatedSum", HexValue(entry.calculatedSum));
  }
}

bool TableListWriter::Save(int* error) {
  // The sections of tags that earlier fonts had and this run lists no more
  // go, so the file stays as large as one run's lists whatever was opened
  // before. Other sections and keys stay.
  profile_.RemoveSectionsIf([this](std::string_view name) {
    return IsTableListName(name) && !listed_.contains(LowerAscii(name));
  });
  // So do the TableN keys past this run's count.
  profile_.RemoveKeysIf(kSettingsSection, [this](std::string_view key) {
    std::optional<uint64_t> n = platform::NumberedName(key, "Table");
    return n && *n >= tableCount_;
  });
  // A file that exists but cannot be read is not overwritten with a partial list.
  bool saved = loaded_ && profile_.Save(path_);
  if (error) *error = saved ? 0 : (loaded_ ? profile_.error() : loadError_);
  return saved;
}

bool ResetTableCount(const std::string& settingsFolder, int* error) {
  return platform::WriteProfileString(SettingsFilePath(settingsFolder), kSettingsSection, "Number_Of_Tables", "0",
                                      error);
}

namespace {

uint32_t TableCountOf(const platform::Profile& profile) {
  return std::min(profile.GetInt(kSettingsSection, "Number_Of_Tables", 0), kMostTables);
}

platform::Profile LoadList(const std::string& settingsFolder) {
  platform::Profile profile;
  profile.Load(SettingsFilePath(settingsFolder));  // an unreadable file reads as empty
  return profile;
}

}  // namespace

uint32_t ReadTableCount(const std::string& settingsFolder) { return TableCountOf(LoadList(settingsFolder)); }

std::vector<std::string> ReadTableListItems(const std::string& settingsFolder) {
  platform::Profile profile = LoadList(settingsFolder);
  uint32_t count = TableCountOf(profile);
  std::vector<std::string> items;
  items.reserve(count);
  for (uint32_t i = 0; i < count; ++i)
    items.push_back(profile.GetString(kSettingsSection, FormatBlock("Table%u", i), "Unknown").substr(0, 4));
  return items;
}

}  // namespace editor
