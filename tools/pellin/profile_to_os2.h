// pellin: a profile file in the OS/2 format of "Pellout.ini" to a new
// 86-byte OS/2 table file.
#pragma once

#include <string>
#include <vector>

#include "platform/profile.h"
#include "tools/frame/console.h"
#include "core/tables/os2.h"
#include "tools/frame/tool_frame.h"

namespace tools {

// The record built from the profile: every integer field by the integer rule
// with its default, kept to the field's width; achVendID by the string rule,
// its first four characters (a shorter value is followed by zero bytes).
core::Os2Record BuildOs2Record(const platform::Profile& profile);

// One run: args[0] is the program, args[1] the profile file's name in the
// tool folder. Returns the exit status (1 or -1).
int RunPellin(const std::vector<std::string>& args, const ToolPlace& place, Console& console);

}  // namespace tools
