// libdrumlin-window.so: the window as a module that drumlin loads only when
// it opens its window.
#include "macconv/window/drumlin_app.h"

extern "C" __attribute__((visibility("default"))) int DrumlinWindowMain(int argc, char** argv) {
  return drumlin::RunDrumlinWindow(argc, argv);
}
