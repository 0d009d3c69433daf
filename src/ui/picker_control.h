// The date-time picker controls of the settings pages and the wizard: each
// set to a custom format and a time of day, and read back.
#pragma once

#include "ui/picker_time.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace pausora::ui {

void SetPicker(HWND picker, PickerFormat format, PickerTime time);
// Nothing when the picker holds no valid time.
std::optional<PickerTime> ReadPicker(HWND picker);

// A picker of a page and the field of a record it shows: a length in seconds,
// or, with `minutes` set, the hours of a clock time and its minutes (shown as
// "HH:mm" whatever `format` says).
template <typename Record>
struct PickerBinding {
    int control;
    PickerFormat format;
    std::uint32_t Record::*value;
    std::uint32_t Record::*minutes = nullptr;
};

// Shows each bound field of `from` in its picker on `page`.
template <typename Record>
void ShowPickers(HWND page, const std::vector<PickerBinding<Record>>& pickers, const Record& from) {
    for (const PickerBinding<Record>& picker : pickers) {
        const std::uint32_t value = from.*picker.value;
        SetPicker(::GetDlgItem(page, picker.control), picker.format,
                  picker.minutes != nullptr ? ShowClock(value, from.*picker.minutes)
                                            : ShowSeconds(picker.format, value));
    }
}

// Writes what each picker on `page` shows into its field of `to`; a picker
// without a valid time leaves its field as it is.
template <typename Record>
void ReadPickers(HWND page, const std::vector<PickerBinding<Record>>& pickers, Record& to) {
    for (const PickerBinding<Record>& picker : pickers) {
        const std::optional<PickerTime> shown = ReadPicker(::GetDlgItem(page, picker.control));
        if (!shown) {
            continue;
        }
        if (picker.minutes != nullptr) {
            ReadClock(*shown, to.*picker.value, to.*picker.minutes);
        } else {
            to.*picker.value = ReadSeconds(picker.format, *shown, to.*picker.value);
        }
    }
}

}  // namespace pausora::ui
