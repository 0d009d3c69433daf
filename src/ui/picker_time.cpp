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
        if (!Showable(format, seconds)) {
            return {23, 59, 0};
        }
        return {seconds / 3600, seconds / 60 % 60, 0};
    }
    if (!Showable(format, seconds)) {
        return {0, 59, 59};
    }
    return {0, seconds / 60, seconds % 60};
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

PickerTime ShowValue(PickerFormat format, std::uint32_t first, const std::uint32_t* minutes) {
    return minutes != nullptr ? ShowClock(first, *minutes) : ShowSeconds(format, first);
}

void ReadValue(PickerFormat format, PickerTime shown, std::uint32_t& first,
               std::uint32_t* minutes) {
    if (minutes != nullptr) {
        ReadClock(shown, first, *minutes);
    } else {
        first = ReadSeconds(format, shown, first);
    }
}

}  // namespace pausora
