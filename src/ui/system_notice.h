// Windows tells only top-level windows about power, the clock, the system's
// settings, the display and the end of the session. The main window hides in
// the notification area as the child of an invisible owner, so it hears none
// of it itself: every top-level window of ours passes these notices on to it.
#pragma once

#include "ui/window.h"

namespace pausora::ui {

// Sends a system notice that reached `receiver` on to the application's main
// window, unless the receiver is that window. The main window hears the same
// notice once from each of our top-level windows, and must not mind. The
// answer is the main window's for WM_QUERYENDSESSION; for every other notice
// it is nothing, and the receiver goes on with its own handling.
Handled PassSystemNotice(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pausora::ui
