#include "tools/name/name_profile.h"

#include <array>
#include <string_view>

namespace tools {
namespace {

constexpr const auto& kList = core::kFieldList<core::NameRecord>;

constexpr const core::FieldInfo* Field(std::string_view name) { return core::FindField(kList, name); }

constexpr NameRecordKey kKeys[] = {
    {Field("platformID"), "PlatformID", true},
    {Field("encodingID"), "encodingID", true},
    {Field("languageID"), "LanguageID", true},
    {Field("nameID"), "NameID", true},
    {Field("length"), "StringLen", false},
};

constexpr bool EveryKeyHasItsField() {
  for (const NameRecordKey& key : kKeys)
    if (key.field == nullptr) return false;
  return true;
}
static_assert(EveryKeyHasItsField(), "each key names a field of the name record");

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
