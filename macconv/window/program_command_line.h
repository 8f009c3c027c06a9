// The program's argument list as the one command line the converter parses,
// and the program path it records as "myself" under
// QSettings("Marlowby", "tolva").
#pragma once

#include <string>
#include <vector>

namespace drumlin {

// The arguments joined by blanks, each one that holds a blank (or is empty)
// in double quotes.
std::string JoinArguments(const std::vector<std::string>& arguments);

void RecordMyself(const std::string& programPath);
// Empty when nothing was recorded.
std::string ReadMyself();

}  // namespace drumlin
