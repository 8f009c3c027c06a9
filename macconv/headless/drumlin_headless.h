// The converter without a window: each command runs as the window runs it,
// its choosers answered from the program's arguments and its messages written
// to standard error as "CAPTION: text".
//
//   drumlin --extract IN OUT
//   drumlin --extract-all IN FOLDER
//   drumlin --cmap IN OUT
//   drumlin --name IN            (writes IN.name)
//   drumlin --dump IN OUT.txt
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/sinks.h"

namespace macconv {

std::string UsageText(const std::string& programName);

// Runs the headless command that `args` (without the program name) start.
// Returns the exit status: 0 when the command succeeded, 1 when it failed,
// 2 for a usage error (an unknown option, the wrong number of file names or
// an empty one); nothing when the first argument is no option.
std::optional<int> RunHeadless(const std::vector<std::string>& args, shell::MessageSink& messages);

}  // namespace macconv
