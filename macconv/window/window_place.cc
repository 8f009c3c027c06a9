#include "macconv/window/window_place.h"

#include <QSettings>

namespace drumlin {
namespace {

std::optional<int> ReadInt(const QSettings& settings, const char* key) {
  bool ok = false;
  int value = settings.value(key).toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

WindowPlace ReadWindowPlace() {
  QSettings settings("Marlowby", "Drumlin");
  return PlaceFromValues(ReadInt(settings, "X"), ReadInt(settings, "Y"), ReadInt(settings, "nWidth"),
                         ReadInt(settings, "nHeight"));
}

void SaveWindowPlace(const WindowPlace& place) {
  QSettings settings("Marlowby", "Drumlin");
  settings.setValue("X", place.x);
  settings.setValue("Y", place.y);
  settings.setValue("nWidth", place.width);
  settings.setValue("nHeight", place.height);
}

}  // namespace drumlin
