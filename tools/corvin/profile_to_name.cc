#include "tools/corvin/profile_to_name.h"

#include <cstdint>

#include "core/tables/name.h"
#include "core/io/readable_file.h"
#include "platform/output_file.h"
#include "platform/profile.h"
#include "tools/corvout/name_to_profile.h"
#include "tools/name/name_profile.h"

namespace tools {
namespace {

constexpr const char* kUsage[] = {"USAGE : corvin.exe ver. 1.0", "corvin.exe name.ini [u]",
                                  "[u] : Unicode high/low bytes swap"};

constexpr uint32_t kLimit16 = 65536;

// What the first pass decided for one string and the second pass copies.
struct PlannedRecord {
  uint16_t platformID = 0;
  uint16_t encodingID = 0;
  uint16_t languageID = 0;
  uint16_t nameID = 0;
  bool langTag = false;  // a language tag's string (UTF-16BE, like a Windows Unicode record's)
  unsigned index = 0;    // the record's or the tag's index
  std::string textName;  // as the profile file gives it
  uint32_t skip = 0;     // leading bytes of the text file left out
  uint32_t length = 0;   // string bytes that go into the table
};

uint16_t Low16(uint32_t value) { return static_cast<uint16_t>(value); }

bool IsUnicodeText(const PlannedRecord& record) {
  return record.langTag || IsWindowsUnicode(record.platformID, record.encodingID);
}

// The length of the record's string from its text file, checked against the
// limits of the 16-bit length and offset fields.
bool MeasureString(PlannedRecord* record, uint32_t offset, SwapModes modes, const ToolPlace& place,
                   const std::string& profilePath, Console& console) {
  core::ReadableFile text;
  if (!text.Open(WorkFilePath(place, record->textName))) {
    PrintCannotOpen(console, record->textName.empty() ? profilePath : record->textName, text.error());
    return false;
  }
  uint64_t size = text.size();
  if (modes.skipTwo && IsUnicodeText(*record) && size >= 2) record->skip = 2;
  uint64_t length = size - record->skip;
  if (length >= kLimit16) {
    console.Printf("StringLength is too long. %s\n", record->textName.c_str());
    return false;
  }
  if (offset >= kLimit16) {
    if (record->langTag)
      console.Printf("Offset is too long. language tag %d\n", static_cast<int>(record->index));
    else
      console.Printf("Offset is too long. entry %d\n", static_cast<int>(record->index));
    return false;
  }
  record->length = static_cast<uint32_t>(length);
  return true;
}

// The first pass: every record's identifiers and length, written; then, in
// format 1, the language tags' count and records, whose strings follow
// those of the name records in the storage.
bool WriteRecords(const platform::Profile& profile, uint16_t count, uint16_t langTagCount, bool format1,
                  SwapModes modes, const ToolPlace& place, const std::string& profilePath,
                  std::vector<PlannedRecord>* plan, platform::AtomicOutput* output, Console& console) {
  uint32_t offset = 0;
  for (unsigned n = 0; n < count; ++n) {
    std::string section = std::to_string(n);
    PlannedRecord record;
    record.index = n;
    const core::NameRecord ids = GetNameRecordIds(profile, section);
    record.platformID = ids.platformID;
    record.encodingID = ids.encodingID;
    record.languageID = ids.languageID;
    record.nameID = ids.nameID;
    record.textName = profile.GetString(section, "FileName", "");
    if (!MeasureString(&record, offset, modes, place, profilePath, console)) return false;
    console.Printf(
        "NR = %d : PlatformID = %d, encodingID = 0x%x, LanguageID = 0x%x, NameID = 0x%x, StringLen = %d, "
        "Offset2String = %d\n",
        static_cast<int>(n), record.platformID, record.encodingID, record.languageID, record.nameID,
        static_cast<int>(record.length), static_cast<int>(offset));
    auto raw = core::EncodeRecord(core::NameRecord{record.platformID, record.encodingID, record.languageID,
                                                   record.nameID, Low16(record.length), Low16(offset)});
    output->Write(raw);
    offset += record.length;
    plan->push_back(std::move(record));
  }
  if (!format1) return true;

  console.Printf("langTagCount = %d\n", langTagCount);
  core::ByteWriter tags;
  tags.WriteU16(langTagCount);
  for (unsigned n = 0; n < langTagCount; ++n) {
    PlannedRecord tag;
    tag.langTag = true;
    tag.index = n;
    tag.textName = profile.GetString(LangTagSection(n), "FileName", "");
    if (!MeasureString(&tag, offset, modes, place, profilePath, console)) return false;
    console.Printf("LT = %d : StringLen = %d, Offset2String = %d\n", static_cast<int>(n),
                   static_cast<int>(tag.length), static_cast<int>(offset));
    core::WriteRecord(core::LangTagRecord{Low16(tag.length), Low16(offset)}, tags);
    offset += tag.length;
    plan->push_back(std::move(tag));
  }
  output->Write(tags.bytes());
  return true;
}

// The second pass: the strings back to back, each exactly as long as the
// first pass recorded (a text file that changed meanwhile is cut or padded
// with zeros), so the offsets always match the storage.
bool WriteStrings(const std::vector<PlannedRecord>& plan, SwapModes modes, const ToolPlace& place,
                  platform::AtomicOutput* output, Console& console) {
  for (const PlannedRecord& record : plan) {
    core::ReadableFile text;
    if (!text.Open(WorkFilePath(place, record.textName))) {
      PrintCannotOpen(console, record.textName, text.error());
      return false;
    }
    std::vector<uint8_t> bytes(record.length);
    text.ReadAtZeroFilled(record.skip, bytes.data(), bytes.size());
    uint8_t first = 0;
    bool empty = text.ReadAt(0, &first, 1) == 0;
    if (text.read_error() != 0) {
      PrintCannotRead(console, record.textName, text.read_error());
      return false;
    }
    if (modes.byteSwap && IsUnicodeText(record)) {
      SwapBytePairs(bytes);
      output->Write(bytes);
      continue;
    }
    // An empty file shows the end-of-file value.
    console.Printf("%s = %d : First Char = 0x%x\n", record.langTag ? "LT" : "NR", static_cast<int>(record.index),
                   empty ? 0xffffffffu : unsigned{first});
    output->Write(bytes);
    console.Printf("loop = %d\n", static_cast<int>(bytes.size()));
  }
  return true;
}

}  // namespace

int RunCorvin(const std::vector<std::string>& args, const ToolPlace& place, Console& console) {
  if (args.size() != 2 && args.size() != 3) {
    PrintUsage(console, kUsage);
    return kExitFailure;
  }
  SwapModes modes;
  if (args.size() == 3) modes = TakeSwapFlag(args[2], /*allowSkipTwo=*/true, console);
  std::string profilePath = ToolFilePath(place.toolFolder, args[1]);
  platform::Profile profile;
  if (!LoadMergeProfile(profilePath, console, &profile)) return kExitFailure;
  if (IsMarkedUnfinished(profile)) {
    // Its text files may be part old, part new.
    console.Printf("%s: %s\n", args[1].c_str(), kInterruptedMessage);
    return kExitFailure;
  }

  std::string tableName = profile.GetString("SUMMARY", "FileName", "");
  // The count is judged as written, before it is kept to 16 bits: 65536
  // must not become a table of no records.
  const int32_t written = static_cast<int32_t>(profile.GetInt("SUMMARY", "numOfNameRec", 0));
  if (written < 0) {
    console.Printf("numOfNameRec = %d is not a count of records.\n", static_cast<int>(written));
    return kExitFailure;
  }
  if (static_cast<uint32_t>(written) > kMaxNameRecords) {
    console.Printf("numOfNameRec = %d is too large: a name table holds at most %u records.\n",
                   static_cast<int>(written), kMaxNameRecords);
    return kExitFailure;
  }
  const uint16_t count = static_cast<uint16_t>(written);
  // Format 1 (language tags after the records) when the profile says so;
  // every other table is written as format 0.
  bool format1 = profile.GetInt("SUMMARY", "format", 0) == 1;
  const uint32_t writtenTags = format1 ? profile.GetInt("SUMMARY", "langTagCount", 0) : 0;
  if (writtenTags > UINT16_MAX) {
    console.Printf("langTagCount = %d is not a count of language tags.\n", static_cast<int>(writtenTags));
    return kExitFailure;
  }
  const uint16_t langTagCount = static_cast<uint16_t>(writtenTags);
  uint64_t storageStart = format1 ? core::LangTagRecordsEnd(count, langTagCount) : core::NameRecordsEnd(count);
  if (storageStart > UINT16_MAX) {
    console.Printf("langTagCount = %d is too large: with %d records the string storage would begin past 65535.\n",
                   langTagCount, count);
    return kExitFailure;
  }
  platform::AtomicOutput output;
  if (!BeginTableFile(place, tableName, profilePath, console, &output)) return kExitFailure;

  console.Printf("numOfNameRec = %d\n", count);
  output.Write(core::EncodeRecord(core::NameHeader{Low16(format1 ? 1 : 0), count, Low16(storageStart)}));

  std::vector<PlannedRecord> plan;
  plan.reserve(size_t{count} + langTagCount);
  if (!WriteRecords(profile, count, langTagCount, format1, modes, place, profilePath, &plan, &output, console))
    return kExitFailure;
  if (!WriteStrings(plan, modes, place, &output, console)) return kExitFailure;
  if (!output.Commit()) {
    PrintCannotWrite(console, tableName, output.error());
    return kExitFailure;
  }
  return kExitComplete;
}

}  // namespace tools
