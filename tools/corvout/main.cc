// corvout filename.name [u]: writes a name table's records into Corvout.ini
// in the tool folder and every string into 000.txt, 001.txt, ... here.
#include <string>
#include <vector>

#include "platform/program_start.h"
#include "shell/headless.h"
#include "tools/corvout/name_to_profile.h"
#include "tools/frame/tool_frame.h"

int main(int argc, char** argv) {
  tools::StdoutConsole console;
  std::vector<std::string> args = platform::ProgramArguments(argc, argv);
  int status = tools::RunCorvout(args, tools::ToolPlace{tools::ToolFolder(), ""}, console);
  return shell::CloseStandardStreams(status, tools::kExitFailure, "corvout");
}
