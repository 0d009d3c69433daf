#include "ui/picker_time.h"

#include <algorithm>

namespace pausora {

namespace {

constexpr std::uint32_t kDay = 24 * 3600;
constexpr std::uint32_t kHour = 3600;

bool Showable(PickerFormat format, std::uint32_t seconds) {
    return seconds < (format == PickerFormat::kHoursMinutes ? kDay : kHour);
}

}  // namespace

std::string_view FormatText(PickerFormat format) {
    return format == PickerFormat::kHoursMinutes ? "HH:mm" : "mm:ss";
}

PickerTime ShowSeconds(PickerFormat format, std::uint32_t seconds) {
    if (format == PickerFormat::kHoursMinutes) {
        return Showable(format, seconds) ? PickerTime{seconds / 3600, seconds / 60 % 60, 0}
                                         : PickerTime{23, 59, 0};
    }
    return Showable(format, seconds) ? PickerTime{0, seconds / 60, seconds % 60}
                                     : PickerTime{0, 59, 59};
}

std::uint32_t ReadSeconds(PickerFormat format, PickerTime shown, std::uint32_t stored) {
    if (!Showable(format, stored) && shown == ShowSeconds(format, stored)) {
        return stored;
    }
    if (format == PickerFormat::kHoursMinutes) {
        return shown.hour * 3600 + shown.minute * 60;
    }
    return shown.minute * 60 + shown.second;
}

PickerTime ShowClock(std::uint32_t hours, std::uint32_t minutes) {
    return {std::min<std::uint32_t>(hours, 23), std::min<std::uint32_t>(minutes, 59), 0};
}

void ReadClock(PickerTime shown, std::uint32_t& hours, std::uint32_t& minutes) {
    const bool showable = hours <= 23 && minutes <= 59;
    if (!showable && shown == ShowClock(hours, minutes)) {
        return;
    }
    hours = shown.hour;
    minutes = shown.minute;
}

}  // namespace pausora
