// corvout on a name table file it did not write, then corvin on the profile
// file and text files it wrote: the rebuilt table holds every record that lay
// in the file with its identifiers and string bytes. Inputs of odd size run
// both tools in byte-swap mode (which must cancel out).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/io/byte_order.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/tool_places.h"
#include "platform/profile.h"
#include "tools/corvin/profile_to_name.h"
#include "tools/corvout/name_to_profile.h"

using fuzzsupport::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tools::ToolPlace place = fuzzsupport::FreshToolPlace();
  std::span<const uint8_t> bytes(data, size);
  fuzzsupport::ScratchFolder::Get().Write("work/input.name", bytes);
  std::vector<std::string> extractArgs = {"corvout", "input.name"};
  std::vector<std::string> mergeArgs = {"corvin", tools::kCorvoutProfileName};
  if (size % 2 == 1) {
    extractArgs.push_back("u");
    mergeArgs.push_back("u");
  }

  tools::TextConsole console;
  Check(tools::RunCorvout(extractArgs, place, console) == tools::kExitComplete,
        "corvout completes on any table file");
  tools::NameTable table = tools::ReadNameTable(bytes);
  std::string profilePath = place.toolFolder + "/" + tools::kCorvoutProfileName;
  platform::Profile profile;
  Check(profile.Load(profilePath), "the profile file reads back");
  Check(profile.GetInt("SUMMARY", "numOfNameRec", 99999) == table.records.size(),
        "numOfNameRec counts the records written");
  for (size_t n = 0; n < table.records.size(); ++n) {
    std::string text = fuzzsupport::ReadFileText(place.workFolder + "/" + tools::NameTextFileName(n));
    std::vector<uint8_t> string = tools::NameString(bytes, table, table.records[n], size % 2 == 1);
    Check(text == std::string(string.begin(), string.end()), "each text file holds its record's string");
  }

  // Back through the merge tool.
  Check(profile.Set("SUMMARY", "FileName", "back.name") && profile.Save(profilePath), "the profile is writable");
  tools::TextConsole mergeConsole;
  int status = tools::RunCorvin(mergeArgs, place, mergeConsole);
  bool format1 = table.format == 1;
  bool fits = table.records.size() <= tools::kMaxNameRecords &&
              (!format1 || core::LangTagRecordsEnd(table.records.size(), table.langTags.size()) <= 65535);
  uint32_t offset = 0;
  for (const core::NameRecord& record : table.records) {
    if (offset >= 65536) fits = false;
    offset += record.length;
  }
  for (const core::LangTagRecord& tag : table.langTags) {
    if (offset >= 65536) fits = false;
    offset += tag.length;
  }
  std::string backPath = place.workFolder + "/back.name";
  if (!fits) {
    Check(status == tools::kExitFailure && !fuzzsupport::FileExists(backPath),
          "corvin refuses strings beyond the 16-bit offsets and writes nothing");
    return 0;
  }
  Check(status == tools::kExitComplete, "corvin completes on corvout's files");
  std::string back = fuzzsupport::ReadFileText(backPath);
  std::span<const uint8_t> rebuilt(reinterpret_cast<const uint8_t*>(back.data()), back.size());
  tools::NameTable again = tools::ReadNameTable(rebuilt);
  Check(!again.shortInput, "the rebuilt table is complete");
  Check(again.records.size() == table.records.size(), "the rebuilt table has every record");
  Check(again.format == (format1 ? 1 : 0), "format 1 stays format 1, every other format becomes 0");
  Check(again.storageOffset == (format1 ? core::LangTagRecordsEnd(table.records.size(), table.langTags.size())
                                        : core::NameRecordsEnd(table.records.size())),
        "the strings follow the records");
  Check(again.langTags.size() == table.langTags.size(), "the rebuilt table has every language tag");
  for (size_t n = 0; n < table.langTags.size(); ++n)
    Check(tools::LangTagString(bytes, table, table.langTags[n], false) ==
              tools::LangTagString(rebuilt, again, again.langTags[n], false),
          "a rebuilt language tag keeps its string bytes");
  for (size_t n = 0; n < table.records.size(); ++n) {
    const core::NameRecord& a = table.records[n];
    const core::NameRecord& b = again.records[n];
    Check(a.platformID == b.platformID && a.encodingID == b.encodingID && a.languageID == b.languageID &&
              a.nameID == b.nameID && a.length == b.length,
          "a rebuilt record keeps its identifiers and length");
    Check(tools::NameString(bytes, table, a, false) == tools::NameString(rebuilt, again, b, false),
          "a rebuilt record keeps its string bytes");
  }
  return 0;
}
