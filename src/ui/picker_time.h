// How the settings pages and the first-run wizard show stored times in their
// time pickers and read them back. A picker shows a time of day, so a length
// of time in seconds is shown either as hours and minutes ("HH:mm") or as
// minutes and seconds ("mm:ss"); a clock time of the working day is kept as
// two values, hours and minutes.
#pragma once

#include <cstdint>
#include <string_view>

namespace pausora {

// A time of day as a picker shows it.
struct PickerTime {
    std::uint32_t hour = 0;    // 0-23
    std::uint32_t minute = 0;  // 0-59
    std::uint32_t second = 0;  // 0-59
    bool operator==(const PickerTime&) const = default;
};

enum class PickerFormat {
    kHoursMinutes,    // "HH:mm": seconds shown to the whole minute
    kMinutesSeconds,  // "mm:ss": less than an hour, to the second
};

// The picker's custom display format.
std::string_view FormatText(PickerFormat format);

// A length in seconds as the picker shows it. A length the picker cannot show
// (a day or more as "HH:mm", an hour or more as "mm:ss"; only a hand-edited
// registry holds one) shows as the longest it can: 23:59 or 59:59.
PickerTime ShowSeconds(PickerFormat format, std::uint32_t seconds);

// What the picker shows, back in seconds. "HH:mm" drops the seconds below a
// whole minute, "mm:ss" ignores the hour. `stored` is the value the picker
// was given: one that it could not show comes back unchanged as long as the
// picker still shows what it was given for it, so merely opening a page and
// leaving it never shortens a value.
std::uint32_t ReadSeconds(PickerFormat format, PickerTime shown, std::uint32_t stored);

// A clock time of the working day, stored as hours and minutes ("HH:mm").
// Each part is held to its range on its own (23, 59); parts out of range
// survive unchanged the same way until the user changes the time.
PickerTime ShowClock(std::uint32_t hours, std::uint32_t minutes);
void ReadClock(PickerTime shown, std::uint32_t& hours, std::uint32_t& minutes);

}  // namespace pausora
