#include "editor/window/quillet_app.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "editor/window/main_window.h"
#include "platform/program_folder.h"

namespace editor::gui {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

bool HaveDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0) return true;
  if (IsSet("QT_QPA_PLATFORM")) {
    // A window that nobody can see waits for ever: count these platforms as none.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return !StartsWith(platform, "offscreen") && !StartsWith(platform, "minimal");
  }
#if defined(__unix__) && !defined(__APPLE__)
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

int RunQuilletWindow(int argc, char** argv, const std::string& settingsFolder, const char* headlessUsage) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("quillet");
  QApplication::setApplicationDisplayName("Quillet");
  QApplication::setDesktopFileName("quillet");
  QStringList arguments = QApplication::arguments();
  if (arguments.size() > 2) {
    std::fputs("usage: quillet [FONT]\n", stderr);
    std::fputs(headlessUsage, stderr);
    return 2;
  }

  WindowSetup setup;
  setup.settingsFolder = settingsFolder;
  setup.programPath = platform::ExecutablePath();
  MainWindow window(setup);
  window.show();
  if (arguments.size() == 2) window.OpenFont(QFile::encodeName(arguments[1]).toStdString());
  return application.exec();
}

}  // namespace editor::gui
