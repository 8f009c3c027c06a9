// pellin name.ini: builds a new OS/2 table file from a profile file in the
// tool folder.
#include <string>
#include <vector>

#include "platform/program_start.h"
#include "shell/headless.h"
#include "tools/frame/tool_frame.h"
#include "tools/pellin/profile_to_os2.h"

int main(int argc, char** argv) {
  tools::StdoutConsole console;
  std::vector<std::string> args = platform::ProgramArguments(argc, argv);
  int status = tools::RunPellin(args, tools::ToolPlace{tools::ToolFolder(), ""}, console);
  return shell::CloseStandardStreams(status, tools::kExitFailure, "pellin");
}
