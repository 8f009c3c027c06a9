#include "tools/corvout/name_to_profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/byte_cursor.h"
#include "core/readable_file.h"
#include "platform/output_file.h"

namespace tools {
namespace {

constexpr const char* kUsage[] = {"USAGE : corvout.exe ver. 1.0", "corvout.exe filename.name [u]",
                                  "[u] : unicode high/low byte swap."};

// No field of a name table reaches further than the last of 65535 records
// (a string ends at most 3 x 65535 bytes in), so no more is ever read.
constexpr uint64_t kNameTableReach = core::NameRecordsEnd(65535);

}  // namespace

NameTable ReadNameTable(std::span<const uint8_t> bytes) {
  core::NameRecords read = core::ReadNameRecords(bytes, core::Rounding::kTouchingRecords);
  NameTable table;
  table.count = read.header.count;
  table.storageOffset = read.header.stringOffset;
  table.shortInput = read.cut;
  for (const core::NameRecord& record : read.records)
    if (core::NameStringStart(read.header, record) + record.length > bytes.size()) table.shortInput = true;
  table.records = std::move(read.records);
  return table;
}

std::vector<uint8_t> NameString(std::span<const uint8_t> bytes, const NameTable& table, const core::NameRecord& record,
                                bool byteSwap) {
  // At most 65535 bytes: the length is a 16-bit field.
  std::vector<uint8_t> text(record.length);
  core::ByteCursor cursor(bytes, uint64_t{table.storageOffset} + record.offset);
  cursor.ReadBytes(text.data(), text.size());
  if (byteSwap && IsWindowsUnicode(record.platformID, record.encodingID)) SwapBytePairs(text);
  return text;
}

std::string NameTextFileName(size_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "%03zu.txt", index);
  return name;
}

int RunCorvout(const std::vector<std::string>& args, const ToolPlace& place, Console& console) {
  console.Printf("argc = %d\n", static_cast<int>(args.size()));
  if (args.size() != 2 && args.size() != 3) {
    PrintUsage(console, kUsage);
    return kExitFailure;
  }
  SwapModes modes;
  if (args.size() == 3) modes = TakeSwapFlag(args[2], /*allowSkipTwo=*/false, console);
  const std::string& tableName = args[1];
  std::string profilePath = ToolFilePath(place.toolFolder, kCorvoutProfileName);

  core::ReadableFile file;
  if (!file.Open(WorkFilePath(place, tableName))) {
    PrintCannotOpen(console, tableName);
    return kExitFailure;
  }
  platform::Profile profile;
  if (!LoadToolProfile(&profile, profilePath, console)) return kExitFailure;
  profile.Set("SUMMARY", "FileName", tableName);

  std::vector<uint8_t> bytes = file.ReadRange(0, kNameTableReach);
  file.Close();
  NameTable table = ReadNameTable(bytes);
  if (table.shortInput) {
    console.Printf("Warning: %s ends after %zu bytes, before its name table does; the missing bytes are taken as zero",
                   tableName.c_str(), bytes.size());
    if (table.records.size() < table.count)
      console.Printf(" and the %zu records that lie wholly past the end are left out",
                     table.count - table.records.size());
    console.Write(".\n");
  }

  // The count of records really written, so that the merge tool never takes
  // record sections of an earlier run for this table's.
  console.Printf("numOfNameRec = %d\n", static_cast<int>(table.records.size()));
  profile.Set("SUMMARY", "numOfNameRec", std::to_string(table.records.size()));

  for (size_t n = 0; n < table.records.size(); ++n) {
    const core::NameRecord& record = table.records[n];
    console.Printf(
        "NR = %d : PlatformID = %d, encodingID = 0x%x, LanguageID = 0x%x, NameID = 0x%x, StringLen = %d, "
        "Offset2String = %d\n",
        static_cast<int>(n), record.platformID, record.encodingID, record.languageID, record.nameID, record.length,
        record.offset);
    std::string textName = NameTextFileName(n);
    std::vector<uint8_t> text = NameString(bytes, table, record, modes.byteSwap);
    bool written = platform::ReplaceFile(WorkFilePath(place, textName), text);

    std::string section = std::to_string(n);
    profile.Set(section, "PlatformID", std::to_string(record.platformID));
    profile.Set(section, "encodingID", std::to_string(record.encodingID));
    profile.Set(section, "LanguageID", std::to_string(record.languageID));
    profile.Set(section, "NameID", std::to_string(record.nameID));
    profile.Set(section, "StringLen", std::to_string(record.length));
    profile.Set(section, "FileName", textName);
    if (!written) PrintCannotOpen(console, textName);
  }
  if (!SaveToolProfile(&profile, profilePath, console)) return kExitFailure;
  return kExitComplete;
}

}  // namespace tools
