// The date-time picker controls of the settings pages and the wizard: each
// set to a custom format and a time of day, and read back.
#pragma once

#include "ui/picker_time.h"

#include <windows.h>

#include <optional>

namespace pausora::ui {

void SetPicker(HWND picker, PickerFormat format, PickerTime time);
// Nothing when the picker holds no valid time.
std::optional<PickerTime> ReadPicker(HWND picker);

}  // namespace pausora::ui
