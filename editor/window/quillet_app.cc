#include "editor/window/quillet_app.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

#include "editor/window/main_window.h"
#include "platform/program_folder.h"

namespace editor::gui {

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

