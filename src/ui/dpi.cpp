#include "ui/dpi.h"

#include "ui/window.h"

namespace pausora::ui {

int ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int ScaleToScreen(int pixels) {
    return ::MulDiv(pixels, ScreenDpi(), 96);
}

BitmapHandle LoadBitmapOfHeight(UINT id, int height) {
    BitmapHandle bitmap(static_cast<HBITMAP>(
        ::LoadImage(ModuleInstance(), MAKEINTRESOURCE(id), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP own{};
    if (!bitmap || ::GetObject(bitmap.get(), sizeof own, &own) == 0 || own.bmHeight <= 0 ||
        height <= 0 || (own.bmHeight - height <= 2 && height - own.bmHeight <= 2)) {
        return bitmap;
    }
    const int width = ::MulDiv(own.bmWidth, height, own.bmHeight);
    BitmapHandle sized(static_cast<HBITMAP>(
        ::LoadImage(ModuleInstance(), MAKEINTRESOURCE(id), IMAGE_BITMAP, width, height, 0)));
    return sized ? std::move(sized) : std::move(bitmap);
}

SIZE DialogUnitsToPixels(HWND dialog, int width, int height) {
    RECT rect{0, 0, width, height};
    ::MapDialogRect(dialog, &rect);
    return {rect.right, rect.bottom};
}

}  // namespace pausora::ui
