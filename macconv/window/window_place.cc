#include "macconv/window/window_place.h"

#include <QSettings>

#include <climits>

namespace drumlin {
namespace {

int ReadInt(const QSettings& settings, const char* key, int fallback, int least) {
  bool ok = false;
  int value = settings.value(key).toInt(&ok);
  return ok && value >= least ? value : fallback;
}

}  // namespace

WindowPlace ReadWindowPlace() {
  QSettings settings("Marlowby", "Drumlin");
  WindowPlace defaults;
  WindowPlace place;
  place.x = ReadInt(settings, "X", defaults.x, INT_MIN);
  place.y = ReadInt(settings, "Y", defaults.y, INT_MIN);
  place.width = ReadInt(settings, "nWidth", defaults.width, 1);
  place.height = ReadInt(settings, "nHeight", defaults.height, 1);
  return place;
}

void SaveWindowPlace(const WindowPlace& place) {
  QSettings settings("Marlowby", "Drumlin");
  settings.setValue("X", place.x);
  settings.setValue("Y", place.y);
  settings.setValue("nWidth", place.width);
  settings.setValue("nHeight", place.height);
}

}  // namespace drumlin
