#include "tools/pellin/profile_to_os2.h"

#include <algorithm>

#include "core/readable_file.h"
#include "platform/output_file.h"

namespace tools {
namespace {

constexpr const char* kUsage[] = {"USAGE : pellin.exe ver. 1.0", "pellin.exe name.ini"};

// The vendor ID is read into an 8-byte buffer: at most seven characters.
constexpr size_t kVendorTextLimit = 7;

}  // namespace

Os2Table BuildOs2Table(const platform::Profile& profile) {
  Os2Table table;
  const core::Os2Field& versionField = core::Os2FieldNamed("version");
  table.version = static_cast<uint16_t>(profile.GetInt(versionField.section, versionField.key, versionField.defaultValue));
  table.size = std::max(core::kOs2Version1Size, core::Os2LayoutSize(table.version));
  for (const core::Os2Field& field : core::Os2Fields()) {
    bool added = field.offset >= core::kOs2Version1Size;
    if (added && !core::Os2FieldInVersion(field, table.version)) continue;
    if (field.form == core::Os2TextForm::kVendor) {
      std::string vendor = profile.GetString(field.section, field.key, "", kVendorTextLimit);
      core::StoreOs2FieldBytes(field, std::span(reinterpret_cast<const uint8_t*>(vendor.data()), vendor.size()),
                               &table.record);
      continue;
    }
    if (added && profile.GetString(field.section, field.key, "").empty()) table.defaulted.push_back(&field);
    core::StoreOs2FieldBits(field, profile.GetInt(field.section, field.key, field.defaultValue), &table.record);
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
    PrintCannotOpen(console, profilePath);
    return kExitFailure;
  }
  if (!table.defaulted.empty()) {
    std::string keys;
    for (const core::Os2Field* field : table.defaulted)
      keys += (keys.empty() ? "" : ", ") + std::string(field->key) + "=" + std::to_string(field->defaultValue);
    console.Printf("%s gives no value for these keys of version %u; they take their defaults: %s.\n", args[1].c_str(),
                   unsigned{table.version}, keys.c_str());
  }
  return kExitComplete;
}

}  // namespace tools
