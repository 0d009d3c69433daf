#include "settings/picker_time.h"

#include <algorithm>

namespace pausora {

PickerTime MinutesSecondsTime(std::uint32_t seconds) {
    const std::uint32_t shown = std::min(seconds, kMaxMinutesSeconds);
    return {0, shown / 60, shown % 60};
}

std::uint32_t MinutesSecondsValue(PickerTime time) {
    return time.minute * 60 + time.second;
}

PickerTime HoursMinutesTime(std::uint32_t seconds) {
    const std::uint32_t shown = std::min(seconds, kMaxHoursMinutes);
    return {shown / 3600, shown / 60 % 60, 0};
}

std::uint32_t HoursMinutesValue(PickerTime time) {
    return time.hour * 3600 + time.minute * 60;
}

PickerTime ClockTime(std::uint32_t hours, std::uint32_t minutes) {
    return {std::min(hours, 23u), std::min(minutes, 59u), 0};
}

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace pausora
