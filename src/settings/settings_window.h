// The settings window as the main window's Settings command opens it.
#pragma once

#include "store/time_settings.h"

#include <windows.h>

#include <functional>

namespace pausora {

// Shows the settings window over `parent` until OK or Cancel. The pages edit a
// copy of `current`; every Apply or OK that some page took part in hands the
// whole edited record to `applied`, once.
void ShowSettingsWindow(HWND parent, const STimeSettings& current,
                        const std::function<void(const STimeSettings&)>& applied,
                        UINT startPage = 0);

}  // namespace pausora
