// The monitor the notification area is on, which is where the notices come
// out and whose scaling sizes them and the tray icon.
#pragma once

#include <windows.h>

namespace pausora {

// Dots per inch of the monitor that holds the notification area: where the
// system knows each monitor's scaling (Windows 8.1 and later), that
// monitor's, otherwise the screen's.
int NotificationAreaDpi();

// The side of the notification area's icons in pixels at `dpi`.
int NotificationIconSize(int dpi);

}  // namespace pausora
