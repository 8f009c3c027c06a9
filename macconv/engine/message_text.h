// Message texts shared by the converter's commands.
#pragma once

#include <string>

namespace macconv {

// "Function CreateFile(<name>) failed!! File exist?": a file could not be
// opened or created.
std::string CreateFileFailedText(const std::string& name);

// "File exist? : <name>": an output name that is already taken.
std::string FileExistText(const std::string& name);

// "Function WriteFile(<name>) failed!! <errno>": writing an output failed.
std::string WriteFileFailedText(const std::string& name, int error);

// "Function ReadFile(<name>) failed!! <errno>": the input could not be read
// to its end (ENODATA: it ended before the size it had when opened).
std::string ReadFileFailedText(const std::string& name, int error);

// "Written: <name>": the detail of a message that ends a command which
// wrote a file.
std::string WrittenDetail(const std::string& name);

// One more line for the progress text, set out as the cmap conversion sets
// out its lines: "\n", five blanks, the text, five blanks.
std::string ProgressLine(const std::string& text);

}  // namespace macconv
