#include "store/locale_formats.h"

#include <cstdio>

namespace pausora {

namespace {

std::string ZeroPadded(std::uint32_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*u", width, value);
    return text;
}

}  // namespace

LocaleFormats::LocaleFormats()
    : timeOfDay([](std::uint32_t hour, std::uint32_t minute) {
          return ZeroPadded(hour, 2) + ":" + ZeroPadded(minute, 2);
      }),
      date([](std::int32_t year, std::uint32_t month, std::uint32_t day) {
          return std::to_string(year) + "-" + ZeroPadded(month, 2) + "-" + ZeroPadded(day, 2);
      }),
      number([](std::uint64_t value) { return std::to_string(value); }) {}

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace pausora
