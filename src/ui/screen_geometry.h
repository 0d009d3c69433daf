// Points and rectangles in screen or client pixels, and lengths scaled by the
// display's DPI, for code that must not see the system's POINT and RECT.
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
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    bool operator==(const ScreenRect&) const = default;
};

// Dots per inch at 100 %: every fixed size in the program is given at it.
inline constexpr std::int32_t kBaseDpi = 96;

// `value` * `numerator` / `denominator` rounded to the nearest whole number,
// halves away from zero, as the system's MulDiv rounds.
constexpr std::int32_t MulDivRounded(std::int32_t value, std::int32_t numerator,
                                     std::int32_t denominator) {
    const std::int64_t product = std::int64_t{value} * numerator;
    const std::int64_t magnitude =
        ((product < 0 ? -product : product) * 2 + denominator) / (2 * std::int64_t{denominator});
    return static_cast<std::int32_t>(product < 0 ? -magnitude : magnitude);
}

// A length given at 96 dots per inch, at `dpi`.
constexpr std::int32_t ScaleLength(std::int32_t length, std::int32_t dpi) {
    return MulDivRounded(length, dpi, kBaseDpi);
}

// Each edge on its own, so that neighbouring rectangles stay neighbours.
constexpr ScreenRect ScaleRect(const ScreenRect& rect, std::int32_t dpi) {
    return {ScaleLength(rect.left, dpi), ScaleLength(rect.top, dpi), ScaleLength(rect.right, dpi),
            ScaleLength(rect.bottom, dpi)};
}

}  // namespace pausora
