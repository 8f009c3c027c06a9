// corvin: a profile file in the name format of "Corvout.ini" plus the text
// files it names to a new name table file, the strings laid out anew.
#pragma once

#include <string>
#include <vector>

#include "tools/frame/console.h"
#include "tools/frame/tool_frame.h"

namespace tools {

// 12 x count + 6 must fit the 16-bit string storage offset.
constexpr unsigned kMaxNameRecords = 5460;

// One run: args[0] is the program, args[1] the profile file's name in the
// tool folder, args[2] the optional swap flag ("u", "U", "u2"...). Returns
// the exit status (1 or -1). The table file appears only when complete.
int RunCorvin(const std::vector<std::string>& args, const ToolPlace& place, Console& console);

}  // namespace tools
