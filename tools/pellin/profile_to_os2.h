// pellin: a profile file in the OS/2 format of "Pellout.ini" to a new OS/2
// table file: 86 bytes for versions 0 and 1, 96 for versions 2 to 4, 100 for
// version 5 and above.
#pragma once

#include <string>
#include <vector>

#include "platform/profile.h"
#include "tools/frame/console.h"
#include "core/tables/os2.h"
#include "tools/frame/tool_frame.h"
#include "tools/os2/os2_profile.h"

namespace tools {

// The table built from the profile: every field of the 86-byte layout and
// of the version's layout, each integer by the integer rule with its
// default, kept to the field's width; achVendID by the string rule, its
// first four characters (a shorter value is followed by zero bytes).
struct Os2Table {
  core::Os2Record record{};
  size_t size = core::kOs2Version1Size;  // the bytes of `record` that are written
  uint16_t version = 0;
  // The fields of the version whose keys are missing or empty, which
  // therefore took their defaults.
  std::vector<const Os2Key*> defaulted;
};
Os2Table BuildOs2Table(const platform::Profile& profile);

// One run: args[0] is the program, args[1] the profile file's name in the
// tool folder. Returns the exit status (1 or -1).
int RunPellin(const std::vector<std::string>& args, const ToolPlace& place, Console& console);

}  // namespace tools
