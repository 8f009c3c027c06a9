#include "tools/name/name_profile.h"

#include <array>
#include <string>
#include <string_view>

namespace tools {
namespace {

constexpr const auto& kList = core::kFieldList<core::NameRecord>;

// The field's place in the list; the list's size when it has no such field.
constexpr size_t IndexOf(std::string_view name) {
  for (size_t i = 0; i < kList.size(); ++i)
    if (name == kList[i].name) return i;
  return kList.size();
}
static_assert(IndexOf("platformID") < kList.size() && IndexOf("encodingID") < kList.size() &&
                  IndexOf("languageID") < kList.size() && IndexOf("nameID") < kList.size() &&
                  IndexOf("length") < kList.size(),
              "each key names a field of the name record");

constexpr NameRecordKey kKeys[] = {
    {&kList[IndexOf("platformID")], "PlatformID", true},
    {&kList[IndexOf("encodingID")], "encodingID", true},
    {&kList[IndexOf("languageID")], "LanguageID", true},
    {&kList[IndexOf("nameID")], "NameID", true},
    {&kList[IndexOf("length")], "StringLen", false},
};

}  // namespace

std::span<const NameRecordKey> NameRecordKeys() { return kKeys; }

void PutNameRecord(const core::NameRecord& record, const std::string& section, platform::Profile* profile) {
  const auto bytes = core::EncodeRecord(record);
  for (const NameRecordKey& key : kKeys)
    profile->Set(section, key.key, std::to_string(*core::FieldBits(*key.field, bytes)));
}

core::NameRecord GetNameRecordIds(const platform::Profile& profile, const std::string& section) {
  std::array<uint8_t, core::NameRecord::kSize> bytes{};
  for (const NameRecordKey& key : kKeys)
    if (key.identifies) core::StoreFieldBits(*key.field, profile.GetInt(section, key.key, 0), bytes);
  return core::DecodeRecord<core::NameRecord>(bytes);
}

std::string MarkUnfinished(const std::string& profileText) {
  const std::string mark = std::string("[SUMMARY]\r\nFileName=\r\n") + kUnfinishedKey + "=" + kInterruptedMessage +
                           "\r\n\r\n";
  // Before the first header line: lines ahead of every section stay there.
  size_t line = profileText.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (line < profileText.size()) {
    size_t first = profileText.find_first_not_of(" \t", line);
    if (first != std::string::npos && profileText[first] == '[') break;
    size_t end = profileText.find('\n', line);
    line = end == std::string::npos ? profileText.size() : end + 1;
  }
  std::string marked = profileText.substr(0, line);
  // A last line without its line end gets one before the mark.
  if (line == profileText.size() && !marked.empty() && marked.back() != '\n' && marked != "\xEF\xBB\xBF")
    marked += "\r\n";
  return marked + mark + profileText.substr(line);
}

bool IsMarkedUnfinished(const platform::Profile& profile) {
  return profile.GetString("SUMMARY", kUnfinishedKey, "") == kInterruptedMessage;
}

bool DropUnfinishedMark(platform::Profile* profile) {
  if (!IsMarkedUnfinished(*profile)) return false;
  bool first = true;
  profile->RemoveSectionsIf([&first](std::string_view name) {
    if (!first || name.size() != 7) return false;
    for (size_t i = 0; i < name.size(); ++i)
      if ((name[i] & ~0x20) != "SUMMARY"[i]) return false;
    first = false;
    return true;
  });
  return true;
}

}  // namespace tools
