#include "tools/pellout/os2_to_profile.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "core/io/readable_file.h"

namespace tools {
namespace {

constexpr const char* kUsage[] = {"USAGE : pellout.exe ver. 1.0", "pellout.exe filename.os_2"};

}  // namespace

Os2FieldsHeld FieldsHeld(uint16_t version, size_t size) {
  Os2FieldsHeld fields;
  for (const Os2Key& key : Os2Keys()) {
    const core::FieldInfo& field = *key.field;
    bool defined = field.since <= core::Os2LayoutVersion(version);
    if (!defined && field.offset >= core::kOs2Version1Size) continue;
    if (field.end() <= size)
      fields.held.push_back(&key);
    else if (defined)
      fields.missing.push_back(&key);
  }
  return fields;
}

void PutOs2Profile(const core::Os2Record& record, const Os2FieldsHeld& fields, const std::string& tableFileName,
                   platform::Profile* profile) {
  profile->Set("SUMMARY", "FileName", tableFileName);
  for (const Os2Key& key : Os2Keys()) {
    bool held = std::find(fields.held.begin(), fields.held.end(), &key) != fields.held.end();
    if (held)
      profile->Set(key.section, key.field->name, Os2FieldText(key, record));
    else if (profile->Has(key.section, key.field->name))
      profile->Set(key.section, key.field->name, "");
  }
}

int RunPellout(const std::vector<std::string>& args, const ToolPlace& place, Console& console) {
  console.Printf("argc = %d\n", static_cast<int>(args.size()));
  if (args.size() != 2) {
    PrintUsage(console, kUsage);
    return kExitFailure;
  }
  const std::string& tableName = args[1];
  std::string profilePath = ToolFilePath(place.toolFolder, kPelloutProfileName);

  core::ReadableFile table;
  if (!table.Open(WorkFilePath(place, tableName))) {
    PrintCannotOpen(console, tableName, table.error());
    return kExitFailure;
  }
  platform::Profile profile;
  if (!LoadToolProfile(&profile, profilePath, console)) return kExitFailure;

  // At most the bytes of the largest layout are read, whatever the file's size.
  core::Os2Record record{};
  size_t got = table.ReadAtZeroFilled(0, record.data(), record.size());
  if (table.read_error() != 0) {
    PrintCannotRead(console, tableName, table.read_error());
    return kExitFailure;
  }
  uint16_t version = core::DecodeRecord<core::Os2>(record).version;
  if (got >= 2 && version > core::kOs2LatestVersion)
    console.Printf("Warning: %s is an OS/2 table of version %u, which is newer than version %u; it is read with the "
                   "fields of version %u.\n",
                   tableName.c_str(), unsigned{version}, unsigned{core::kOs2LatestVersion},
                   unsigned{core::kOs2LatestVersion});
  Os2FieldsHeld fields = FieldsHeld(version, got);
  if (!fields.missing.empty()) {
    std::string names;
    for (const Os2Key* key : fields.missing) names += std::string(names.empty() ? "" : ", ") + key->field->name;
    console.Printf("Warning: %s holds %zu bytes, fewer than the %zu of an OS/2 table of version %u; these fields are "
                   "missing and are not written: %s.\n",
                   tableName.c_str(), got, core::Os2LayoutSize(version), unsigned{version}, names.c_str());
  }

  PutOs2Profile(record, fields, tableName, &profile);
  if (!SaveToolProfile(&profile, profilePath, console)) return kExitFailure;
  return kExitComplete;
}

}  // namespace tools
