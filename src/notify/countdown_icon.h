// The minutes to the next break as an icon of the notification area: white
// bold digits on a rounded plate in the program's green, edged in white so
// that it stands out on a dark taskbar as well as on a light one.
#pragma once

#include "ui/handles.h"

namespace pausora {

// An icon of `size` pixels square showing `minutes` (1 to 99); null when the
// system refuses the drawing.
ui::IconHandle DrawCountdownIcon(unsigned minutes, int size);

}  // namespace pausora
