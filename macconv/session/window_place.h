// Where the converter's window stands and how big it is, kept between runs as
// "X", "Y" (the window's top left corner, its frame included) and "nWidth",
// "nHeight" (its size): in the registry key "Software\Marlowby\Drumlin" on
// Windows, with QSettings("Marlowby", "Drumlin") elsewhere.
#pragma once

#include <optional>

namespace drumlin {

struct WindowPlace {
  int x = 0;
  int y = 0;
  int width = 160;
  int height = 100;
};

// The place from the stored values: one that is missing or unreadable
// (nothing), or a size below one pixel, takes its default.
inline WindowPlace PlaceFromValues(std::optional<int> x, std::optional<int> y, std::optional<int> width,
                                   std::optional<int> height) {
  WindowPlace place;
  if (x) place.x = *x;
  if (y) place.y = *y;
  if (width && *width >= 1) place.width = *width;
  if (height && *height >= 1) place.height = *height;
  return place;
}

}  // namespace drumlin
