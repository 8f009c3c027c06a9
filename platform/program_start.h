// What every program of the suite does first: it takes its arguments as
// UTF-8 text. On Windows they come from the wide command line (so that a
// Japanese file name arrives whole whatever the code page), the standard
// streams pass bytes through unchanged (no LF to CRLF), and a console shows
// UTF-8 text.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's arguments, argv[0] first.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace platform
