#include "ui/picker_control.h"
#include "ui/utf.h"

#include <commctrl.h>

#include <string>

namespace pausora::ui {

// A picker holds a full date; ours is always 1 January 1990 (a Monday), of
// which only the time of day counts.
void SetPicker(HWND picker, PickerFormat format, PickerTime time) {
    const std::wstring pattern = Widen(FormatText(format));
    ::SendMessage(picker, DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>(pattern.c_str()));
    SYSTEMTIME value{};
    value.wYear = 1990;
    value.wMonth = 1;
    value.wDay = 1;
    value.wDayOfWeek = 1;
    value.wHour = static_cast<WORD>(time.hour);
    value.wMinute = static_cast<WORD>(time.minute);
    value.wSecond = static_cast<WORD>(time.second);
    ::SendMessage(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

std::optional<PickerTime> ReadPicker(HWND picker) {
    SYSTEMTIME value{};
    if (::SendMessage(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) !=
        GDT_VALID) {
        return std::nullopt;
    }
    return PickerTime{value.wHour, value.wMinute, value.wSecond};
}

}  // namespace pausora::ui
