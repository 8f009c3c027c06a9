// Where the window stands and how big it is, kept between runs under
// QSettings("Marlowby", "Drumlin") as "X", "Y" (the window's top left corner,
// its frame included) and "nWidth", "nHeight" (its size).
#pragma once

namespace drumlin {

struct WindowPlace {
  int x = 0;
  int y = 0;
  int width = 160;
  int height = 100;
};

// A value that is missing or unreadable, or a size below one pixel, takes
// its default.
WindowPlace ReadWindowPlace();
void SaveWindowPlace(const WindowPlace& place);

}  // namespace drumlin
