// The settings window as the main window's Settings command opens it.
#pragma once

#include "store/time_settings.h"

#include <windows.h>

namespace pausora {

// Shows the settings window over `parent` until OK or Cancel. The pages
// write into `settings` when they apply and then send WM_SETTINGS_CHANGED
// to the application's main window.
void ShowSettingsWindow(HWND parent, STimeSettings& settings, UINT startPage = 0);

}  // namespace pausora
