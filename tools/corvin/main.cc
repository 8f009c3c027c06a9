// corvin name.ini [u]: builds a new name table file from a profile file in
// the tool folder and the text files it names.
#include <string>
#include <vector>

#include "platform/program_start.h"
#include "shell/headless.h"
#include "tools/corvin/profile_to_name.h"
#include "tools/frame/tool_frame.h"

int main(int argc, char** argv) {
  tools::StdoutConsole console;
  std::vector<std::string> args = platform::ProgramArguments(argc, argv);
  int status = tools::RunCorvin(args, tools::ToolPlace{tools::ToolFolder(), ""}, console);
  return shell::CloseStandardStreams(status, tools::kExitFailure, "corvin");
}
