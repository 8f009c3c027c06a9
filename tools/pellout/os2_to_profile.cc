#include "tools/pellout/os2_to_profile.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "core/readable_file.h"

namespace tools {
namespace {

constexpr const char* kUsage[] = {"USAGE : pellout.exe ver. 1.0", "pellout.exe filename.os_2"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string VendorText(const uint8_t vendor[4]) {
  std::string text;
  for (int at = 0; at < 4 && vendor[at] != 0; ++at) text.push_back(static_cast<char>(vendor[at]));
  if (text.empty()) return text;
  bool blankAtEnd = IsBlank(text.front()) || IsBlank(text.back());
  bool quotedAlready = text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\'');
  if (blankAtEnd || quotedAlready) return "\"" + text + "\"";
  return text;
}

std::string Os2FieldText(const core::Os2Field& field, const core::Os2Record& record) {
  uint32_t bits = core::Os2FieldBits(field, record);
  // A signed 16-bit field widened with its sign to 32 bits.
  int32_t value = field.isSigned && field.width == 2 ? static_cast<int16_t>(bits) : static_cast<int32_t>(bits);
  char text[32];
  switch (field.form) {
    case core::Os2TextForm::kDecimal:
      if (field.isSigned)
        std::snprintf(text, sizeof text, "%" PRId32, value);
      else
        std::snprintf(text, sizeof text, "%" PRIu32, bits);
      return text;
    case core::Os2TextForm::kHex:
      std::snprintf(text, sizeof text, "0x%" PRIx32, static_cast<uint32_t>(value));
      return text;
    case core::Os2TextForm::kHex8:
      std::snprintf(text, sizeof text, "0x%08" PRIx32, bits);
      return text;
    case core::Os2TextForm::kVendor:
      return VendorText(core::Os2FieldBytes(field, record).data());
  }
  return std::string();
}

Os2FieldsHeld FieldsHeld(uint16_t version, size_t size) {
  Os2FieldsHeld fields;
  for (const core::Os2Field& field : core::Os2Fields()) {
    bool defined = core::Os2FieldInVersion(field, version);
    if (!defined && field.offset >= core::kOs2Version1Size) continue;
    if (size_t{field.offset} + field.width <= size)
      fields.held.push_back(&field);
    else if (defined)
      fields.missing.push_back(&field);
  }
  return fields;
}

void PutOs2Profile(const core::Os2Record& record, const Os2FieldsHeld& fields, const std::string& tableFileName,
                   platform::Profile* profile) {
  profile->Set("SUMMARY", "FileName", tableFileName);
  for (const core::Os2Field& field : core::Os2Fields()) {
    bool held = std::find(fields.held.begin(), fields.held.end(), &field) != fields.held.end();
    if (held)
      profile->Set(field.section, field.key, Os2FieldText(field, record));
    else if (profile->Has(field.section, field.key))
      profile->Set(field.section, field.key, "");
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
  uint16_t version = static_cast<uint16_t>(core::Os2FieldBits("version", record));
  if (got >= 2 && version > core::kOs2LatestVersion)
    console.Printf("Warning: %s is an OS/2 table of version %u, which is newer than version %u; it is read with the "
                   "fields of version %u.\n",
                   tableName.c_str(), unsigned{version}, unsigned{core::kOs2LatestVersion},
                   unsigned{core::kOs2LatestVersion});
  Os2FieldsHeld fields = FieldsHeld(version, got);
  if (!fields.missing.empty()) {
    std::string names;
    for (const core::Os2Field* field : fields.missing) names += std::string(names.empty() ? "" : ", ") + field->key;
    console.Printf("Warning: %s holds %zu bytes, fewer than the %zu of an OS/2 table of version %u; these fields are "
                   "missing and are not written: %s.\n",
                   tableName.c_str(), got, core::Os2LayoutSize(version), unsigned{version}, names.c_str());
  }

  PutOs2Profile(record, fields, tableName, &profile);
  if (!SaveToolProfile(&profile, profilePath, console)) return kExitFailure;
  return kExitComplete;
}

}  // namespace tools
