// The window's place and size (macconv/session/window_place.h) under
// QSettings("Marlowby", "Drumlin").
#pragma once

#include "macconv/session/window_place.h"

namespace drumlin {

WindowPlace ReadWindowPlace();
void SaveWindowPlace(const WindowPlace& place);

}  // namespace drumlin
