// libquillet-window.so: the window as a module that quillet loads only when
// it opens its window.
#include "editor/window/quillet_app.h"

extern "C" __attribute__((visibility("default"))) int QuilletWindowMain(int argc, char** argv,
                                                                       const char* settingsFolder,
                                                                       const char* headlessUsage) {
  return editor::gui::RunQuilletWindow(argc, argv, settingsFolder, headlessUsage);
}
