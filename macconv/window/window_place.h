// The window's place and size (macconv/window_place.h) under
// QSettings("Marlowby", "Drumlin").
#pragma once

#include "macconv/window_place.h"

namespace drumlin {

WindowPlace ReadWindowPlace();
void SaveWindowPlace(const WindowPlace& place);

}  // namespace drumlin
