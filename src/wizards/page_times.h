// How the wizard's schedule pages show stored times in their time pickers and
// read them back. A picker shows a time of day, so a length of time in seconds
// is shown either as hours and minutes or as minutes and seconds.
#pragma once

#include <cstdint>
#include <string_view>

namespace pausora {

// A time of day as a picker shows it.
struct PickerTime {
    std::uint32_t hour = 0;
    std::uint32_t minute = 0;
    std::uint32_t second = 0;
    bool operator==(const PickerTime&) const = default;
};

enum class PickerFormat {
    kHoursMinutes,    // "HH:mm": seconds shown to the whole minute
    kMinutesSeconds,  // "mm:ss": less than an hour, to the second
};

// The picker's custom display format.
std::string_view FormatText(PickerFormat format);

// A length in seconds as the picker shows it. A length the picker cannot show
// (a day or more as "HH:mm", an hour or more as "mm:ss") shows as the longest
// it can: 23:59 or 59:59.
PickerTime ShowSeconds(PickerFormat format, std::uint32_t seconds);

// What the picker shows, back in seconds. "HH:mm" drops the seconds below a
// whole minute. `stored` is the value the page was given: one that the picker
// could not show comes back unchanged as long as the picker still shows what
// it was given for it, so merely paging through never shortens it.
std::uint32_t ReadSeconds(PickerFormat format, PickerTime shown, std::uint32_t stored);

// A clock time of the working day, stored as hours and minutes ("HH:mm").
// Out-of-range parts show as 23 and 59 and, the same way, survive unchanged.
PickerTime ShowClock(std::uint32_t hours, std::uint32_t minutes);
void ReadClock(PickerTime shown, std::uint32_t& hours, std::uint32_t& minutes);

}  // namespace pausora
