#include "tools/corvout/name_to_profile.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <cstdio>
#include <cstring>

#include "core/io/byte_cursor.h"
#include "core/io/readable_file.h"
#include "platform/output_file.h"
#include "tools/name/name_profile.h"

namespace tools {
namespace {

constexpr const char* kUsage[] = {"USAGE : corvout.exe ver. 1.0", "corvout.exe filename.name [u]",
                                  "[u] : unicode high/low byte swap."};

// No field of a name table reaches further than the last of 65535
// language tags after 65535 records (a string ends at most 3 x 65535 bytes
// in), so no more is ever read.
constexpr uint64_t kNameTableReach = core::LangTagRecordsEnd(65535, 65535);

// The text files of one run hold at most this many bytes per byte of the
// table, plus the allowance.
constexpr uint64_t kTextPerTableByte = 16;
constexpr uint64_t kTextAllowance = uint64_t{1} << 20;

// The bytes of every text file the table gives.
uint64_t TextBytesOf(const NameTable& table) {
  uint64_t total = 0;
  for (const core::NameRecord& record : table.records) total += record.length;
  for (const core::LangTagRecord& tag : table.langTags) total += tag.length;
  return total;
}

}  // namespace

namespace {

// Stages a text file of the set; prints the cannot-open line when it cannot be written.
bool StageText(platform::ReplacementSet* set, const ToolPlace& place, const std::string& textName,
               std::span<const uint8_t> text, Console& console) {
  if (set->Stage(WorkFilePath(place, textName), text)) return true;
  PrintCannotOpen(console, textName);
  return false;
}

bool PutLangTags(std::span<const uint8_t> bytes, const NameTable& table, bool byteSwap, const ToolPlace& place,
                 platform::Profile* profile, platform::ReplacementSet* set, Console& console) {
  if (table.format != 1) {
    // A profile file from a run on a format-1 table must not make this one format 1.
    if (profile->Has("SUMMARY", "format")) profile->Set("SUMMARY", "format", "0");
    if (profile->Has("SUMMARY", "langTagCount")) profile->Set("SUMMARY", "langTagCount", "0");
    return true;
  }
  bool allWritten = true;
  profile->Set("SUMMARY", "format", "1");
  profile->Set("SUMMARY", "langTagCount", std::to_string(table.langTags.size()));
  console.Printf("langTagCount = %d\n", static_cast<int>(table.langTags.size()));
  for (size_t n = 0; n < table.langTags.size(); ++n) {
    const core::LangTagRecord& tag = table.langTags[n];
    console.Printf("LT = %d : StringLen = %d, Offset2String = %d\n", static_cast<int>(n), tag.length, tag.offset);
    std::string textName = LangTagTextFileName(n);
    allWritten = StageText(set, place, textName, LangTagString(bytes, table, tag, byteSwap), console) && allWritten;
    std::string section = LangTagSection(n);
    profile->Set(section, "StringLen", std::to_string(tag.length));
    profile->Set(section, "FileName", textName);
  }
  return allWritten;
}

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
  table.format = read.header.format;
  if (table.format == 1) {
    table.shortInput = table.shortInput || read.langTagsCut;
    for (const core::LangTagRecord& tag : read.langTags)
      if (uint64_t{table.storageOffset} + tag.offset + tag.length > bytes.size()) table.shortInput = true;
    table.langTagCount = read.langTagCount;
    table.langTags = std::move(read.langTags);
  }
  return table;
}

namespace {

// `length` bytes of the string storage from `offset`; past the end, zeros.
std::vector<uint8_t> StoredString(std::span<const uint8_t> bytes, const NameTable& table, uint16_t offset,
                                  uint16_t length, bool byteSwap) {
  std::vector<uint8_t> text(length);
  core::ByteCursor cursor(bytes, uint64_t{table.storageOffset} + offset);
  cursor.ReadBytes(text.data(), text.size());
  if (byteSwap) SwapBytePairs(text);
  return text;
}

}  // namespace

std::vector<uint8_t> NameString(std::span<const uint8_t> bytes, const NameTable& table, const core::NameRecord& record,
                                bool byteSwap) {
  return StoredString(bytes, table, record.offset, record.length,
                      byteSwap && IsWindowsUnicode(record.platformID, record.encodingID));
}

std::vector<uint8_t> LangTagString(std::span<const uint8_t> bytes, const NameTable& table,
                                   const core::LangTagRecord& tag, bool byteSwap) {
  return StoredString(bytes, table, tag.offset, tag.length, byteSwap);
}

std::string NameTextFileName(size_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "%03zu.txt", index);
  return name;
}

std::string LangTagTextFileName(size_t index) { return "tag" + NameTextFileName(index); }

std::string LangTagSection(size_t index) { return "LangTag" + std::to_string(index); }

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
    PrintCannotOpen(console, tableName, file.error());
    return kExitFailure;
  }
  platform::Profile profile;
  if (!LoadToolProfile(&profile, profilePath, console)) return kExitFailure;
  DropUnfinishedMark(&profile);  // left by a run that was killed
  profile.Set("SUMMARY", "FileName", tableName);

  std::vector<uint8_t> bytes = file.ReadRange(0, kNameTableReach);
  if (file.read_error() != 0) {
    PrintCannotRead(console, tableName, file.read_error());
    return kExitFailure;
  }
  file.Close();
  NameTable table = ReadNameTable(bytes);
  if (table.shortInput) {
    console.Printf("Warning: %s ends after %zu bytes, before its name table does; the missing bytes are taken as zero",
                   tableName.c_str(), bytes.size());
    if (table.records.size() < table.count)
      console.Printf(" and the %zu records that lie wholly past the end are left out",
                     table.count - table.records.size());
    else if (table.langTags.size() < table.langTagCount)
      console.Printf(" and the %zu language tags that lie wholly past the end are left out",
                     table.langTagCount - table.langTags.size());
    console.Write(".\n");
  }

  // Records may share their strings, but a table's text files are never
  // allowed to outgrow the table many times over: 5000 records of 65535
  // bytes each in a table of 60 KB would be 300 MB of text.
  const uint64_t textBytes = TextBytesOf(table);
  const uint64_t textLimit = kTextPerTableByte * bytes.size() + kTextAllowance;
  if (textBytes > textLimit) {
    console.Printf("The strings of %s add up to %llu bytes, more than %llu bytes per byte of the table plus 1 MiB "
                   "(%llu bytes). Nothing is written.\n",
                   tableName.c_str(), static_cast<unsigned long long>(textBytes),
                   static_cast<unsigned long long>(kTextPerTableByte), static_cast<unsigned long long>(textLimit));
    return kExitFailure;
  }

  // The count of records really written, so that the merge tool never takes
  // record sections of an earlier run for this table's.
  console.Printf("numOfNameRec = %d\n", static_cast<int>(table.records.size()));
  profile.Set("SUMMARY", "numOfNameRec", std::to_string(table.records.size()));

  // The text files and the profile file that names them are replaced as one
  // set. The profile file goes first, marked unfinished, and is written
  // again without the mark once every text file is in place: a run that
  // fails or is killed on the way leaves either the previous set whole or a
  // set that corvin refuses, never old records over new strings.
  platform::ReplacementSet set;
  bool allWritten = true;
  for (size_t n = 0; n < table.records.size(); ++n) {
    const core::NameRecord& record = table.records[n];
    console.Printf(
        "NR = %d : PlatformID = %d, encodingID = 0x%x, LanguageID = 0x%x, NameID = 0x%x, StringLen = %d, "
        "Offset2String = %d\n",
        static_cast<int>(n), record.platformID, record.encodingID, record.languageID, record.nameID, record.length,
        record.offset);
    std::string textName = NameTextFileName(n);
    std::vector<uint8_t> text = NameString(bytes, table, record, modes.byteSwap);
    allWritten = StageText(&set, place, textName, text, console) && allWritten;

    std::string section = std::to_string(n);
    PutNameRecord(record, section, &profile);
    profile.Set(section, "FileName", textName);
  }
  allWritten = PutLangTags(bytes, table, modes.byteSwap, place, &profile, &set, console) && allWritten;
  // The record and language tag sections of a larger table read before go:
  // the file describes this table alone.
  profile.RemoveSectionsIf([&table](std::string_view name) {
    std::optional<uint64_t> record = platform::NumberedName(name, "");
    if (record) return *record >= table.records.size();
    std::optional<uint64_t> tag = platform::NumberedName(name, "LangTag");
    return tag && (table.format != 1 || *tag >= table.langTags.size());
  });
  std::string text = profile.Serialize();
  if (allWritten) {
    std::string marked = MarkUnfinished(text);
    allWritten = set.StageFirst(profilePath, std::span(reinterpret_cast<const uint8_t*>(marked.data()), marked.size()));
    if (!allWritten) PrintCannotOpen(console, profilePath);
  }
  if (!allWritten || !set.Commit()) {
    if (set.placed() == 0)
      console.Printf("Nothing is replaced: %s and its text files stay as they were.\n", profilePath.c_str());
    else
      console.Printf("Not every text file could be replaced: %s marks the set unfinished.\n", profilePath.c_str());
    return kExitFailure;
  }
  if (!platform::ReplaceFile(profilePath, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()))) {
    PrintCannotOpen(console, profilePath);
    console.Printf("%s marks the set unfinished.\n", profilePath.c_str());
    return kExitFailure;
  }
  return kExitComplete;
}

}  // namespace tools
