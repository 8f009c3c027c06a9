#include "tools/pellout/os2_to_profile.h"

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

void PutOs2Profile(const core::Os2Record& record, const std::string& tableFileName, platform::Profile* profile) {
  profile->Set("SUMMARY", "FileName", tableFileName);
  for (const core::Os2Field& field : core::Os2Fields()) profile->Set(field.section, field.key, Os2FieldText(field, record));
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
    PrintCannotOpen(console, tableName);
    return kExitFailure;
  }
  platform::Profile profile;
  if (!LoadToolProfile(&profile, profilePath, console)) return kExitFailure;

  // Only the first 86 bytes are read, whatever the file's size or version.
  core::Os2Record record{};
  size_t got = table.ReadAtZeroFilled(0, record.data(), record.size());
  if (got < record.size())
    console.Printf(
        "Warning: %s holds %zu bytes, fewer than the %zu of an OS/2 table; the missing bytes are taken as zero.\n",
        tableName.c_str(), got, core::kOs2RecordSize);

  PutOs2Profile(record, tableName, &profile);
  if (!SaveToolProfile(&profile, profilePath, console)) return kExitFailure;
  return kExitComplete;
}

}  // namespace tools
