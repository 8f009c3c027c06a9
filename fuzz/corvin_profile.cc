// corvin on a profile file and text files it did not write. The input holds
// the profile file, then the text files 000.txt, 001.txt, ... as further
// parts; a first line "u" or "u2" (which the profile reader skips, being
// before any section) gives the swap flag. A complete run writes a table
// whose records and strings tile it exactly; a failed one writes nothing; a
// file that is already there is never touched.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/input_parts.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/tool_places.h"
#include "platform/profile.h"
#include "tools/corvin/profile_to_name.h"
#include "tools/corvout/name_to_profile.h"

using fuzzsupport::Check;

namespace {

constexpr size_t kMostTextFiles = 8;
constexpr std::string_view kTakenName = "taken.name";
constexpr std::string_view kTakenText = "a table file that was here before";

bool SafeName(const std::string& name) { return name.find_first_of(std::string_view("/\0", 2)) == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string_view> parts = fuzzsupport::SplitParts(data, size, kMostTextFiles + 1);
  std::string text(parts[0]);
  platform::Profile profile;
  profile.Parse(text);
  std::string tableName = profile.GetString("SUMMARY", "FileName", "");
  uint32_t count = profile.GetInt("SUMMARY", "numOfNameRec", 0) & 0xFFFF;
  if (!SafeName(tableName)) return 0;
  for (uint32_t n = 0; n < count && n <= tools::kMaxNameRecords; ++n)
    if (!SafeName(profile.GetString(std::to_string(n), "FileName", ""))) return 0;

  tools::ToolPlace place = fuzzsupport::FreshToolPlace();
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Write("tool/Corvout.ini", text);
  scratch.Write("work/" + std::string(kTakenName), kTakenText);
  for (size_t n = 1; n < parts.size(); ++n) scratch.Write("work/" + tools::NameTextFileName(n - 1), parts[n]);

  std::vector<std::string> args = {"corvin", "Corvout.ini"};
  if (text.starts_with("u2\n")) args.push_back("u2");
  else if (text.starts_with("u\n")) args.push_back("u");
  tools::TextConsole console;
  int status = tools::RunCorvin(args, place, console);
  Check(status == tools::kExitComplete || status == tools::kExitFailure, "corvin ends with 1 or -1");
  Check(fuzzsupport::ReadFileText(scratch.File("work/" + std::string(kTakenName))) == kTakenText,
        "a file that exists is never touched");
  Check(fuzzsupport::ReadFileText(scratch.File("tool/Corvout.ini")) == text, "corvin leaves its profile file alone");
  for (size_t n = 1; n < parts.size(); ++n)
    Check(fuzzsupport::ReadFileText(scratch.File("work/" + tools::NameTextFileName(n - 1))) == parts[n],
          "corvin leaves the text files alone");
  if (tableName.empty() || tableName == kTakenName || tableName == "." || tableName == ".." ||
      count > tools::kMaxNameRecords) {
    Check(status == tools::kExitFailure, "corvin refuses a missing or taken table name and too many records");
    return 0;
  }
  std::string tablePath = place.workFolder + "/" + tableName;
  bool preexisting = false;
  for (size_t n = 1; n < parts.size(); ++n) preexisting |= tableName == tools::NameTextFileName(n - 1);
  if (preexisting) {
    Check(status == tools::kExitFailure, "corvin refuses a table name that is taken");
    return 0;
  }
  if (status != tools::kExitComplete) {
    Check(!fuzzsupport::FileExists(tablePath), "a failed run leaves no table file");
    return 0;
  }
  std::string table = fuzzsupport::ReadFileText(tablePath);
  std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(table.data()), table.size());
  tools::NameTable read = tools::ReadNameTable(bytes);
  Check(read.count == count && read.records.size() == count, "the table has numOfNameRec records");
  Check(read.storageOffset == 6 + 12 * count, "the strings follow the records");
  uint64_t offset = 0;
  for (const core::NameRecord& record : read.records) {
    Check(record.offset == offset, "each string follows the one before");
    offset += record.length;
  }
  Check(table.size() == 6 + 12 * uint64_t{count} + offset, "the strings end the table");
  return 0;
}
