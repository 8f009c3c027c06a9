// pellin on a profile file it did not write. The table file appears only on
// a complete run, holds the record the profile gives, and a file that is
// already there is never touched.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/scratch_folder.h"
#include "fuzz/tool_places.h"
#include "platform/profile.h"
#include "tools/pellin/profile_to_os2.h"

using fuzzsupport::Check;

namespace {
constexpr std::string_view kTakenName = "taken.os_2";
constexpr std::string_view kTakenText = "a table file that was here before";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  platform::Profile profile;
  profile.Parse(text);
  std::string tableName = profile.GetString("SUMMARY", "FileName", "");
  // Names with a folder part would reach outside the scratch folder; a zero
  // byte ends a name where the system reads it.
  if (tableName.find_first_of(std::string_view("/\0", 2)) != std::string::npos) return 0;

  tools::ToolPlace place = fuzzsupport::FreshToolPlace();
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Write("tool/Pellout.ini", text);
  scratch.Write("work/" + std::string(kTakenName), kTakenText);

  tools::TextConsole console;
  int status = tools::RunPellin({"pellin", "Pellout.ini"}, place, console);
  Check(status == tools::kExitComplete || status == tools::kExitFailure, "pellin ends with 1 or -1");
  Check(fuzzsupport::ReadFileText(scratch.File("work/" + std::string(kTakenName))) == kTakenText,
        "a file that exists is never touched");
  Check(fuzzsupport::ReadFileText(scratch.File("tool/Pellout.ini")) == text, "pellin leaves its profile file alone");
  if (tableName.empty() || tableName == kTakenName || tableName == "." || tableName == "..") {
    Check(status == tools::kExitFailure, "pellin refuses a missing or taken table name");
    return 0;
  }
  std::string tablePath = place.workFolder + "/" + tableName;
  if (status != tools::kExitComplete) {
    Check(!fuzzsupport::FileExists(tablePath), "a failed run leaves no table file");
    return 0;
  }
  tools::Os2Table expected = tools::BuildOs2Table(profile);
  Check(fuzzsupport::ReadFileText(tablePath) ==
            std::string(expected.record.begin(), expected.record.begin() + static_cast<ptrdiff_t>(expected.size)),
        "the table file holds the profile's record");
  return 0;
}
