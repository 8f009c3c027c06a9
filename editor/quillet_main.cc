// quillet: the table editor. For now only its headless commands; without
// one it prints its usage.
#include <cstdio>
#include <string>
#include <vector>

#include "editor/headless.h"
#include "platform/program_folder.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty() || !editor::IsHeadlessOption(arguments[0])) {
    std::fputs(editor::HeadlessUsage(), stderr);
    return editor::kExitUsage;
  }
  return editor::RunHeadless(arguments, platform::SettingsFolder(), stdout, stderr);
}
