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

core::Os2Record BuildOs2Record(const platform::Profile& profile) {
  core::Os2Record record{};
  for (const core::Os2Field& field : core::Os2Fields()) {
    if (field.form == core::Os2TextForm::kVendor) {
      std::string vendor = profile.GetString(field.section, field.key, "", kVendorTextLimit);
      core::StoreOs2FieldBytes(field, std::span(reinterpret_cast<const uint8_t*>(vendor.data()), vendor.size()), &record);
      continue;
    }
    core::StoreOs2FieldBits(field, profile.GetInt(field.section, field.key, field.defaultValue), &record);
  }
  return record;
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
  core::Os2Record record = BuildOs2Record(profile);
  if (!output.Write(record.data(), record.size()) || !output.Commit()) {
    PrintCannotOpen(console, profilePath);
    return kExitFailure;
  }
  return kExitComplete;
}

}  // namespace tools
