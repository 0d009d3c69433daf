// The settings window as the main window's Settings command opens it.
#pragma once

#include "store/settings_change.h"
#include "store/settings_policy.h"
#include "store/time_settings.h"

#include <windows.h>

#include <functional>

namespace pausora {

// What the user changed since the window opened or last applied, and the
// window, over which the change may show a message.
using SettingsApplied = std::function<void(const SettingsChange& change, HWND window)>;

// Shows the settings window over `parent` until OK or Cancel. The pages edit a
// copy of `current`; every Apply or OK that some page took part in hands the
// values the user changed to `applied`, once. A control whose value `policy`
// sets is shown greyed.
void ShowSettingsWindow(HWND parent, const STimeSettings& current, const SettingsApplied& applied,
                        UINT startPage = 0, const SettingsPolicy& policy = SettingsPolicy{});

}  // namespace pausora
