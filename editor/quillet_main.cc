// quillet: the table editor. With a headless option it runs that command
// and ends; otherwise it opens its window (`quillet FONT` analyses FONT at
// once), which lives in a module loaded only then. A build without the
// window, or a start without a display, knows only the headless commands.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "editor/headless/quillet_headless.h"
#include "platform/program_folder.h"
#include "platform/program_start.h"
#include "platform/registry.h"
#include "platform/text_locale.h"
#include "shell/headless.h"
#if defined(_WIN32)
#include "editor/win32/quillet_window.h"
#endif
#if defined(QUILLET_WITH_WINDOW)
#include "editor/window/quillet_app.h"
#include "shell/window_module.h"
#endif

int main(int argc, char** argv) {
  std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
#if defined(_WIN32)
  // Every start records the program's path, as the window does elsewhere.
  platform::registry::WriteText(platform::registry::kQuilletKey, "myself", arguments.at(0));
#endif
  arguments.erase(arguments.begin());
  std::optional<int> status = editor::RunHeadless(arguments, platform::SettingsFolder(), stdout, stderr,
                                                  editor::kChecksumLibraryName, platform::LocaleIsUtf8());
  if (status) return shell::CloseStandardStreams(*status, shell::kExitFailure, "quillet");
#if defined(_WIN32)
  // The native window; `quillet FONT` analyses FONT at once.
  if (arguments.size() <= 1) {
    int window = editor::win32::RunQuilletWindow(platform::SettingsFolder(), arguments.empty() ? "" : arguments[0]);
    if (window >= 0) return window;
    std::fputs("quillet: no display for the window; the commands without it:\n", stderr);
  }
#elif defined(QUILLET_WITH_WINDOW)
  if (shell::HaveDisplay(argc, argv)) {
    std::string error;
    auto* window = shell::WindowEntryAs<QuilletWindowEntry>("libquillet-window.so", "", "QuilletWindowMain", &error);
    if (window) return window(argc, argv, platform::SettingsFolder().c_str(), editor::HeadlessUsage());
    std::fprintf(stderr, "quillet: the window cannot be opened: %s\n", error.c_str());
  } else {
    std::fputs("quillet: no display for the window; the commands without it:\n", stderr);
  }
#endif
  std::fputs(editor::HeadlessUsage(), stderr);
  return shell::kExitUsage;
}
