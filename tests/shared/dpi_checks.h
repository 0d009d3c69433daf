// What the tests of scaling share: the scaling a test runs at, a window told
// that it moved to a monitor of another, and the sizes read back.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

namespace pausora::test {

// The screen's scaling (tests/win/at_dpi.sh sets it).
inline int ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// Another scaling to move to from `dpi`.
inline int OtherDpi(int dpi) {
    return dpi == 192 ? 120 : 192;
}

// Tells `window` it now stands on a monitor of `dpi`, with the system's
// suggestion of a rectangle grown in proportion; returns that rectangle.
// (Wine never moves a window between monitors itself.)
inline RECT MoveToDpi(HWND window, int from, int dpi) {
    RECT own{};
    ::GetWindowRect(window, &own);
    const RECT suggested{own.left + 10, own.top + 20,
                         own.left + 10 + ::MulDiv(own.right - own.left, dpi, from),
                         own.top + 20 + ::MulDiv(own.bottom - own.top, dpi, from)};
    ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

inline void ExpectWindowRect(HWND window, const RECT& expected) {
    RECT own{};
    ::GetWindowRect(window, &own);
    EXPECT_EQ(own.left, expected.left);
    EXPECT_EQ(own.top, expected.top);
    EXPECT_EQ(own.right, expected.right);
    EXPECT_EQ(own.bottom, expected.bottom);
}

// The height of the font a control draws with.
inline LONG FontHeight(HWND control) {
    LOGFONTA face{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)), sizeof face,
                 &face);
    return face.lfHeight;
}

// The height of the picture a bitmap static shows; 0 without one.
inline int StaticPictureHeight(HWND control) {
    BITMAP bitmap{};
    const auto picture =
        reinterpret_cast<HBITMAP>(::SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    return picture != nullptr && ::GetObjectA(picture, sizeof bitmap, &bitmap) != 0
               ? bitmap.bmHeight
               : 0;
}

// `dialogUnits` of `dialog`'s height in pixels.
inline int DialogUnitsHigh(HWND dialog, int dialogUnits) {
    RECT rect{0, 0, 0, dialogUnits};
    ::MapDialogRect(dialog, &rect);
    return rect.bottom;
}

}  // namespace pausora::test
