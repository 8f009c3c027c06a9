#include "tools/name/name_profile.h"

#include <array>
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

}  // namespace tools
