// pellout on an OS/2 table file it did not write, then pellin on the profile
// file it wrote: every field comes back as the table held it (the vendor ID
// up to its first zero byte).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "fuzz/scratch_folder.h"
#include "fuzz/tool_places.h"
#include "platform/profile.h"
#include "tools/pellin/profile_to_os2.h"
#include "tools/pellout/os2_to_profile.h"

using fuzzsupport::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tools::ToolPlace place = fuzzsupport::FreshToolPlace();
  fuzzsupport::ScratchFolder::Get().Write("work/input.os_2", std::span(data, size));

  tools::TextConsole console;
  int status = tools::RunPellout({"pellout", "input.os_2"}, place, console);
  Check(status == tools::kExitComplete, "pellout completes on any table file");
  std::string profilePath = place.toolFolder + "/" + tools::kPelloutProfileName;
  Check(fuzzsupport::FileExists(profilePath), "pellout writes its profile file");

  // Back through the merge tool into a new table file.
  platform::Profile profile;
  Check(profile.Load(profilePath), "the profile file reads back");
  Check(profile.GetString("SUMMARY", "FileName", "") == "input.os_2", "FileName names the table file");
  Check(profile.Set("SUMMARY", "FileName", "back.os_2") && profile.Save(profilePath), "the profile file is writable");
  tools::TextConsole mergeConsole;
  Check(tools::RunPellin({"pellin", tools::kPelloutProfileName}, place, mergeConsole) == tools::kExitComplete,
        "pellin completes on pellout's profile file");
  std::string back = fuzzsupport::ReadFileText(place.workFolder + "/back.os_2");
  uint16_t version = size >= 2 ? static_cast<uint16_t>(data[0] << 8 | data[1]) : 0;
  Check(back.size() == std::max(core::kOs2Version1Size, core::Os2LayoutSize(version)),
        "pellin writes the length of the table's version");

  core::Os2Record expected{};
  if (size > 0) std::memcpy(expected.data(), data, std::min(size, expected.size()));
  // The vendor ID is text: it ends at its first zero byte, and a line break in
  // it cannot stand in a profile line.
  uint8_t* vendor = expected.data() + 58;
  bool lineBreak = false;
  for (int at = 0; at < 4; ++at) lineBreak |= vendor[at] == '\r' || vendor[at] == '\n';
  for (int at = 0; at < 4; ++at)
    if (vendor[at] == 0) std::memset(vendor + at, 0, 4 - at);
  // Every field that the table held comes back; the others take defaults.
  for (const tools::Os2Key* key : tools::FieldsHeld(version, size).held) {
    const core::FieldInfo* field = key->field;
    if (lineBreak && key->form == tools::Os2TextForm::kVendor) continue;
    for (size_t at = field->offset; at < size_t{field->offset} + field->width; ++at)
      Check(at < back.size() && static_cast<uint8_t>(back[at]) == expected[at],
            "extract and merge give the table's bytes back");
  }
  return 0;
}
