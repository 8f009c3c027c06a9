// drumlin: the Mac font converter. With a headless option it runs that one
// command and ends; otherwise it opens its window (in a build with the
// window), which lives in a module loaded only then; on Windows the window is
// native and part of the program.
#include <cstdio>
#include <string>
#include <vector>

#include "macconv/headless/drumlin_headless.h"
#include "platform/program_start.h"
#include "platform/registry.h"
#include "shell/headless.h"

#ifdef DRUMLIN_WITH_WINDOW
#include "macconv/window/drumlin_app.h"
#include "shell/window_module.h"
#endif
#ifdef DRUMLIN_WITH_WIN32_WINDOW
#include "macconv/win32/drumlin_window_win32.h"
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args = platform::ProgramArguments(argc, argv);
#if defined(_WIN32)
  // Every start records the program's path, as the window does elsewhere.
  platform::registry::WriteText(platform::registry::kTolvaKey, "myself", args.at(0));
#endif
  args.erase(args.begin());
  shell::StreamMessages messages(stderr);
  std::optional<int> status = macconv::RunHeadless(args, messages);
  if (status && *status != shell::kExitUsage) return shell::CloseStandardStreams(*status, shell::kExitFailure, "drumlin");
#ifdef DRUMLIN_WITH_WINDOW
  if (!status) {
    std::string error;
    auto* window = shell::WindowEntryAs<DrumlinWindowEntry>("libdrumlin-window.so", DRUMLIN_MODULE_FOLDER,
                                                           "DrumlinWindowMain", &error);
    if (window) return window(argc, argv);
    std::fprintf(stderr, "drumlin: the window cannot be opened: %s\n", error.c_str());
  }
#endif
#ifdef DRUMLIN_WITH_WIN32_WINDOW
  if (!status) return drumlin::win32::RunDrumlinWindow();
#endif
  std::fputs(macconv::UsageText("drumlin").c_str(), stderr);
  return shell::kExitUsage;
}
