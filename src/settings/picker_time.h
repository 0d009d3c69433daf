// The settings pages show times in date-time pickers with the formats
// "mm:ss" and "HH:mm". A picker holds a time of day, so a stored value that
// no time of day can show (only a hand-edited registry holds one) is shown
// as the nearest time the picker can hold.
#pragma once

#include <cstdint>
#include <string_view>

namespace pausora {

struct PickerTime {
    std::uint32_t hour = 0;    // 0-23
    std::uint32_t minute = 0;  // 0-59
    std::uint32_t second = 0;  // 0-59

    bool operator==(const PickerTime&) const = default;
};

// The largest values the two kinds of picker can give back.
inline constexpr std::uint32_t kMaxMinutesSeconds = 59 * 60 + 59;       // 59:59
inline constexpr std::uint32_t kMaxHoursMinutes = 23 * 3600 + 59 * 60;  // 23:59

// "mm:ss": seconds shown as minutes and seconds, hour 0; above 59:59, 59:59.
PickerTime MinutesSecondsTime(std::uint32_t seconds);
// Minutes and seconds back into seconds; the hour is ignored.
std::uint32_t MinutesSecondsValue(PickerTime time);

// "HH:mm": seconds shown as hours and minutes (any seconds part dropped);
// above 23:59, 23:59.
PickerTime HoursMinutesTime(std::uint32_t seconds);
std::uint32_t HoursMinutesValue(PickerTime time);

// A time of day kept as two values (the working day's start and end): each
// is held to its range on its own.
PickerTime ClockTime(std::uint32_t hours, std::uint32_t minutes);

// The name of a file: the text after the last backslash of its path, or the
// whole path when it has none.
std::string_view FileNameOf(std::string_view path);

}  // namespace pausora
