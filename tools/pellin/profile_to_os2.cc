#include "tools/pellin/profile_to_os2.h"

#include <algorithm>

#include "core/io/readable_file.h"
#include "platform/output_file.h"

namespace tools {
namespace {

constexpr const char* kUsage[] = {"USAGE : pellin.exe ver. 1.0", "pellin.exe name.ini"};

// The vendor ID is read into an 8-byte buffer: at most seven characters.
constexpr size_t kVendorTextLimit = 7;

}  // namespace

Os2Table BuildOs2Table(const platform::Profile& profile) {
  Os2Table table;
  const Os2Key& versionKey = Os2Keys().front();  // the list starts with the version
  table.version = static_cast<uint16_t>(
      profile.GetInt(versionKey.section, versionKey.field->name, versionKey.defaultValue));
  table.size = std::max(core::kOs2Version1Size, core::Os2LayoutSize(table.version));
  for (const Os2Key& key : Os2Keys()) {
    const core::FieldInfo& field = *key.field;
    bool added = field.offset >= core::kOs2Version1Size;
    if (added && field.since > core::Os2LayoutVersion(table.version)) continue;
    // Every field the profile gives no value for is named, whichever
    // version brought it.
    if (!profile.Has(key.section, field.name) || profile.GetString(key.section, field.name, "").empty())
      table.defaulted.push_back(&key);
    if (key.form == Os2TextForm::kVendor) {
      // At most the field's width; a shorter value is followed by what was there (zeros).
      std::string vendor = profile.GetString(key.section, field.name, "", kVendorTextLimit);
      std::copy_n(vendor.begin(), std::min<size_t>(vendor.size(), field.width), table.record.begin() + field.offset);
      continue;
    }
    core::StoreFieldBits(field, profile.GetInt(key.section, field.name, key.defaultValue), table.record);
  }
  return table;
}

int RunPellin(const std::vector<std::string>& args, const ToolPlace& place, Console& console) {
  if (args.size() != 2) {
    PrintUsage(console, kUsage);
    return kExitFailure;
  }
  std::string profilePath = ToolFilePath(place.toolFolder, args[1]);
  platform::Profile profile;
  if (!LoadMergeProfile(profilePath, console, &profile)) return kExitFailure;

  std::string tableName = profile.GetString("SUMMARY", "FileName", "");
  platform::AtomicOutput output;
  if (!BeginTableFile(place, tableName, profilePath, console, &output)) return kExitFailure;
  Os2Table table = BuildOs2Table(profile);
  if (table.version > core::kOs2LatestVersion)
    console.Printf("Warning: version %u is newer than version %u; the table is written with the fields of version "
                   "%u.\n",
                   unsigned{table.version}, unsigned{core::kOs2LatestVersion}, unsigned{core::kOs2LatestVersion});
  if (!output.Write(table.record.data(), table.size) || !output.Commit()) {
    PrintCannotWrite(console, tableName, output.error());
    return kExitFailure;
  }
  if (!table.defaulted.empty()) {
    std::string keys;
    for (const Os2Key* key : table.defaulted) {
      std::string text = Os2FieldText(*key, table.record);
      keys += (keys.empty() ? "" : ", ") + std::string(key->field->name) + "=" + (text.empty() ? "\"\"" : text);
    }
    console.Printf("%s gives no value for these keys of version %u; they take their defaults: %s.\n", args[1].c_str(),
                   unsigned{table.version}, keys.c_str());
  }
  return kExitComplete;
}

}  // namespace tools
