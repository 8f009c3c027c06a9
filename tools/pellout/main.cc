// pellout filename.os_2: writes every field of an OS/2 table file into
// Pellout.ini in the tool folder.
#include <string>
#include <vector>

#include "platform/program_start.h"
#include "shell/headless.h"
#include "tools/frame/tool_frame.h"
#include "tools/pellout/os2_to_profile.h"

int main(int argc, char** argv) {
  tools::StdoutConsole console;
  std::vector<std::string> args = platform::ProgramArguments(argc, argv);
  int status = tools::RunPellout(args, tools::ToolPlace{tools::ToolFolder(), ""}, console);
  return shell::CloseStandardStreams(status, tools::kExitFailure, "pellout");
}
