// Points and rectangles in screen or client pixels, for code that must not
// see the system's POINT and RECT.
#pragma once

#include <cstdint>

namespace pausora {

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

}  // namespace pausora
