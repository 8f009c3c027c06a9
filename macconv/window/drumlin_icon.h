// The converter's icon, painted: a suitcase of Mac data, an arrow and the
// text page it turns into, on a blue tile. macconv/desktop/drumlin.svg is the
// same drawing for the desktop.
#pragma once

#include <QIcon>

namespace drumlin {

QIcon DrumlinIcon();

}  // namespace drumlin
